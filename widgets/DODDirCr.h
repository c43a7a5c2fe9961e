// TCreateDirectoryForm: the "Create Directory" dialog of the directory
// selection, which creates a directory with every missing parent; and the
// two path routines the directory dialogs and the path editor share.
#pragma once

#include "toolkit/controls/button.h"
#include "toolkit/controls/edit.h"
#include "toolkit/controls/label.h"
#include "toolkit/core/classes.h"
#include "toolkit/forms/form.h"
#include "widgets/DODRotat.h"

namespace wt {

class TCreateDirectoryForm : public TForm {
    Q_OBJECT
public:
    explicit TCreateDirectoryForm(TComponent* owner = nullptr);

    TButton* OKButton = nullptr;
    TButton* CancelButton = nullptr;
    TEdit* DirectoryToCreateEdit = nullptr;
    TLabel* Label1 = nullptr;
    TCDKRotate3DLabel* CurrentDirectoryLabel = nullptr;
    TLabel* Label2 = nullptr;

    // Creates what the edit names; the button's modal result closes the form.
    void OKButtonClick(TObject* sender);
};

WT_REGISTER_CLASS(TCreateDirectoryForm);

// The process's current directory with exactly one trailing "/".
QString CurrentDirWithSeparator();

// Creates the directory and every missing parent, relative ones below the
// current directory. Reports nothing: what cannot be made is just not
// there afterwards. A path with a NUL byte, or longer than the system
// takes, creates nothing.
void MakeDirectoryTree(const QString& path);

} // namespace wt
