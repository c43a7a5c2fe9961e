// TfrmAbout: the add-in's About box: the product's name and version, a frame
// strip down the right edge and one along the top that open and close by
// themselves on two timers of their own while the box is open, and OK.
#pragma once

#include "toolkit/controls/bitbtn.h"
#include "toolkit/controls/timer.h"
#include "toolkit/core/classes.h"
#include "toolkit/forms/form.h"
#include "widgets/Animate.h"
#include "widgets/Rzlabel.h"

namespace wt {

class TfrmAbout : public TForm {
    Q_OBJECT
public:
    explicit TfrmAbout(TComponent* owner = nullptr);

    TRzLabel* RzLabel1 = nullptr;
    TRzLabel* RzLabel3 = nullptr;
    TAnimated* aniSide = nullptr;
    TAnimated* aniTop = nullptr;
    TBitBtn* btnOk = nullptr;
    TTimer* Timer1 = nullptr;
    TTimer* Timer2 = nullptr;

    void FormShow(TObject* sender);
    // Each turns its strip round and plays it again.
    void Timer1Timer(TObject* sender);
    void Timer2Timer(TObject* sender);
    void btnOkClick(TObject* sender);
};

WT_REGISTER_CLASS(TfrmAbout);

// Shows a new About box owned by owner, modally, and frees it.
void ShowAbout(TComponent* owner);

} // namespace wt
