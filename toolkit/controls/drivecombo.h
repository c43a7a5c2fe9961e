// TDriveComboBox: the drive selector of the directory dialogs. Its drives
// are the mounted file systems the platform lists; picking one enters its
// root in the linked directory list, which in turn keeps it showing the
// drive of the list's current directory.
#pragma once

#include "toolkit/controls/combobox.h"
#include "toolkit/core/classes.h"

#include <QPointer>

namespace wt {

class TDirectoryListBox;

class TDriveComboBox : public TComboBox {
    Q_OBJECT
    Q_PROPERTY(wt::TDirectoryListBox* DirList READ DirList WRITE SetDirList)

public:
    explicit TDriveComboBox(TComponent* owner = nullptr);

    // The mount point shown.
    QString Drive() const { return drive_; }
    // Shows a drive (one of the list, else nothing) and enters its root in
    // the linked list when that is on another drive; a failure to enter it
    // throws and leaves the selector as it was.
    void SetDrive(const QString& drive);
    TDirectoryListBox* DirList() const;
    void SetDirList(TDirectoryListBox* list);
    // Lists the mounted file systems anew.
    void ReadDrives();

protected:
    void Click() override;
    void Loaded() override;

private:
    friend class TDirectoryListBox;
    // Follows the list without entering anything.
    void ShowDrive(const QString& drive);

    QString drive_;
    QPointer<TDirectoryListBox> dirList_;
};

WT_REGISTER_CLASS(TDriveComboBox);

} // namespace wt
