#include "toolkit/forms/filedialogs.h"

#include <QApplication>
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

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
    if (active_)
        return false; // one showing at a time
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
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
    if (!historyList_.isEmpty())
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
                     !defaultExt_.isEmpty() && suffix.compare(defaultExt_, Qt::CaseInsensitive) != 0);
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
