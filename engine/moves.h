// Moving a managed window to a rectangle: at once, or animated through a
// fixed number of intermediate rectangles, with an optional wave sound that
// starts before the window moves.
#pragma once

#include "platform/types.h"
#include "settings/settings_store.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace wt {

// Size of the zero-terminated buffer a sound name is handed over in; a name
// that does not fit whole is not played.
inline constexpr std::size_t SoundNameBufferSize = 100;

// Whether a move still has to happen when the engine's run that asked for it
// ended (a Stop handled in the message pump before the slide).
enum class TMoveScope {
    Always,  // bringing windows back: Stop's own moves, lost-window recovery
    ThisRun, // tucks and reveals of the running engine: dropped once it stopped
};

// Moves the Object Inspector to target, finding it again first when its
// handle has gone stale: at once, or sliding in AnimateSpeed steps. False
// when the move was dropped (its run ended).
bool MoveInspector(TRect target, TMotion motion, std::string_view soundName, bool bringToTop,
                   TMoveScope scope = TMoveScope::Always);

// The same for the IDE main window, which is never looked up again here.
bool MoveDelphi(TRect target, TMotion motion, std::string_view soundName, bool bringToTop,
                TMoveScope scope = TMoveScope::Always);

// Plays soundName (when sounds are on), then, with animation on, moves the
// window steps times towards target and always ends with a move onto target.
void SlideWindow(WindowHandle handle, TRect target, std::uint8_t steps, std::string_view soundName);

// Per-step increment from from to to, truncated toward zero (0 for 0 steps).
std::int32_t StepDelta(std::int32_t from, std::int32_t to, std::uint8_t steps);

// Places the window's outer rectangle on r and has it repainted.
void MoveToRect(WindowHandle handle, TRect r);

} // namespace wt
