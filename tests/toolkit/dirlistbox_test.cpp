// The directory list and the drive selector on the simulated desktop, in a
// temporary directory standing for a drive: entries and their glyph roles,
// the order of names, entering and failing to enter, the linked drive
// selector and label; and a file dropped on an edit.
#include "form_support.h"

#include "toolkit/controls/dirlistbox.h"
#include "toolkit/controls/drivecombo.h"
#include "toolkit/controls/edit.h"
#include "toolkit/forms/application.h"
#include "toolkit/forms/form.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <filesystem>

namespace wt::test {
namespace {

using Role = TDirectoryListBox::TFolderRole;

class DirListTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        root = drive.path();
        Sim().SetMountPoints({"/", root.toStdString()});
        Enter(root);
    }
    void Enter(const QString& dir) { ASSERT_TRUE(Sim().SetCurrentDirectory(dir.toStdString())); }
    QString Make(const QString& relative) {
        const QString path = root + u'/' + relative;
        QDir().mkpath(path);
        return path;
    }
    static QStringList Names(const TDirectoryListBox& list) { return list.Items(); }
    static std::vector<Role> Roles(const TDirectoryListBox& list) {
        std::vector<Role> roles;
        for (const auto& e : list.Entries())
            roles.push_back(e.Role);
        return roles;
    }
    QTemporaryDir drive;
    QString root;
};

TEST_F(DirListTest, AtADriveRootTheRootIsCurrentAndItsSubdirectoriesClosed) {
    Make(QStringLiteral("Sounds"));
    Make(QStringLiteral("Backup"));
    TDirectoryListBox list;
    EXPECT_EQ(list.Directory(), root);
    EXPECT_EQ(list.Drive(), root);
    EXPECT_EQ(Names(list), (QStringList{root, QStringLiteral("Backup"), QStringLiteral("Sounds")}));
    EXPECT_EQ(Roles(list),
              (std::vector<Role>{TDirectoryListBox::frCurrent, TDirectoryListBox::frClosed,
                                 TDirectoryListBox::frClosed}));
    EXPECT_EQ(list.Entries()[1].Level, 1);
}

TEST_F(DirListTest, ThreeLevelsDownTheLevelsAreOpenAndTheDeepestCurrent) {
    Make(QStringLiteral("A/B/C/x"));
    Enter(root + QStringLiteral("/A/B/C"));
    TDirectoryListBox list;
    EXPECT_EQ(Names(list), (QStringList{root, QStringLiteral("A"), QStringLiteral("B"),
                                        QStringLiteral("C"), QStringLiteral("x")}));
    EXPECT_EQ(Roles(list),
              (std::vector<Role>{TDirectoryListBox::frOpen, TDirectoryListBox::frOpen,
                                 TDirectoryListBox::frOpen, TDirectoryListBox::frCurrent,
                                 TDirectoryListBox::frClosed}));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list.Entries()[static_cast<std::size_t>(i)].Level, i);
    EXPECT_EQ(list.Entries()[2].Path, root + QStringLiteral("/A/B"));
    EXPECT_EQ(list.ItemIndex(), 3); // the current directory is the one marked
}

TEST_F(DirListTest, NamesSortAsAFileManagerSortsThem) {
    const struct {
        const char* first;
        const char* second;
    } cases[] = {
        {"apple", "Banana"},   // case does not count
        {"Take 2", "take 10"}, // numbers by value
        {"a", "a0"},           // the shorter name first
        {"007", "7a"},         // leading zeros
        {"1", "a"},            // numbers before letters
        {"Same", "same"},      // equal but for case: still one order
    };
    for (const auto& c : cases) {
        const QString a = QString::fromLatin1(c.first), b = QString::fromLatin1(c.second);
        EXPECT_TRUE(TDirectoryListBox::NameLess(a, b)) << c.first << " < " << c.second;
        EXPECT_FALSE(TDirectoryListBox::NameLess(b, a)) << c.second << " > " << c.first;
    }
}

TEST_F(DirListTest, FilesAndHiddenDirectoriesAreNotListed) {
    Make(QStringLiteral(".cache"));
    Make(QStringLiteral("Shown"));
    QFile file(root + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    TDirectoryListBox list;
    EXPECT_EQ(Names(list), (QStringList{root, QStringLiteral("Shown")}));
}

TEST_F(DirListTest, OpeningAnEntryEntersItAndTheLabelFollows) {
    Make(QStringLiteral("Sounds/In"));
    TForm form;
    form.SetClientSize(800, 300);
    auto* list = new TDirectoryListBox(&form);
    list->SetParent(&form);
    list->SetWidth(780); // the label sizes itself: the list's width counts
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    list->SetDirLabel(label);
    list->OpenEntry(1);
    EXPECT_EQ(list->Directory(), root + QStringLiteral("/Sounds"));
    EXPECT_EQ(QString::fromStdString(Sim().GetCurrentDirectory()),
              root + QStringLiteral("/Sounds"));
    EXPECT_EQ(label->Caption(), root + QStringLiteral("/Sounds"));
    list->SetDirectory(QStringLiteral("In")); // relative to the current directory
    EXPECT_EQ(list->Directory(), root + QStringLiteral("/Sounds/In"));
    list->SetDirectory(QString()); // ignored
    EXPECT_EQ(list->Directory(), root + QStringLiteral("/Sounds/In"));
}

TEST_F(DirListTest, ALabelTooNarrowShowsTheEndOfThePath) {
    const QString deep = Make(QStringLiteral("first folder/second folder/third folder"));
    Enter(deep);
    TForm form;
    form.SetClientSize(400, 100);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 120, 16);
    TDirectoryListBox list(&form);
    list.SetDirLabel(label);
    EXPECT_TRUE(label->Caption().startsWith(QStringLiteral("/.../")))
        << label->Caption().toStdString();
    EXPECT_TRUE(label->Caption().endsWith(QStringLiteral("third folder")));
    label->SetWidth(2000);
    list.SetDirLabel(label);
    EXPECT_EQ(label->Caption(), deep);
}

