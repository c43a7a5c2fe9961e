// TDirectorySelectForm: the "Select a Directory" dialog. The user walks the
// directory tree of a drive and confirms one directory, the list's current
// one; "&New..." creates a directory (TCreateDirectoryForm) and enters it.
// Everything goes through the process's current directory.
#pragma once

#include "toolkit/controls/button.h"
#include "toolkit/controls/drivecombo.h"
#include "toolkit/controls/label.h"
#include "toolkit/core/classes.h"
#include "toolkit/forms/form.h"
#include "widgets/DODDir95.h"

namespace wt {

class TDirectorySelectForm : public TForm {
    Q_OBJECT
public:
    explicit TDirectorySelectForm(TComponent* owner = nullptr);

    TDriveComboBox* DriveComboBox = nullptr;
    TLabel* DirectoryShadowLabel = nullptr;
    TButton* OKButton = nullptr;
    TButton* CancelButton = nullptr;
    TButton* CreateDirectoryButton = nullptr;
    TCDKWin95DirListBox* DirectoryListBox = nullptr;

    // "&New...": asks for a directory below the current one, creates it and
    // enters it. Entering fails (reported, the list stays) when it is missing.
    void CreateDirectoryButtonClick(TObject* sender);
};

WT_REGISTER_CLASS(TDirectorySelectForm);

} // namespace wt
