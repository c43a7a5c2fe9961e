#include "toolkit/controls/page.h"

namespace wt {

TPage::TPage(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 150, 150);
    SetVisible(false); // until a notebook shows it
}

} // namespace wt
