#include "toolkit/forms/filedialogs.h"

#include "platform/platform.h"
#include "toolkit/core/component.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

namespace wt {

std::function<void(TOpenDialog&)> TOpenDialog::WhileShown;

QStringList QtNameFilters(const QString& filter) {
    QStringList out;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns.simplified());
    }
    return out;
}

namespace {

// Qt's file dialog with the checks of the options that refuse a choice: a
// refused choice keeps the dialog open, as the user expects of a file
// dialog, instead of ending it as if cancelled.
class TCheckedFileDialog : public QFileDialog {
public:
    TCheckedFileDialog(QWidget* parent, TOpenOptions options)
        : QFileDialog(parent), options_(options) {}

    void accept() override {
        const QStringList chosen = selectedFiles();
        for (const QString& file : chosen)
            if (!Acceptable(QFileInfo(file)))
                return;
        QFileDialog::accept();
    }

private:
    bool Acceptable(const QFileInfo& file) const {
        if (options_.testFlag(TOpenDialog::ofFileMustExist) && !file.exists())
            return false;
        if (options_.testFlag(TOpenDialog::ofPathMustExist) && !file.absoluteDir().exists())
            return false;
        if (options_.testFlag(TOpenDialog::ofNoReadOnlyReturn) && file.exists() &&
            !file.isWritable())
            return false;
        return true;
    }

    TOpenOptions options_;
};

} // namespace

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
    if (active_)
        return false; // one showing at a time
    TCheckedFileDialog dialog(QApplication::activeWindow(), options_);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontResolveSymlinks, options_.testFlag(ofNoDereferenceLinks));
    if (!title_.isEmpty())
        dialog.setWindowTitle(title_);
    if (IsSaveDialog()) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !options_.testFlag(ofOverwritePrompt));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        if (options_.testFlag(ofAllowMultiSelect))
            dialog.setFileMode(QFileDialog::ExistingFiles);
        else if (options_.testFlag(ofFileMustExist))
            dialog.setFileMode(QFileDialog::ExistingFile);
        else
            dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (!defaultExt_.isEmpty())
        dialog.setDefaultSuffix(defaultExt_);
    const QStringList filters = QtNameFilters(filter_);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = filterIndex_ >= 1 && filterIndex_ <= filters.size() ? filterIndex_ : 1;
        dialog.selectNameFilter(filters[index - 1]);
    }
    // The combo-box file field is Qt's history of folders.
    if (fileEditStyle_ == fsComboBox && !historyList_.isEmpty())
        dialog.setHistory(historyList_);
    if (!initialDir_.isEmpty())
        dialog.setDirectory(initialDir_);
    // A name with wildcards ("*.wav") is a pattern, not a file to preselect.
    if (!fileName_.isEmpty() && !fileName_.contains(u'*') && !fileName_.contains(u'?'))
        dialog.selectFile(fileName_);

    active_ = &dialog;
    QPointer<TOpenDialog> self(this);
    if (WhileShown)
        QTimer::singleShot(0, &dialog, [this] {
            if (WhileShown)
                WhileShown(*this);
        });
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (!self)
        return false;
    active_ = nullptr;
    const QStringList chosen = dialog.selectedFiles();
    if (!accepted || chosen.isEmpty())
        return false;

    files_ = chosen;
    fileName_ = chosen.front();
    if (!filters.isEmpty()) {
        const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
        if (index >= 0)
            filterIndex_ = static_cast<int>(index) + 1;
    }
    const QString suffix = QFileInfo(fileName_).suffix();
    options_.setFlag(ofExtensionDifferent,
                     !defaultExt_.isEmpty() &&
                         suffix.compare(defaultExt_, Qt::CaseInsensitive) != 0);
    if (fileEditStyle_ == fsComboBox) { // the folder chosen from goes first
        const QString folder = QFileInfo(fileName_).absolutePath();
        historyList_.removeAll(folder);
        historyList_.prepend(folder);
    }
    // Like the system's dialogs, a confirmed choice makes its folder current
    // unless the caller asked otherwise.
    if (!options_.testFlag(ofNoChangeDir))
        ThePlatform().SetCurrentDirectory(ToStd(QFileInfo(fileName_).absolutePath()));
    return true;
}

void TOpenDialog::DriveAccept(const QString& file, int filterIndex) {
    if (!active_)
        return;
    const QStringList filters = active_->nameFilters();
    if (filterIndex >= 1 && filterIndex <= filters.size())
        active_->selectNameFilter(filters[filterIndex - 1]);
    active_->selectFile(file);
    static_cast<QDialog*>(active_)->accept(); // QFileDialog::accept checks the choice
}

void TOpenDialog::DriveCancel() {
    if (active_)
        active_->reject();
}

} // namespace wt
