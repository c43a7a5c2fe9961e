// The directory dialogs on a temporary drive: MakeDirectoryTree and
// CurrentDirWithSeparator, the create flow from "&New...", and the
// Win95 list's own glyphs.
#include "dir_support.h"

#include "toolkit/graphics/bitmap.h"
#include "widgets/DODDirCr.h"
#include "widgets/DODDirSe.h"

#include <string>

namespace wt::test {
namespace {

class MakeTreeTest : public DriveTest {};

TEST_F(MakeTreeTest, CreatesWhatIsMissingAndStopsWhereItMust) {
    Make(QStringLiteral("there"));
    const struct {
        const char* name;
        QString path;        // given to MakeDirectoryTree
        const char* created; // relative to the drive, "" for nothing new
    } cases[] = {
        {"three missing levels", Path(QStringLiteral("a/b/c")), "a/b/c"},
        {"an existing directory", Path(QStringLiteral("there")), "there"},
        {"a relative path", QStringLiteral("rel/sub"), "rel/sub"},
        {"a trailing separator", Path(QStringLiteral("t/")), "t"},
        {"its own directory part", Path(QStringLiteral("own//")), "own"},
        {"doubled separators inside", Path(QStringLiteral("x//y")), "x/y"},
        {"two characters", QStringLiteral("ab"), "ab"},
    };
    for (const auto& c : cases) {
        MakeDirectoryTree(c.path);
        EXPECT_TRUE(Exists(QString::fromLatin1(c.created))) << c.name;
    }
    EXPECT_EQ(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 7);
}

TEST_F(MakeTreeTest, UnusablePathsCreateNothing) {
    const QString nul = Path(QStringLiteral("cut")) + QChar(u'\0') + QStringLiteral("rest");
    const QString tooLong = Path(QStringLiteral("long/")) + QString(5000, u'x');
    for (const QString& path : {QString(), QStringLiteral("/"), nul, tooLong})
        MakeDirectoryTree(path);
    EXPECT_TRUE(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(MakeTreeTest, CurrentDirWithSeparatorEndsInExactlyOne) {
    EXPECT_EQ(CurrentDirWithSeparator(), root + u'/');
    Enter(QStringLiteral("/"));
    EXPECT_EQ(CurrentDirWithSeparator(), QStringLiteral("/"));
}

class CreateFlowTest : public DriveTest {
protected:
    struct Seen {
        QString Edit, Label;
    };
    // Clicks "&New..." and answers the create dialog: nullptr cancels.
    Seen CreateThrough(TDirectorySelectForm& form, const QString* entry) {
        Seen seen;
        WhenModal<TCreateDirectoryForm>([&seen, entry](TCreateDirectoryForm& create) {
            seen = {create.DirectoryToCreateEdit->Text(), create.CurrentDirectoryLabel->Caption()};
            if (!entry) {
                create.CancelButton->Click();
                return;
            }
            create.DirectoryToCreateEdit->SetText(*entry);
            create.OKButton->Click();
        });
        form.CreateDirectoryButtonClick(form.CreateDirectoryButton);
        return seen;
    }
};

TEST_F(CreateFlowTest, TheEditEndsInTheSeparatorAndTheLabelOnlyAtTheRoot) {
    Enter(Make(QStringLiteral("Sounds")));
    TDirectorySelectForm below;
    const Seen inSounds = CreateThrough(below, nullptr);
    EXPECT_EQ(inSounds.Edit, Path(QStringLiteral("Sounds/")));
    EXPECT_EQ(inSounds.Label, Path(QStringLiteral("Sounds")));

    Enter(QStringLiteral("/"));
    TDirectorySelectForm atRoot;
    const Seen inRoot = CreateThrough(atRoot, nullptr);
    EXPECT_EQ(inRoot.Edit, QStringLiteral("/"));
    EXPECT_EQ(inRoot.Label, QStringLiteral("/"));
}

TEST_F(CreateFlowTest, CancelCreatesNothingAndLeavesTheList) {
    TDirectorySelectForm form;
    const QStringList before = form.DirectoryListBox->Items();
    CreateThrough(form, nullptr);
    EXPECT_TRUE(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_EQ(form.DirectoryListBox->Items(), before);
    EXPECT_EQ(Current(), root);
}

TEST_F(CreateFlowTest, OkCreatesEveryLevelAndEntersTheDeepest) {
    TDirectorySelectForm form;
    const QString entry = Path(QStringLiteral("one/two/three"));
    CreateThrough(form, &entry);
    EXPECT_TRUE(Exists(QStringLiteral("one/two/three")));
    EXPECT_EQ(form.DirectoryListBox->Directory(), entry);
    EXPECT_EQ(Current(), entry);
    EXPECT_EQ(form.DirectoryShadowLabel->Caption().section(u'/', -1), QStringLiteral("three"));
}

TEST_F(CreateFlowTest, APathOnAnotherDriveSwitchesTheDriveSelector) {
    QTemporaryDir other;
    Sim().SetMountPoints({"/", root.toStdString(), other.path().toStdString()});
    TDirectorySelectForm form;
    EXPECT_EQ(form.DriveComboBox->Drive(), root);
    const QString entry = other.path() + QStringLiteral("/new");
    CreateThrough(form, &entry);
    EXPECT_TRUE(QDir(entry).exists());
    EXPECT_EQ(form.DirectoryListBox->Directory(), entry);
    EXPECT_EQ(form.DriveComboBox->Drive(), other.path());
}

TEST_F(CreateFlowTest, ADirectoryThatCouldNotBeMadeFailsAndTheListStays) {
    QFile file(Path(QStringLiteral("plain")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    TDirectorySelectForm form;
    const QString entry = Path(QStringLiteral("plain/sub"));
    EXPECT_THROW(CreateThrough(form, &entry), EInOutError);
    EXPECT_EQ(form.DirectoryListBox->Directory(), root);
    for (TForm* f : Application()->Forms()) // the create dialog went with the failure
        EXPECT_EQ(dynamic_cast<TCreateDirectoryForm*>(f), nullptr);
}

TEST_F(CreateFlowTest, AnEmptyEntryClosesAndChangesNothing) {
    TDirectorySelectForm form;
    const QString entry;
    CreateThrough(form, &entry);
    EXPECT_EQ(form.DirectoryListBox->Directory(), root);
}

TEST_F(DriveTest, TheWin95ListDrawsTheProgramsOwnGlyphs) {
    TCDKWin95DirListBox list;
    const std::pair<TFolderRole, const char*> glyphs[] = {
        {TDirectoryListBox::frOpen, "WIN95DIRLISTBOX_OPEN_FOLDER"},
        {TDirectoryListBox::frClosed, "WIN95DIRLISTBOX_CLOSED_FOLDER"},
        {TDirectoryListBox::frCurrent, "WIN95DIRLISTBOX_CURRENT_FOLDER"}};
    for (const auto& [role, name] : glyphs) {
        const TBitmap& glyph = list.Glyph(role);
        TBitmap resource;
        resource.LoadFromResourceName(QString::fromLatin1(name));
        EXPECT_EQ(glyph.Image().convertToFormat(QImage::Format_RGB32),
                  resource.Image().convertToFormat(QImage::Format_RGB32))
            << name;
        EXPECT_EQ(glyph.Width(), 16);
        EXPECT_EQ(glyph.Height(), 15);
        EXPECT_TRUE(glyph.Transparent());
        EXPECT_EQ(glyph.TransparentColor(), clFuchsia) << name; // the bottom-left pixel
    }
}

} // namespace
} // namespace wt::test
