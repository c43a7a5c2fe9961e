// TCDKPathEditor: its layout, the settings it passes on to the edit and
// the dialog, glyphs, smart show, the forwarded events, and each browse
// style with the dialog driven by the test, on a temporary drive.
#include "dir_support.h"

#include "toolkit/core/writer.h"
#include "widgets/DODDirSe.h"
#include "widgets/DODPathE.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QMimeData>
#include <QUrl>

namespace wt::test {
namespace {

class PathEditorTest : public DriveTest {
protected:
    void SetUp() override {
        DriveTest::SetUp();
        form = std::make_unique<TForm>();
        form->SetClientSize(400, 200);
        editor = new TCDKPathEditor(form.get());
        editor->SetParent(form.get());
        editor->OnDialogDrop = [this](TObject* sender) {
            EXPECT_EQ(sender, editor);
            ++drops;
        };
    }
    void TearDown() override {
        TOpenDialog::WhileShown = nullptr;
        form.reset();
        DriveTest::TearDown();
    }
    QString MakeFile(const QString& relative) {
        QFile f(Path(relative));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return Path(relative);
    }
    static QImage Rgb(const TBitmap& b) { return b.Image().convertToFormat(QImage::Format_RGB32); }
    static QImage Resource(const char* name) {
        TBitmap b;
        b.LoadFromResourceName(QString::fromLatin1(name));
        return Rgb(b);
    }
    std::unique_ptr<TForm> form;
    TCDKPathEditor* editor = nullptr;
    int drops = 0;
};

TEST_F(PathEditorTest, TheEditEndsFourPixelsLeftOfTheButtonAndSetsTheHeight) {
    EXPECT_EQ(editor->Left(), 44);
    EXPECT_EQ(editor->Top(), 126);
    EXPECT_EQ(editor->Width(), 185);
    TEdit* edit = editor->MainPathEdit;
    for (int height : {60, 5, 23}) {
        editor->SetHeight(height);
        EXPECT_EQ(editor->Height(), edit->Height() + 2) << height;
    }
    EXPECT_EQ(edit->Left(), 2);
    EXPECT_EQ(edit->Top(), 1);
    EXPECT_EQ(edit->Left() + edit->Width() + 4, editor->BrowseButton->Left());
    EXPECT_EQ(editor->BrowseButton->Left() + editor->BrowseButton->Width(), editor->Width());
    editor->SetSmartShowBrowseButton(true); // hiding the button keeps the edit's width
    EXPECT_EQ(edit->Width(), 185 - 23 - 6);
}

TEST_F(PathEditorTest, ButtonOffsetChangesTheEditorsWidthNotTheEdits) {
    const int editWidth = editor->MainPathEdit->Width();
    editor->SetButtonOffset(-1);
    EXPECT_EQ(editor->ButtonOffset(), 6);
    editor->SetButtonOffset(10);
    EXPECT_EQ(editor->Width(), 189);
    EXPECT_EQ(editor->MainPathEdit->Width(), editWidth);
    editor->SetButtonOffset(0);
    EXPECT_EQ(editor->Width(), 179);
    EXPECT_EQ(editor->MainPathEdit->Width(), editWidth);
}

TEST_F(PathEditorTest, SettingsPassOnToTheEditAndTheDialog) {
    TEdit& edit = *editor->MainPathEdit;
    TOpenDialog& dialog = *editor->OpenDialog;
    editor->SetCharCase(TEdit::ecUpperCase);
    editor->SetMaxLength(12);
    editor->SetPasswordChar(QStringLiteral("*"));
    editor->SetBorderStyle(bsNoBorder);
    TFont font;
    font.Name = QStringLiteral("Arial");
    font.Height = -15;
    editor->SetFont(font);
    EXPECT_EQ(edit.CharCase(), TEdit::ecUpperCase);
    EXPECT_EQ(edit.MaxLength(), 12);
    EXPECT_EQ(edit.PasswordChar(), QStringLiteral("*"));
    EXPECT_EQ(edit.BorderStyle(), bsNoBorder);
    EXPECT_EQ(edit.Font().Height, -15);

    editor->SetDefaultExt(QStringLiteral("wav"));
    editor->SetFilter(QStringLiteral("Wave|*.wav"));
    editor->SetFilterIndex(2);
    editor->SetFileEditStyle(TOpenDialog::fsComboBox);
    editor->SetOptions(TOpenDialog::ofFileMustExist);
    editor->SetTitle(QStringLiteral("Pick"));
    editor->SetHistoryList({QStringLiteral("/a")});
    EXPECT_EQ(dialog.DefaultExt(), QStringLiteral("wav"));
    EXPECT_EQ(dialog.Filter(), QStringLiteral("Wave|*.wav"));
    EXPECT_EQ(dialog.FilterIndex(), 2);
    EXPECT_EQ(dialog.FileEditStyle(), TOpenDialog::fsComboBox);
    EXPECT_EQ(dialog.Options(), TOpenOptions(TOpenDialog::ofFileMustExist));
    EXPECT_EQ(dialog.Title(), QStringLiteral("Pick"));
    EXPECT_EQ(dialog.HistoryList(), QStringList{QStringLiteral("/a")});

    const std::pair<const char*, const char*> dirs[] = {
        {"/sounds/", "/sounds"}, {"/", "/"}, {"a//", "a/"}};
    for (const auto& [given, kept] : dirs) {
        editor->SetInitialDir(QString::fromLatin1(given));
        EXPECT_EQ(dialog.InitialDir(), QString::fromLatin1(kept)) << given;
    }
}

TEST_F(PathEditorTest, SettingTheTextRaisesOnChangeWithFileNameFollowing) {
    QString seen;
    editor->OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, editor);
        seen = editor->FileName();
    };
    editor->SetText(QStringLiteral("/x/in.wav"));
    EXPECT_EQ(seen, QStringLiteral("/x/in.wav"));
    EXPECT_EQ(editor->OpenDialog->FileName(), QStringLiteral("/x/in.wav"));
}

