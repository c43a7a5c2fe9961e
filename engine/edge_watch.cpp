#include "engine/edge_watch.h"

#include "engine/discovery.h"
#include "engine/engine_state.h"
#include "engine/main.h"
#include "engine/moves.h"
#include "platform/platform.h"
#include "settings/settings_store.h"
#include "toolkit/controls/timer.h"

#include <algorithm>

namespace wt {

namespace {

void EnableRevealTimer(bool on) {
    if (Panel)
        Panel->timerWait->SetEnabled(on);
}

// Clears InHookMessage however the handler is left.
struct HookMessageGuard {
    HookMessageGuard() { InHookMessage = true; }
    ~HookMessageGuard() { InHookMessage = false; }
    HookMessageGuard(const HookMessageGuard&) = delete;
    HookMessageGuard& operator=(const HookMessageGuard&) = delete;
};

// Whether the pointer is on another monitor than the one a window hangs
// from: the edge of that one is not there.
bool OnAnotherMonitor(const TRect& own) {
    if (own.Contains(PointerX, PointerY))
        return false;
    return std::any_of(MeasuredMonitors.begin(), MeasuredMonitors.end(),
                       [](const TRect& m) { return m.Contains(PointerX, PointerY); });
}

bool InInspectorStrip() {
    if (OnAnotherMonitor(InspectorWindow.Monitor))
        return false;
    if (Settings.InspectorEdge == TEdge::Right)
        return PointerX >= InspectorWindow.HiddenRect.Left;
    return PointerX <= InspectorWindow.HiddenRect.Right;
}

bool InDelphiStrip() {
    const TRect& strip = DelphiWindow.HiddenRect;
    return PointerY <= strip.Bottom && PointerX >= strip.Left && PointerX < strip.Right &&
           !OnAnotherMonitor(DelphiWindow.Monitor);
}

// Nothing slides where the window is not to be touched now: on a monitor
// where a full-screen program (a game, a video) is in front, its edge is the
// program's; on a workspace not shown, a reveal would take the user there.
bool LeftAlone(const HiddenWindow& window) {
    WindowsDriver& windows = ThePlatform().Windows();
    return windows.FullScreenOver(window.Monitor) ||
           !windows.IsWindowOnCurrentVirtualDesktop(window.Handle);
}

// The pointer has left the revealed main window's rows, or its monitor.
bool BelowOrBesideDelphi() {
    const TRect& shown = DelphiWindow.ShownRect;
    return PointerY > shown.Bottom || PointerX < shown.Left || PointerX >= shown.Right;
}

} // namespace

void StartHook(WindowHandle window) {
    HookActive = true;
    ThePlatform().Hook().SetHook(window);
}

void StopHook() {
    HookActive = false;
    ThePlatform().Hook().ResetHook();
}

void WatchMouse(std::intptr_t lParam) {
    // Positions the hook delivers after Stop (already on their way, or
    // handled in a move's pump) change nothing.
    if (InHookMessage || !EngineRunning)
        return;
    HookMessageGuard guard;
    const std::uint32_t run = EngineRun;
    const auto bits = static_cast<std::uint32_t>(lParam);
    PointerX = static_cast<std::int32_t>(bits & 0xFFFF);
    PointerY = static_cast<std::int32_t>((bits >> 16) & 0xFFFF);

    if (Settings.HideDelphi) {
        if (DelphiWindow.Hidden) {
            if (InDelphiStrip())
                EnableRevealTimer(true);
        } else if (DelphiWindow.KeyRevealed) {
            DelphiWindow.KeyRevealed = BelowOrBesideDelphi();
        } else if (BelowOrBesideDelphi()) {
            // The height test comes first: it settles almost every message
            // without asking the display server for the window under the pointer.
            WindowsDriver& platform = ThePlatform().Windows();
            if (platform.GetParent(platform.WindowFromPoint({PointerX, PointerY})) !=
                    DelphiWindow.Handle &&
                !LeftAlone(DelphiWindow) &&
                MoveDelphi(DelphiWindow.HiddenRect, Settings.Motion, Settings.MoveInSound, false,
                           TMoveScope::ThisRun))
                DelphiWindow.Hidden = true;
        }
    }
    if (EngineRun != run)
        return; // stopped while the main window moved

    if (Settings.HideInspector) {
        if (InspectorWindow.Hidden) {
            if (InInspectorStrip())
                EnableRevealTimer(true);
        } else {
            bool left = Settings.InspectorEdge == TEdge::Right
                            ? PointerX < InspectorWindow.ShownRect.Left
                            : PointerX > InspectorWindow.ShownRect.Right;
            left = left || OnAnotherMonitor(InspectorWindow.Monitor);
            if (InspectorWindow.KeyRevealed)
                InspectorWindow.KeyRevealed = left;
            else if (left && !LeftAlone(InspectorWindow) &&
                     MoveInspector(InspectorWindow.HiddenRect, Settings.Motion,
                                   Settings.MoveInSound, false, TMoveScope::ThisRun))
                InspectorWindow.Hidden = true;
        }
    }
}

void RevealTimerTick() {
    if (!EngineRunning) {
        EnableRevealTimer(false);
        return;
    }
    // A drag or a selection passing over the strip: the reveal waits for
    // the button to be let go, the pointer still there at a later tick.
    if (ThePlatform().Windows().PointerButtonDown())
        return;
    const std::uint32_t run = EngineRun;
    RefindWindows();
    if (Settings.HideInspector && InInspectorStrip() && !LeftAlone(InspectorWindow) &&
        MoveInspector(InspectorWindow.ShownRect, Settings.Motion, Settings.MoveOutSound, true,
                      TMoveScope::ThisRun))
        InspectorWindow.Hidden = InspectorWindow.KeyRevealed = false;
    if (EngineRun == run && Settings.HideDelphi && InDelphiStrip() && !LeftAlone(DelphiWindow) &&
        MoveDelphi(DelphiWindow.ShownRect, Settings.Motion, Settings.MoveOutSound, true,
                   TMoveScope::ThisRun))
        DelphiWindow.Hidden = DelphiWindow.KeyRevealed = false;
    EnableRevealTimer(false);
}

void ActivateApp(std::uintptr_t wParam) {
    if (!Settings.DisableOnFocusLoss || !Panel)
        return;
    if (wParam == 0 && HookActive) {
        Panel->SetCaption(FromStd(PanelCaption + " - Disabled"));
        DisabledByFocus = true;
        StopHook();
    } else if (wParam == 1 && DisabledByFocus) {
        Panel->SetCaption(FromStd(PanelCaption));
        DisabledByFocus = false;
        // A Stop while the host was inactive left the engine idle: the
        // watch then stays off.
        if (EngineRunning)
            StartHook(Panel->Handle());
    }
}

namespace {
constexpr int RevealKeyId = 1;
} // namespace

void GrabRevealKey() {
    if (!Panel || Settings.RevealKey.empty())
        return;
    std::string why;
    if (!ParseHotKey(Settings.RevealKey, &why)) {
        ShowOops("The reveal key \"" + Settings.RevealKey + "\" cannot be read: " + why +
                 ".  Wingtucker runs without it.");
        return;
    }
    if (!ThePlatform().System().RegisterHotKey(Panel->Handle(), RevealKeyId,
                                               *Settings.RevealHotKey))
        ShowOops("The reveal key " + Settings.RevealKey +
                 " is held by another program.  Wingtucker runs without it.");
}

void LetGoRevealKey() {
    if (Panel)
        ThePlatform().System().UnregisterHotKey(Panel->Handle(), RevealKeyId);
}

void RevealByKey() {
    if (!EngineRunning || InHookMessage)
        return;
    const std::uint32_t run = EngineRun;
    RefindWindows();
    if (Settings.HideInspector && InspectorWindow.Hidden && !LeftAlone(InspectorWindow) &&
        MoveInspector(InspectorWindow.ShownRect, Settings.Motion, Settings.MoveOutSound, true,
                      TMoveScope::ThisRun)) {
        InspectorWindow.Hidden = false;
        InspectorWindow.KeyRevealed = true;
    }
    if (EngineRun == run && Settings.HideDelphi && DelphiWindow.Hidden &&
        !LeftAlone(DelphiWindow) &&
        MoveDelphi(DelphiWindow.ShownRect, Settings.Motion, Settings.MoveOutSound, true,
                   TMoveScope::ThisRun)) {
        DelphiWindow.Hidden = false;
        DelphiWindow.KeyRevealed = true;
    }
}

} // namespace wt
