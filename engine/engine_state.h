// The engine's module-level state, which exists once: the two managed IDE
// windows and the edge watch's flags and last pointer position.
#pragma once

#include "engine/hidden_window.h"

#include <cstdint>
#include <vector>

namespace wt {

// The IDE main window (class TAppBuilder).
extern HiddenWindow DelphiWindow;
// The Object Inspector (class TPropertyInspector).
extern HiddenWindow InspectorWindow;

// The engine: Start succeeded and Stop has not run since.
extern bool EngineRunning;
// Counts the Starts and Stops: a move begun for one run is dropped when the
// run ended in the message pump before the slide.
extern std::uint32_t EngineRun;
// The monitors the windows' places were measured on, and those their
// restore rectangles were recorded on.
extern std::vector<TRect> MeasuredMonitors;
extern std::vector<TRect> RestoreMonitors;
// The unusable settings file was reported this session.
extern bool SettingsProblemTold;

// The edge watch.
extern bool HookActive;       // the hook is set and has not been reset since
extern bool DisabledByFocus;  // the watch was switched off when the host was deactivated
extern bool InHookMessage;    // a pointer message is being handled
extern std::int32_t PointerX; // last pointer position reported by the hook
extern std::int32_t PointerY;

// Puts every field back to its load-time value (all zeros and false).
void ResetEngineState();

} // namespace wt