TEST_F(PathEditorTest, EachStyleShowsItsGlyphUnlessACustomOneIsSet) {
    const std::pair<TCDKPathEdStyle, const char*> styles[] = {
        {TCDKPathEditor::_SelectDirectory, "BMP_BROWSE_FOLDERS"},
        {TCDKPathEditor::_SaveFile, "BMP_SAVE_FILE"},
        {TCDKPathEditor::_SelectFile, "BMP_OPEN_FILE"}};
    for (const auto& [style, name] : styles) {
        editor->SetStyle(style);
        EXPECT_EQ(Rgb(editor->BrowseButtonGlyph()), Resource(name)) << name;
        EXPECT_EQ(editor->BrowseButtonGlyph().Width(), 28);
        EXPECT_EQ(editor->BrowseButtonGlyph().Height(), 14);
    }
    EXPECT_EQ(editor->BrowseButton->NumGlyphs(), 2);
    TBitmap custom(28, 14);
    custom.Canvas().Brush.Color = clRed;
    custom.Canvas().FillRect({0, 0, 28, 14});
    editor->SetBrowseButtonGlyph(custom);
    EXPECT_FALSE(editor->UseDefaultGlyphs());
    editor->SetStyle(TCDKPathEditor::_SaveFile);
    EXPECT_EQ(Rgb(editor->BrowseButtonGlyph()), Rgb(custom));
    editor->SetBrowseButtonGlyph(TBitmap());
    EXPECT_TRUE(editor->UseDefaultGlyphs());
    EXPECT_EQ(Rgb(editor->BrowseButtonGlyph()), Resource("BMP_SAVE_FILE"));
}

