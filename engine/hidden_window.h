// One managed IDE window: its handle and the three rectangles the engine
// moves it between, with the flag that says it is tucked away.
#pragma once

#include "platform/types.h"

namespace wt {

struct HiddenWindow {
    WindowHandle Handle = 0; // 0 = not found
    TRect RestoreRect;       // its own rectangle when the geometry was computed; target of Stop
    TRect ShownRect;         // where it stands when revealed
    TRect HiddenRect;        // where it stands when tucked away
    TRect Monitor;           // the monitor whose edge it hangs from
    // Maximized before Start: restored to be tucked, maximized again at Stop.
    bool WasMaximized = false;
    // Revealed by the reveal key: it stays until the pointer has been over it.
    bool KeyRevealed = false;
    bool Hidden = false; // the engine regards it as tucked away
    // Chosen to be hidden at Start: until Stop it may stand revealed, and
    // still has to go back to RestoreRect when the windows are brought back.
    bool Managed = false;
};

} // namespace wt
