#include "widgets/DOD_Comp.h"

namespace wt {

TCompoundComponentPanel::TCompoundComponentPanel(TComponent* owner) : TCustomPanel(owner) {
    SetCaption(QString());
}

void TCompoundComponentPanel::Paint() {
    TRect rect = ClientRect();
    PaintFrame(Canvas(), rect);
}

} // namespace wt
