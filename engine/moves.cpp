#include "engine/moves.h"

#include "engine/discovery.h"
#include "engine/engine_state.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

#include <cstring>

namespace wt {

namespace {

bool MoveManaged(const HiddenWindow& window, TRect target, TMotion motion,
                 std::string_view soundName, bool bringToTop, TMoveScope scope) {
    Platform& platform = ThePlatform();
    const std::uint32_t run = EngineRun;
    if (bringToTop)
        platform.Windows().BringWindowToTop(window.Handle);
    // Lets pending messages and timer ticks run before the slide starts.
    platform.System().ProcessMessages();
    // A Stop handled in the pump has put the windows back: a tuck or reveal
    // of the run it ended must not take them away again.
    if (scope == TMoveScope::ThisRun && EngineRun != run)
        return false;
    // The handle and the step count are read after the pump, which may have
    // changed them.
    const bool animated = motion == TMotion::Animated;
    SlideWindow(window.Handle, target,
                animated ? static_cast<std::uint8_t>(Settings.AnimateSpeed) : 1, soundName);
    return true;
}

// Copies name into buffer, zero-terminated. False when the name would not
// arrive whole (too long, or holding a zero character): a cut name could
// denote another file, so it is better not played at all.
bool CopySoundName(std::string_view name, char (&buffer)[SoundNameBufferSize]) {
    if (name.size() >= SoundNameBufferSize || name.find('\0') != std::string_view::npos)
        return false;
    std::memcpy(buffer, name.data(), name.size());
    buffer[name.size()] = '\0';
    return true;
}

// Adds with wrap-around: a one-step delta can exceed 32 bits, and the sum
// must then still land exactly on the target edge.
std::int32_t Advance(std::int32_t edge, std::int32_t delta) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(edge) +
                                     static_cast<std::uint32_t>(delta));
}

} // namespace

bool MoveInspector(TRect target, TMotion motion, std::string_view soundName, bool bringToTop,
                   TMoveScope scope) {
    RefindInspector();
    return MoveManaged(InspectorWindow, target, motion, soundName, bringToTop, scope);
}

bool MoveDelphi(TRect target, TMotion motion, std::string_view soundName, bool bringToTop,
                TMoveScope scope) {
    return MoveManaged(DelphiWindow, target, motion, soundName, bringToTop, scope);
}

void SlideWindow(WindowHandle handle, TRect target, std::uint8_t steps,
                 std::string_view soundName) {
    Platform& platform = ThePlatform();
    TRect cur = platform.Windows().GetWindowRect(handle);
    const std::int32_t dL = StepDelta(cur.Left, target.Left, steps);
    const std::int32_t dR = StepDelta(cur.Right, target.Right, steps);
    const std::int32_t dT = StepDelta(cur.Top, target.Top, steps);
    const std::int32_t dB = StepDelta(cur.Bottom, target.Bottom, steps);

    char buffer[SoundNameBufferSize];
    if (Settings.WindowSounds && !soundName.empty() && CopySoundName(soundName, buffer))
        platform.Sound().PlaySound(buffer, SND_ASYNC | SND_NODEFAULT | SND_NOSTOP);

    if (Settings.Motion == TMotion::Animated && steps > 0) {
        for (int i = 0; i < steps; ++i) {
            cur.Left = Advance(cur.Left, dL);
            cur.Right = Advance(cur.Right, dR);
            cur.Top = Advance(cur.Top, dT);
            cur.Bottom = Advance(cur.Bottom, dB);
            MoveToRect(handle, cur);
        }
    }
    MoveToRect(handle, target);
}

std::int32_t StepDelta(std::int32_t from, std::int32_t to, std::uint8_t steps) {
    if (steps == 0)
        return 0;
    // In 64 bits, so that edges far apart cannot overflow the difference;
    // the division truncates toward zero.
    const std::int64_t diff = std::int64_t{to} - std::int64_t{from};
    return static_cast<std::int32_t>(diff / steps);
}

void MoveToRect(WindowHandle handle, TRect r) {
    const auto width = static_cast<std::int32_t>(static_cast<std::uint32_t>(r.Right) -
                                                 static_cast<std::uint32_t>(r.Left));
    const auto height = static_cast<std::int32_t>(static_cast<std::uint32_t>(r.Bottom) -
                                                  static_cast<std::uint32_t>(r.Top));
    ThePlatform().Windows().MoveWindow(handle, r.Left, r.Top, width, height, true);
}

} // namespace wt
