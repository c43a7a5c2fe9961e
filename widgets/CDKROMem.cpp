#include "widgets/CDKROMem.h"

namespace wt {

TCDKReadOnlyMemo::TCDKReadOnlyMemo(TComponent* owner) : TCDKMemo(owner) {
    SetAllowCaret(false);
    SetBorderStyle(bsNoBorder);
    SetColor(clBtnFace);
    SetCtl3D(false);
    SetCursor(crArrow);
    SetParentCtl3D(false);
    SetReadOnly(true);
}

} // namespace wt