TEST_F(DirListTest, ADirectoryThatCannotBeEnteredFailsAndChangesNothing) {
    const QString locked = Make(QStringLiteral("Locked"));
    std::filesystem::permissions(locked.toStdString(), std::filesystem::perms::none);
    TDirectoryListBox list;
    ASSERT_EQ(list.Count(), 2); // shown all the same
    try {
        list.OpenEntry(1);
        ADD_FAILURE() << "entered a locked directory";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), EACCES);
    }
    EXPECT_THROW(list.SetDirectory(root + QStringLiteral("/missing")), EInOutError);
    EXPECT_EQ(list.Directory(), root);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(QString::fromStdString(Sim().GetCurrentDirectory()), root);
    std::filesystem::permissions(locked.toStdString(), std::filesystem::perms::owner_all);
}

TEST_F(DirListTest, ADoubleClickThatFailsGoesToTheErrorReport) {
    const QString locked = Make(QStringLiteral("Locked"));
    std::filesystem::permissions(locked.toStdString(), std::filesystem::perms::none);
    QString reported;
    Application()->OnException = [&](TObject*, const std::exception& e) {
        reported = QString::fromUtf8(e.what());
    };
    TForm form;
    auto* list = new TDirectoryListBox(&form);
    list->SetParent(&form);
    form.SetClientSize(200, 150);
    list->SetBounds(0, 0, 200, 150);
    form.Show();
    auto* widget = qobject_cast<QListWidget*>(list->Widget());
    ASSERT_NE(widget, nullptr);
    widget->setCurrentRow(1);
    emit widget->itemDoubleClicked(widget->item(1)); // what Qt reports of a double-click
    Application()->OnException.Clear();
    std::filesystem::permissions(locked.toStdString(), std::filesystem::perms::owner_all);
    EXPECT_TRUE(reported.contains(QStringLiteral("I/O error"))) << reported.toStdString();
    EXPECT_EQ(list->Directory(), root);
}

TEST_F(DirListTest, TheDriveSelectorAndTheListFollowEachOther) {
    QTemporaryDir other;
    Sim().SetMountPoints({"/", root.toStdString(), other.path().toStdString()});
    QDir().mkpath(other.path() + QStringLiteral("/Music"));
    TDirectoryListBox list;
    TDriveComboBox drives;
    drives.SetDirList(&list);
    EXPECT_EQ(drives.Drive(), root);
    list.SetDirectory(other.path() + QStringLiteral("/Music"));
    EXPECT_EQ(drives.Drive(), other.path());
    drives.SetDrive(root);
    EXPECT_EQ(list.Directory(), root);
    EXPECT_EQ(drives.Items(), (QStringList{QStringLiteral("/"), root, other.path()}));
}

TEST_F(DirListTest, TheGlyphsBottomLeftColourShowsThrough) {
    TDirectoryListBox list;
    list.SetColor(clRed);
    TBitmap row(80, 16);
    list.PaintItem(0, row.Canvas(), {0, 0, 80, 16}, {});
    const QImage image = row.Image();
    const QRgb key = list.Glyph(TDirectoryListBox::frCurrent).Image().pixel(0, 14);
    int glyphPixels = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 18; ++x) {
            EXPECT_NE(image.pixel(x, y) & 0xFFFFFF, key & 0xFFFFFF) << x << "," << y;
            glyphPixels += (image.pixel(x, y) & 0xFFFFFF) != 0xFF0000;
        }
    EXPECT_GT(glyphPixels, 40); // the folder itself is drawn
}

class EditDropTest : public FormTest {};

void Drag(QWidget* widget, const QString& file, bool& accepted, bool drop) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    accepted = enter.isAccepted();
    if (drop && accepted) {
        QDropEvent dropped(QPointF(6, 7), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &dropped);
    }
}

TEST_F(EditDropTest, ADroppedFilePutsItsPathIntoTheText) {
    TForm form;
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    QStringList dropped;
    int dropX = -1;
    edit->OnDragDrop = [&](TObject* sender, TObject* source, int x, int) {
        EXPECT_EQ(sender, edit);
        dropped = dynamic_cast<TDragObject*>(source)->Files();
        dropX = x;
    };
    bool accepted = false;
    Drag(edit->Widget(), QStringLiteral("/music/in.wav"), accepted, true);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(edit->Text(), QStringLiteral("/music/in.wav"));
    EXPECT_EQ(dropped, QStringList{QStringLiteral("/music/in.wav")});
    EXPECT_EQ(dropX, 6);
}

TEST_F(EditDropTest, ADragOverHandlerCanRefuseTheDrop) {
    TForm form;
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    TDragState seen = dsDragLeave;
    edit->OnDragOver = [&](TObject*, TObject*, int, int, TDragState state, bool& accept) {
        seen = state;
        accept = false;
    };
    bool accepted = true;
    Drag(edit->Widget(), QStringLiteral("/music/in.wav"), accepted, false);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(seen, dsDragEnter);
    EXPECT_TRUE(edit->Text().isEmpty());
}

} // namespace
} // namespace wt::test
