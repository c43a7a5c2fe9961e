#include "toolkit/controls/drivecombo.h"

#include "platform/platform.h"
#include "toolkit/controls/dirlistbox.h"

namespace wt {

TDriveComboBox::TDriveComboBox(TComponent* owner) : TComboBox(owner) {
    SetStyle(csDropDownList);
    SetBounds(0, 0, 145, 19);
    ReadDrives();
    SetItemIndex(0);
    if (!Items().isEmpty())
        drive_ = Items().front();
}

void TDriveComboBox::ReadDrives() {
    QStringList drives;
    for (const std::string& point : ThePlatform().MountPoints())
        drives << QString::fromStdString(point);
    SetItems(drives);
    SetItemIndex(static_cast<int>(drives.indexOf(drive_)));
}

void TDriveComboBox::ShowDrive(const QString& drive) {
    if (!Items().contains(drive))
        ReadDrives(); // mounted since the list was read
    drive_ = drive;
    SetItemIndex(static_cast<int>(Items().indexOf(drive)));
}

void TDriveComboBox::SetDrive(const QString& drive) {
    if (!Items().contains(drive))
        return;
    TDirectoryListBox* list = dirList_.data();
    if (list && list->Drive() != drive)
        list->SetDirectory(drive); // throws when it cannot; the list then calls ShowDrive
    ShowDrive(drive);
}

TDirectoryListBox* TDriveComboBox::DirList() const { return dirList_.data(); }

void TDriveComboBox::SetDirList(TDirectoryListBox* list) {
    if (dirList_ && dirList_->DriveCombo() == this)
        dirList_->SetDriveCombo(nullptr);
    dirList_ = list;
    if (list) {
        list->SetDriveCombo(this);
        if (!IsLoading())
            ShowDrive(list->Drive());
    }
}

void TDriveComboBox::Loaded() {
    TComboBox::Loaded();
    if (dirList_)
        ShowDrive(dirList_->Drive());
}

void TDriveComboBox::Click() {
    const QString picked = Items().value(ItemIndex());
    if (!picked.isEmpty() && picked != drive_) {
        const QString before = drive_;
        try {
            SetDrive(picked);
        } catch (...) {
            ShowDrive(before); // the selector keeps showing where the list is
            throw;
        }
    }
    TComboBox::Click();
}

} // namespace wt
