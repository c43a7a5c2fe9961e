#include "dialogs/oops.h"

#include "oops_wfm.h"

#include <memory>

namespace wt {

TfrmOops::TfrmOops(TComponent* owner) : TForm(owner) {
    Handler("btnOkClick", &TfrmOops::btnOkClick);
    Field("Image1", Image1);
    Field("memo", memo);
    Field("btnOk", btnOk);
    ReadForm(forms::oops, QString::fromLatin1(forms::oopsFile));
}

void TfrmOops::btnOkClick(TObject*) { Close(); }

void ShowOops(TForm* owner, const QString& message) {
    // Freed when the modal loop ends, also when showing fails.
    std::unique_ptr<TfrmOops> form(new TfrmOops(owner));
    form->memo->AddLine(message);
    form->ShowModal();
}

} // namespace wt