TEST_F(PathEditorTest, SmartShowShowsTheButtonOnlyWhileTheEditHasTheFocus) {
    int enters = 0;
    editor->OnEnter = [&](TObject* sender) {
        EXPECT_EQ(sender, editor);
        EXPECT_TRUE(editor->BrowseButton->Visible()); // shown before the event
        ++enters;
    };
    editor->SetSmartShowBrowseButton(true);
    EXPECT_FALSE(editor->BrowseButton->Visible());
    editor->MainPathEdit->DoEnter();
    EXPECT_TRUE(editor->BrowseButton->Visible());
    editor->MainPathEdit->DoExit();
    EXPECT_FALSE(editor->BrowseButton->Visible());
    EXPECT_EQ(enters, 1);
    editor->SetSmartShowBrowseButton(false);
    editor->MainPathEdit->DoExit();
    EXPECT_TRUE(editor->BrowseButton->Visible());
}

TEST_F(PathEditorTest, ForwardedEventsCarryTheEditorAndWriteBackByReference) {
    editor->OnKeyPress = [&](TObject* sender, char& key) {
        EXPECT_EQ(sender, editor);
        key = 'X';
    };
    editor->OnDragOver = [&](TObject* sender, TObject*, int x, int, TDragState, bool& accept) {
        EXPECT_EQ(sender, editor);
        accept = x > 10;
    };
    char key = 'a';
    editor->MainPathEdit->OnKeyPress(editor->MainPathEdit, key);
    EXPECT_EQ(key, 'X');
    for (int x : {5, 20}) {
        bool accept = true;
        editor->MainPathEdit->OnDragOver(editor->MainPathEdit, nullptr, x, 0, dsDragMove, accept);
        EXPECT_EQ(accept, x > 10);
    }
}

TEST_F(PathEditorTest, AFileDroppedOnTheEditBecomesTheText) {
    TObject* dropSender = nullptr;
    editor->OnDragDrop = [&](TObject* sender, TObject*, int, int) { dropSender = sender; };
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/music/out.wav"))});
    QWidget* widget = editor->MainPathEdit->Widget();
    QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(3, 3), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &drop);
    EXPECT_EQ(editor->Text(), QStringLiteral("/music/out.wav"));
    EXPECT_EQ(editor->FileName(), QStringLiteral("/music/out.wav"));
    EXPECT_EQ(dropSender, editor);
}

TEST_F(PathEditorTest, ThePopupMenuIsTheEditsAndARightClickOnTheEditShowsIt) {
    auto* menu = new TPopupMenu(form.get());
    menu->SetName(QStringLiteral("menuPath"));
    auto* clear = new TMenuItem(form.get());
    clear->SetCaption(QStringLiteral("&Clear"));
    clear->OnClick = [&](TObject*) { editor->SetText(QString()); };
    menu->Items()->Add(clear);
    editor->SetName(QStringLiteral("editIn"));
    editor->SetPopupMenu(menu);
    EXPECT_EQ(editor->MainPathEdit->PopupMenu(), menu);
    EXPECT_EQ(editor->TControl::PopupMenu(), nullptr) << "the container keeps none";

    editor->SetText(QStringLiteral("/music/in.wav"));
    form->Show();
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!popup)
            return;
        for (QAction* a : popup->actions())
            shown << a->text();
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
    });
    QWidget* edit = editor->MainPathEdit->Widget();
    QContextMenuEvent click(QContextMenuEvent::Mouse, {4, 4}, edit->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(edit, &click);
    EXPECT_EQ(shown, QStringList({"&Clear"}));
    EXPECT_EQ(editor->Text(), QString()) << "the item's click ran";
    EXPECT_EQ(menu->PopupComponent(), editor->MainPathEdit);

    // In a form description it stands where the editor publishes it.
    const QString text = WriteFormDescription(form.get());
    const int at = text.indexOf(QStringLiteral("PopupMenu = menuPath"));
    EXPECT_GT(at, text.indexOf(QStringLiteral("PasswordChar = ")));
    EXPECT_LT(at, text.indexOf(QStringLiteral("Text = ")));
}

