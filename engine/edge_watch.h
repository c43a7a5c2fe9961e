// The edge watch: turning the hook's pointer reports into tuck-aways and
// reveals, the reveal timer's tick, and switching the watch off while the
// host application is inactive.
#pragma once

#include "platform/types.h"

#include <cstdint>

namespace wt {

// Sets the hook for the panel's window.
void StartHook(WindowHandle window);
// Resets the hook; harmless when none is set.
void StopHook();
// A WM_WATCHMOUSE message: x in bits 0-15 of lParam, y in bits 16-31.
void WatchMouse(std::intptr_t lParam);
// The tick of the reveal timer timerWait.
void RevealTimerTick();
// WM_ACTIVATEAPP: wParam 1 = the host application was activated, 0 = deactivated.
void ActivateApp(std::uintptr_t wParam);

} // namespace wt
