// The services a desktop backend provides, one interface per concern: the
// desktop's windows and screen, our own windows' messages, timers and pump,
// sound, help, and the hook library that watches the pointer.
#pragma once

#include "platform/hot_key.h"
#include "platform/types.h"
#include "platform/window_rule.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace wt {

struct WindowMessage {
    WindowHandle Window = 0;
    std::uint32_t Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
};

using MessageHandler = std::function<void(const WindowMessage&)>;
using TimerId = std::uint32_t;

// Other programs' windows and the screen they stand on.
class WindowsDriver {
public:
    virtual ~WindowsDriver() = default;

    // Top-level window whose class is exactly className and, when a title is
    // given, whose title is exactly that; 0 when there is none.
    virtual WindowHandle FindWindow(std::string_view className,
                                    std::optional<std::string_view> title) = 0;
    virtual bool IsWindow(WindowHandle window) = 0;
    // Outer rectangle in screen pixels; all zeros for 0 or a vanished window.
    virtual TRect GetWindowRect(WindowHandle window) = 0;
    // Places the outer rectangle; false (and nothing moved) for 0 or a vanished window.
    virtual bool MoveWindow(WindowHandle window, int x, int y, int width, int height,
                            bool repaint) = 0;
    virtual bool BringWindowToTop(WindowHandle window) = 0;
    virtual int GetSystemMetrics(int index) = 0;
    // The monitors' rectangles in screen pixels; none where the desktop
    // tells of none (the screen then counts as one). A change of them is
    // told to our windows as WM_DISPLAYCHANGE.
    virtual std::vector<TRect> Monitors() { return {}; }
    // How the window is shown; Normal for 0 or a vanished window.
    virtual TShowState ShowStateOf(WindowHandle /*window*/) { return TShowState::Normal; }
    // SW_MAXIMIZE or SW_RESTORE (from maximized): returns once the desktop
    // has done it, or after a short time; false when it was not done.
    virtual bool ShowWindow(WindowHandle /*window*/, int /*command*/) { return false; }
    // Whether the window is on the workspace shown now (or on all of them).
    virtual bool IsWindowOnCurrentVirtualDesktop(WindowHandle /*window*/) { return true; }
    // Whether a pointer button is held down now (a drag, a selection).
    virtual bool PointerButtonDown() { return false; }
    // Whether the active window is another program's full-screen window
    // over the given monitor (a game, a video).
    virtual bool FullScreenOver(TRect /*monitor*/) { return false; }
    // Topmost window under a screen point, a child before its parent.
    virtual WindowHandle WindowFromPoint(TPoint point) = 0;
    // Parent of a child window, owner of a pop-up, 0 for none.
    virtual WindowHandle GetParent(WindowHandle window) = 0;
    // The top-level windows, topmost first, and what a window rule can ask
    // of each (none for 0 or a vanished window).
    virtual std::vector<WindowHandle> TopLevelWindows() = 0;
    virtual std::optional<TWindowFacts> FactsOf(WindowHandle window) = 0;
    // The add-in is leaving: every window that was moved off screen, or
    // taken from the window manager, goes back where it stood before, as it
    // was. Where moves are plain, there is nothing to do.
    virtual void ReleaseWindows() {}
    // The IDE's main window, once found: its program's windows, and windows
    // transient for them, count as the host's when one is active.
    virtual void SetHostWindow(WindowHandle /*window*/) {}
    // Called before one of our own top-level windows is shown again: returns
    // once the window manager has let go of the window since it was hidden,
    // or after a short time. A manager still holding a hidden window takes a
    // new map for part of the old showing and withdraws the window after it,
    // which would leave it hidden for good.
    virtual void AwaitWithdrawn(WindowHandle /*window*/) {}
    // Called before one of our own top-level windows is hidden: returns once
    // the window manager has shown it, or after a short time. A manager that
    // comes to a showing only after the hiding shows the window anyway, then
    // withdraws it, and may not show it at the next request.
    virtual void AwaitShown(WindowHandle /*window*/) {}
};

// Our own windows: their messages, timers, the pump, message boxes and
// whether the host is the active program.
class SystemDriver {
public:
    virtual ~SystemDriver() = default;

    // Makes one of our windows (nativeId: its native id, 0 if it has none)
    // known; posted and sent messages reach handler. Returns the handle under
    // which other code, the hook library included, reaches it.
    virtual WindowHandle AttachWindow(std::uintptr_t nativeId, std::string_view className,
                                      MessageHandler handler) = 0;
    virtual void DetachWindow(WindowHandle window) = 0;
    // Queues a message for one of our windows; false if the window is unknown.
    virtual bool PostMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
    // Delivers at once, bypassing the queue; false if the window is unknown.
    virtual bool SendMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
    // Handles every message that is waiting (timers that are due included), then returns.
    virtual void ProcessMessages() = 0;
    // Plain modal message box with one OK button.
    virtual void MessageBox(std::string_view text, std::string_view caption) = 0;
    // Whether another program's window is the active one now. Only then is a
    // deactivation of the host passed on: where the desktop cannot tell (no
    // window manager), or the manager gave the focus to no window (as xfwm4
    // and icewm do when our windows are hidden or taken from them), the host
    // counts as active.
    virtual bool AnotherProgramActive() { return true; }
    // Called with false once another program's window is active while the
    // host's application has lost the focus, and with true when it has it
    // again; a deactivation that waited for another window comes late.
    // False when the driver does not watch: the toolkit then follows the
    // user-interface framework's own state, asking AnotherProgramActive.
    virtual bool WatchActivation(std::function<void(bool)> listener) {
        (void)listener;
        return false;
    }

    // Makes key reach window as WM_HOTKEY (wParam id) wherever the focus
    // is, until it is unregistered; false when the desktop cannot, or
    // another program holds the key.
    virtual bool RegisterHotKey(WindowHandle window, int id, const THotKey& key) {
        (void)window, (void)id, (void)key;
        return false;
    }
    virtual void UnregisterHotKey(WindowHandle /*window*/, int /*id*/) {}

    // A repeating timer; an interval of 0 or less fires on every pass of the
    // message loop. Ticks run on the user-interface thread.
    virtual TimerId SetTimer(int intervalMs, std::function<void()> tick) = 0;
    virtual void KillTimer(TimerId timer) = 0;
    // Milliseconds since an arbitrary start, on the driver's clock.
    virtual std::int64_t TickCount() = 0;
};

class SoundDriver {
public:
    virtual ~SoundDriver() = default;
    // Starts a wave file; with SND_NOSTOP nothing is played while a sound plays.
    // False when nothing was started (unplayable file, busy device).
    virtual bool PlaySound(std::string_view fileName, unsigned flags) = 0;
};

class HelpDriver {
public:
    virtual ~HelpDriver() = default;
    // Shows the help file at a topic; false when the file or topic is unknown.
    virtual bool ShowHelp(std::string_view helpFile, std::string_view topic) = 0;
};

// The hook library: reports pointer positions to one of our windows.
class HookDriver {
public:
    virtual ~HookDriver() = default;
    virtual void SetHook(WindowHandle window) = 0;
    virtual void ResetHook() = 0;
};

} // namespace wt
