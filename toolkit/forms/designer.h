// The form designer's side of a form: a form may have a designer that is
// told when the form was modified and that takes the mouse messages of
// controls being designed, unless a control claims them through the
// design-time hit test (CM_DESIGNHITTEST). No designer ships; tests and
// tools install one.
#pragma once

#include "toolkit/core/messages.h"

namespace wt {

class TControl;

class TDesigner {
public:
    virtual ~TDesigner() = default;
    // Something on the form changed in a way the designer should save.
    virtual void Modified() = 0;
    // A mouse message of a control being designed that the control did not
    // claim; true when the designer took it.
    virtual bool IsDesignMsg(TControl* sender, TMessage& message) = 0;
};

// Mouse-key flags of the design-time hit test's WParam.
inline constexpr std::uintptr_t MK_LBUTTON = 0x0001;
inline constexpr std::uintptr_t MK_RBUTTON = 0x0002;
inline constexpr std::uintptr_t MK_SHIFT = 0x0004;
inline constexpr std::uintptr_t MK_CONTROL = 0x0008;
inline constexpr std::uintptr_t MK_MBUTTON = 0x0010;

} // namespace wt
