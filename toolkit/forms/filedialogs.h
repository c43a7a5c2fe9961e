// The open-file and save-file dialogs: components that keep the dialog
// settings and show Qt's own (non-native) file dialog modally on Execute, so
// that tests can drive it. A cancelled dialog leaves every setting as it was.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/core/component.h"

#include <QString>
#include <QStringList>

#include <functional>

class QFileDialog;

namespace wt {

class TOpenDialog : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString DefaultExt READ DefaultExt WRITE SetDefaultExt)
    Q_PROPERTY(TFileEditStyle FileEditStyle READ FileEditStyle WRITE SetFileEditStyle)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(int FilterIndex READ FilterIndex WRITE SetFilterIndex)
    Q_PROPERTY(QStringList HistoryList READ HistoryList WRITE SetHistoryList)
    Q_PROPERTY(QString InitialDir READ InitialDir WRITE SetInitialDir)
    Q_PROPERTY(TOpenOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_CLASSINFO("Default.DefaultExt", "''")
    Q_CLASSINFO("Default.FileEditStyle", "fsEdit")
    Q_CLASSINFO("Default.FileName", "''")
    Q_CLASSINFO("Default.Filter", "''")
    Q_CLASSINFO("Default.FilterIndex", "1")
    Q_CLASSINFO("Default.HistoryList", "()")
    Q_CLASSINFO("Default.InitialDir", "''")
    Q_CLASSINFO("Default.Options", "[]")
    Q_CLASSINFO("Default.Title", "''")

public:
    enum TFileEditStyle { fsEdit, fsComboBox };
    Q_ENUM(TFileEditStyle)
    enum TOpenOption {
        ofReadOnly = 1 << 0,
        ofOverwritePrompt = 1 << 1,
        ofHideReadOnly = 1 << 2,
        ofNoChangeDir = 1 << 3,
        ofShowHelp = 1 << 4,
        ofNoValidate = 1 << 5,
        ofAllowMultiSelect = 1 << 6,
        ofExtensionDifferent = 1 << 7,
        ofPathMustExist = 1 << 8,
        ofFileMustExist = 1 << 9,
        ofCreatePrompt = 1 << 10,
        ofShareAware = 1 << 11,
        ofNoReadOnlyReturn = 1 << 12,
        ofNoTestFileCreate = 1 << 13,
        ofNoNetworkButton = 1 << 14,
        ofNoLongNames = 1 << 15,
        ofOldStyleDialog = 1 << 16,
        ofNoDereferenceLinks = 1 << 17,
    };
    Q_DECLARE_FLAGS(TOpenOptions, TOpenOption)
    Q_FLAG(TOpenOptions)

    explicit TOpenDialog(TComponent* owner = nullptr);
    ~TOpenDialog() override;

    QString DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const QString& value) { defaultExt_ = value; }
    TFileEditStyle FileEditStyle() const { return fileEditStyle_; }
    void SetFileEditStyle(TFileEditStyle value) { fileEditStyle_ = value; }
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& value) { fileName_ = value; }
    // Pairs of description and patterns: "Wave Files|*.wav|All files|*.*".
    QString Filter() const { return filter_; }
    void SetFilter(const QString& value) { filter_ = value; }
    // 1-based index of the filter shown first, and chosen after Execute.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int value) { filterIndex_ = value; }
    QStringList HistoryList() const { return historyList_; }
    void SetHistoryList(const QStringList& value) { historyList_ = value; }
    QString InitialDir() const { return initialDir_; }
    void SetInitialDir(const QString& value) { initialDir_ = value; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions value) { options_ = value; }
    QString Title() const { return title_; }
    void SetTitle(const QString& value) { title_ = value; }
    // Every file chosen (several with ofAllowMultiSelect).
    QStringList Files() const { return files_; }

    // Shows the dialog modally; true when the user confirmed a choice, which
    // is then in FileName, Files, FilterIndex and the returned Options flags.
    virtual bool Execute();
    bool Executing() const { return active_ != nullptr; }

    // For tests: runs once the dialog is up, on every Execute while set.
    static std::function<void(TOpenDialog& dialog)> WhileShown;
    // While executing: confirm with a file (and a 1-based filter, 0 keeps
    // the one shown), or cancel.
    void DriveAccept(const QString& file, int filterIndex = 0);
    void DriveCancel();

protected:
    virtual bool IsSaveDialog() const { return false; }

private:
    QString defaultExt_;
    TFileEditStyle fileEditStyle_ = fsEdit;
    QString fileName_;
    QString filter_;
    int filterIndex_ = 1;
    QStringList historyList_;
    QString initialDir_;
    TOpenOptions options_;
    QString title_;
    QStringList files_;
    QFileDialog* active_ = nullptr;
};

class TSaveDialog : public TOpenDialog {
    Q_OBJECT
public:
    explicit TSaveDialog(TComponent* owner = nullptr) : TOpenDialog(owner) {}

protected:
    bool IsSaveDialog() const override { return true; }
};

using TOpenOption = TOpenDialog::TOpenOption;
using TOpenOptions = TOpenDialog::TOpenOptions;
using TFileEditStyle = TOpenDialog::TFileEditStyle;

// "Wave Files|*.wav" as Qt name filters: "Wave Files (*.wav)".
QStringList QtNameFilters(const QString& filter);

WT_REGISTER_CLASS(TOpenDialog);
WT_REGISTER_CLASS(TSaveDialog);

} // namespace wt

Q_DECLARE_OPERATORS_FOR_FLAGS(wt::TOpenDialog::TOpenOptions)
