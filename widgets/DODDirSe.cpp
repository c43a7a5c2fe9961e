#include "widgets/DODDirSe.h"

#include "toolkit/core/paths.h"
#include "widgets/DODDirCr.h"

#include "DODDirSe_wfm.h"

#include <memory>

namespace wt {

TDirectorySelectForm::TDirectorySelectForm(TComponent* owner) : TForm(owner) {
    Handler("CreateDirectoryButtonClick", &TDirectorySelectForm::CreateDirectoryButtonClick);
    Field("DriveComboBox", DriveComboBox);
    Field("DirectoryShadowLabel", DirectoryShadowLabel);
    Field("OKButton", OKButton);
    Field("CancelButton", CancelButton);
    Field("CreateDirectoryButton", CreateDirectoryButton);
    Field("DirectoryListBox", DirectoryListBox);
    ReadForm(forms::DODDirSe, QString::fromLatin1(forms::DODDirSeFile));
}

void TDirectorySelectForm::CreateDirectoryButtonClick(TObject*) {
    // Freed when the click ends, also when entering the new directory fails.
    const std::unique_ptr<TCreateDirectoryForm> form(new TCreateDirectoryForm(this));
    QString dir = CurrentDirWithSeparator();
    form->DirectoryToCreateEdit->SetText(dir);       // the user adds the new name
    if (dir.endsWith(PathDelim) && dir != PathDelim) // the root keeps its "/"
        dir.chop(1);
    form->CurrentDirectoryLabel->SetCaption(dir);
    if (form->ShowModal() == mrOk)
        DirectoryListBox->SetDirectory(form->DirectoryToCreateEdit->Text());
}

} // namespace wt