TEST_F(PathEditorTest, ADragFromTheEditEndsAtTheEditor) {
    std::vector<TObject*> senders, targets;
    editor->OnEndDrag = [&](TObject* sender, TObject* target, int, int) {
        senders.push_back(sender);
        targets.push_back(target);
    };
    editor->MainPathEdit->BeginDrag(true);
    EXPECT_TRUE(editor->MainPathEdit->Dragging());
    editor->MainPathEdit->EndDrag(false);
    EXPECT_EQ(senders, std::vector<TObject*>({editor}));
    EXPECT_EQ(targets, std::vector<TObject*>({nullptr}));
}

TEST_F(PathEditorTest, ItsPartsAreItsOwnAndItsNameIsNotItsCaption) {
    EXPECT_EQ(editor->ControlStyle(), TControlStyle());
    editor->SetName(QStringLiteral("editOut"));
    EXPECT_EQ(editor->Caption(), QString());
    EXPECT_EQ(editor->Text(), QString());
}

TEST_F(PathEditorTest, SelectFileConfirmedAndCancelled) {
    const QString file = MakeFile(QStringLiteral("in.wav"));
    int clicks = 0;
    editor->OnBrowseButtonClick = [&](TObject*) { ++clicks; };
    editor->SetText(QStringLiteral("before"));
    TOpenDialog::WhileShown = [](TOpenDialog& d) { d.DriveCancel(); };
    editor->BrowseButton->Click();
    EXPECT_EQ(editor->Text(), QStringLiteral("before"));
    EXPECT_EQ(drops, 0);
    TOpenDialog::WhileShown = [&](TOpenDialog& d) { d.DriveAccept(file); };
    editor->BrowseButton->Click();
    EXPECT_EQ(QDir::cleanPath(editor->Text()), file);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(clicks, 2);
}

TEST_F(PathEditorTest, SaveFileKeepsTheChosenFilterAndACancelKeepsEverything) {
    editor->SetStyle(TCDKPathEditor::_SaveFile);
    editor->SetFilter(QStringLiteral("Wave|*.wav|All|*"));
    editor->SetInitialDir(root);
    editor->SetText(QStringLiteral("old.wav"));
    TOpenDialog::WhileShown = [](TOpenDialog& d) { d.DriveCancel(); };
    editor->Browse();
    EXPECT_EQ(editor->Text(), QStringLiteral("old.wav"));
    EXPECT_EQ(editor->FilterIndex(), 1);
    EXPECT_EQ(editor->FileName(), QStringLiteral("old.wav"));
    EXPECT_EQ(editor->SaveDialog, nullptr);

    TOpenDialog::WhileShown = [&](TOpenDialog& d) {
        d.DriveAccept(Path(QStringLiteral("new.voc")), 2);
    };
    editor->Browse();
    EXPECT_EQ(QDir::cleanPath(editor->Text()), Path(QStringLiteral("new.voc")));
    EXPECT_EQ(editor->FilterIndex(), 2);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(editor->SaveDialog, nullptr);
}

TEST_F(PathEditorTest, SelectDirectoryStartsAtInitialDirAndConfirmsTheListsDirectory) {
    const QString start = Make(QStringLiteral("Sounds/In"));
    editor->SetStyle(TCDKPathEditor::_SelectDirectory);
    editor->SetInitialDir(start + u'/');
    editor->SetTitle(QStringLiteral("Where?"));
    editor->SetOptions(TOpenDialog::ofPathMustExist);
    QString shownAt, caption;
    bool newVisible = true;
    WhenModal<TDirectorySelectForm>([&](TDirectorySelectForm& d) {
        shownAt = d.DirectoryListBox->Directory();
        caption = d.Caption();
        newVisible = d.CreateDirectoryButton->Visible();
        d.CancelButton->Click();
    });
    editor->Browse();
    EXPECT_EQ(shownAt, start);
    EXPECT_EQ(caption, QStringLiteral("Where?"));
    EXPECT_FALSE(newVisible);
    EXPECT_TRUE(editor->Text().isEmpty());
    EXPECT_EQ(drops, 0);

    WhenModal<TDirectorySelectForm>([](TDirectorySelectForm& d) {
        d.DirectoryListBox->OpenEntry(1); // up to Sounds
        d.OKButton->Click();
    });
    editor->Browse();
    EXPECT_EQ(editor->Text(), Path(QStringLiteral("Sounds")));
    EXPECT_EQ(drops, 1);
}

