// TfrmOops: the add-in's own stay-on-top message box, titled "Oops!", with a
// picture, the message centred in a read-only memo, and an OK button that
// alone dismisses it. ShowOops shows one message and waits for OK.
#pragma once

#include "toolkit/controls/bitbtn.h"
#include "toolkit/core/classes.h"
#include "toolkit/forms/form.h"
#include "toolkit/controls/image.h"
#include "widgets/CDKROMem.h"

namespace wt {

class TfrmOops : public TForm {
    Q_OBJECT
public:
    explicit TfrmOops(TComponent* owner = nullptr);

    TImage* Image1 = nullptr;
    TCDKReadOnlyMemo* memo = nullptr;
    TBitBtn* btnOk = nullptr;

    void btnOkClick(TObject* sender);
};

WT_REGISTER_CLASS(TfrmOops);

// Shows message in a new TfrmOops owned by owner (any form, or none) and
// returns once the user dismissed it; the form is freed in every case.
void ShowOops(TForm* owner, const QString& message);

} // namespace wt
