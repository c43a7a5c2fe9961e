// TCDKReadOnlyMemo: a TCDKMemo preset as flat, read-only, click-proof text
// that looks like part of its dialog: no border, button-face colour, arrow
// cursor, no 3D look, mouse buttons ignored. The presets are its defaults.
#pragma once

#include "toolkit/core/classes.h"
#include "widgets/DODMemo.h"

namespace wt {

class TCDKReadOnlyMemo : public TCDKMemo {
    Q_OBJECT
    Q_CLASSINFO("Default.AllowCaret", "False")
    Q_CLASSINFO("Default.BorderStyle", "bsNoBorder")
    Q_CLASSINFO("Default.Color", "clBtnFace")
    Q_CLASSINFO("Default.Ctl3D", "False")
    Q_CLASSINFO("Default.Cursor", "crArrow")
    Q_CLASSINFO("Default.ParentCtl3D", "False")
    Q_CLASSINFO("Default.ReadOnly", "True")

public:
    explicit TCDKReadOnlyMemo(TComponent* owner = nullptr);
};

WT_REGISTER_CLASS(TCDKReadOnlyMemo);

} // namespace wt
