// The edge watch: turning the hook's pointer reports into tuck-aways and
// reveals, the reveal timer's tick, and switching the watch off while the
// host application is inactive; and the key that reveals both windows.
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
// Grabs the reveal key of the settings (RevealKey) for the panel while the
// engine runs; a key that cannot be read or that another program holds is
// said once, and the engine runs without it.
void GrabRevealKey();
void LetGoRevealKey();
// WM_HOTKEY: the reveal key was pressed. Both tucked windows come out and
// stay until the pointer has been over them and leaves.
void RevealByKey();

} // namespace wt
