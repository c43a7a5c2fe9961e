// The open and save dialogs driven through Qt's own file dialog, and the
// plain message box through the platform.
#include "form_support.h"

#include "toolkit/forms/filedialogs.h"
#include "toolkit/forms/messagebox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

namespace wt::test {
namespace {

class FileDialogTest : public FormTest {
protected:
    void TearDown() override {
        TOpenDialog::WhileShown = nullptr;
        FormTest::TearDown();
    }
    QString MakeFile(const QString& name) {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("RIFF");
        return path;
    }
    QTemporaryDir dir;
};

TEST(FileDialogFilters, PairsBecomeQtNameFilters) {
    EXPECT_EQ(QtNameFilters(QStringLiteral("Wave Files|*.wav")),
              QStringList{QStringLiteral("Wave Files (*.wav)")});
    EXPECT_EQ(QtNameFilters(QStringLiteral("Sounds|*.wav;*.voc|All|*.*")),
              (QStringList{QStringLiteral("Sounds (*.wav *.voc)"), QStringLiteral("All (*.*)")}));
    EXPECT_TRUE(QtNameFilters(QStringLiteral("no pattern")).isEmpty());
}

TEST_F(FileDialogTest, ConfirmedOpenLeavesTheChoiceAndTheChosenFilter) {
    const QString file = MakeFile(QStringLiteral("in.wav"));
    TOpenDialog dialog;
    dialog.SetFilter(QStringLiteral("Wave Files|*.wav|All files|*"));
    dialog.SetFileName(QStringLiteral("*.wav"));
    dialog.SetInitialDir(dir.path());
    dialog.SetDefaultExt(QStringLiteral("WAV"));
    dialog.SetOptions(TOpenDialog::ofFileMustExist);
    QString title;
    TOpenDialog::WhileShown = [&](TOpenDialog& d) {
        EXPECT_TRUE(d.Executing());
        d.DriveAccept(file, 2);
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(QDir::cleanPath(dialog.FileName()), QDir::cleanPath(file));
    EXPECT_EQ(dialog.FilterIndex(), 2);
    EXPECT_FALSE(dialog.Options().testFlag(TOpenDialog::ofExtensionDifferent));
    EXPECT_FALSE(dialog.Executing());
}

TEST_F(FileDialogTest, CancelledSaveChangesNoSetting) {
    TSaveDialog dialog;
    dialog.SetFilter(QStringLiteral("Wave Files|*.wav|All files|*"));
    dialog.SetFilterIndex(1);
    dialog.SetFileName(QStringLiteral("old.wav"));
    dialog.SetOptions(TOpenDialog::ofOverwritePrompt);
    TOpenDialog::WhileShown = [&](TOpenDialog& d) { d.DriveCancel(); };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), QStringLiteral("old.wav"));
    EXPECT_EQ(dialog.FilterIndex(), 1);
    EXPECT_EQ(dialog.Options(), TOpenOptions(TOpenDialog::ofOverwritePrompt));
}

TEST_F(FileDialogTest, ConfirmedSaveReportsAnExtensionOtherThanTheDefault) {
    TSaveDialog dialog;
    dialog.SetInitialDir(dir.path());
    dialog.SetDefaultExt(QStringLiteral("wav"));
    TOpenDialog::WhileShown = [&](TOpenDialog& d) {
        d.DriveAccept(dir.filePath(QStringLiteral("out.voc")));
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(dialog.FileName().endsWith(QStringLiteral("out.voc")));
    EXPECT_TRUE(dialog.Options().testFlag(TOpenDialog::ofExtensionDifferent));
}

TEST_F(FileDialogTest, OptionsThatRefuseAChoiceKeepTheDialogOpen) {
    const struct {
        TOpenOption option;
        bool save;
        const char* file; // below the test directory
    } cases[] = {
        {TOpenDialog::ofFileMustExist, false, "missing.wav"},
        {TOpenDialog::ofPathMustExist, true, "no such folder/out.wav"},
    };
    for (const auto& c : cases) {
        std::unique_ptr<TOpenDialog> dialog(c.save ? new TSaveDialog : new TOpenDialog);
        dialog->SetOptions(c.option);
        dialog->SetFileName(QStringLiteral("before.wav"));
        bool stillOpen = false;
        TOpenDialog::WhileShown = [&](TOpenDialog& d) {
            d.DriveAccept(dir.filePath(QString::fromLatin1(c.file)));
            stillOpen = d.Executing();
            d.DriveCancel();
        };
        EXPECT_FALSE(dialog->Execute()) << c.file;
        EXPECT_TRUE(stillOpen) << c.file;
        EXPECT_EQ(dialog->FileName(), QStringLiteral("before.wav"));
    }
}

TEST_F(FileDialogTest, AConfirmedChoiceMakesItsFolderCurrentUnlessNoChangeDir) {
    const QString file = MakeFile(QStringLiteral("in.wav"));
    const std::string before = Sim().GetCurrentDirectory();
    for (bool noChangeDir : {true, false}) {
        TOpenDialog dialog;
        if (noChangeDir)
            dialog.SetOptions(TOpenDialog::ofNoChangeDir);
        TOpenDialog::WhileShown = [&](TOpenDialog& d) { d.DriveAccept(file); };
        ASSERT_TRUE(dialog.Execute());
        const QString now = QString::fromStdString(Sim().GetCurrentDirectory());
        if (noChangeDir)
            EXPECT_EQ(now.toStdString(), before);
        else
            EXPECT_EQ(QDir(now).canonicalPath(), QDir(dir.path()).canonicalPath());
    }
}

TEST_F(FileDialogTest, TheComboBoxFieldPutsTheChosenFolderFirstInTheHistory) {
    const QString file = MakeFile(QStringLiteral("in.wav"));
    const QString folder = QFileInfo(file).absolutePath();
    for (TFileEditStyle style : {TOpenDialog::fsEdit, TOpenDialog::fsComboBox}) {
        TOpenDialog dialog;
        dialog.SetFileEditStyle(style);
        dialog.SetHistoryList({QStringLiteral("/elsewhere"), folder});
        TOpenDialog::WhileShown = [&](TOpenDialog& d) { d.DriveAccept(file); };
        ASSERT_TRUE(dialog.Execute());
        const QStringList expected = style == TOpenDialog::fsComboBox
                                         ? QStringList{folder, QStringLiteral("/elsewhere")}
                                         : QStringList{QStringLiteral("/elsewhere"), folder};
        EXPECT_EQ(dialog.HistoryList(), expected);
    }
}

TEST_F(FileDialogTest, MessageBoxGoesThroughThePlatform) {
    ShowMessageBox(QStringLiteral("Delphi could not be found."), QStringLiteral("Wingtucker"));
    ASSERT_EQ(Sim().MessageBoxCalls().size(), 1u);
    EXPECT_EQ(Sim().MessageBoxCalls()[0].Text, "Delphi could not be found.");
    EXPECT_EQ(Sim().MessageBoxCalls()[0].Caption, "Wingtucker");
}

} // namespace
} // namespace wt::test