TEST_F(PathEditorTest, SelectDirectoryOpensAtTheTextOrTheCurrentDirectory) {
    const QString dir = Make(QStringLiteral("Here"));
    const QString file = MakeFile(QStringLiteral("Here/in.wav"));
    editor->SetStyle(TCDKPathEditor::_SelectDirectory);
    const std::pair<QString, QString> cases[] = {{QString(), root}, {file, root}, {dir, dir}};
    for (const auto& [text, expected] : cases) {
        Enter(root);
        editor->SetText(text);
        QString shownAt;
        bool newVisible = false;
        WhenModal<TDirectorySelectForm>([&](TDirectorySelectForm& d) {
            shownAt = d.DirectoryListBox->Directory();
            newVisible = d.CreateDirectoryButton->Visible();
            d.CancelButton->Click();
        });
        editor->Browse();
        EXPECT_EQ(shownAt, expected) << text.toStdString();
        EXPECT_TRUE(newVisible);
    }
}

TEST_F(PathEditorTest, NoChangeDirRestoresTheDirectoryTakenAfterTheStart) {
    const QString start = Make(QStringLiteral("Start"));
    Make(QStringLiteral("Start/Deeper"));
    editor->SetStyle(TCDKPathEditor::_SelectDirectory);
    editor->SetInitialDir(start);
    for (bool keep : {true, false}) {
        Enter(root);
        editor->SetOptions(keep ? TOpenOptions(TOpenDialog::ofNoChangeDir) : TOpenOptions());
        WhenModal<TDirectorySelectForm>([](TDirectorySelectForm& d) {
            d.DirectoryListBox->OpenEntry(2); // into Deeper
            d.OKButton->Click();
        });
        editor->Browse();
        EXPECT_EQ(editor->Text(), start + QStringLiteral("/Deeper"));
        EXPECT_EQ(Current(), keep ? start : start + QStringLiteral("/Deeper"));
    }
}

TEST_F(PathEditorTest, AFormDescriptionHoldsOnlyThePublishedPropertiesInOrder) {
    editor->SetName(QStringLiteral("editIn"));
    editor->SetStyle(TCDKPathEditor::_SaveFile);
    editor->SetText(QStringLiteral("in.wav"));
    editor->SetFilter(QStringLiteral("Wave|*.wav"));
    const QString text = WriteFormDescription(form.get());
    const QString block =
        text.section(QStringLiteral("object editIn"), 1).section(QStringLiteral("\n  end"), 0, 0);
    QStringList names;
    for (const QString& line : block.split(u'\n'))
        if (line.contains(u'='))
            names << line.trimmed().section(u' ', 0, 0);
    // Properties without a stored default are always written; the three
    // with one are left out at their default (Style is not).
    const QStringList expected =
        QStringLiteral("Left Top Width Height SmartShowBrowseButton BrowseButtonGlyph "
                       "BrowseButtonHint BorderStyle "
                       "CharCase MaxLength OEMConvert PasswordChar Text DefaultExt FileEditStyle "
                       "FileName Filter "
                       "FilterIndex InitialDir HistoryList Options Title Style")
            .split(u' ');
    EXPECT_EQ(names, expected) << text.toStdString();
}

} // namespace
} // namespace wt::test
