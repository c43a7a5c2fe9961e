// Other programs' windows on the real desktop, through Xlib on a display
// connection of our own: lookup, rectangles, checked moves (taking a window
// from a manager that keeps windows on screen), z-order, metrics, the window
// under a point, owners; and the root's events that tell which window is active.
#pragma once

#include "platform/drivers.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

struct _XDisplay;

namespace wt {

class X11Desktop;
class X11Monitors;
class X11Takeover;
class TuckGuard;

// Thrown when there is no X display to work on (a pure Wayland session).
class X11Unavailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class X11Windows : public WindowsDriver {
public:
    // Connects to displayName ("" for $DISPLAY); throws X11Unavailable when that fails.
    explicit X11Windows(const std::string& displayName);
    ~X11Windows() override;
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;

    X11Desktop& Desktop() { return *desktop_; }
    X11Takeover& Takeover() { return *takeover_; }
    // The checked moves: the way the manager is dealt with, and its refusals.
    TuckGuard& Guard() { return *guard_; }
    _XDisplay* GetDisplay() const { return display_; }
    bool Usable() const;

    // What the windows need of the rest of the platform.
    struct Hooks {
        std::function<void()> OwnChange;               // the manager may move the focus now
        std::function<void(const std::string&)> Tell;  // a message for the user, later
        std::function<bool(unsigned long)> OwnWindow;  // one of our attached windows
        std::function<bool(unsigned long)> HostWindow; // any window of the host's toolkit
        std::function<void()> ActiveChanged;           // _NET_ACTIVE_WINDOW changed
        std::function<void()> MonitorsChanged;         // a monitor added, removed or moved
    };
    void SetHooks(Hooks hooks);

    // The active window when it is another program's, else none.
    std::optional<unsigned long> ActiveOtherWindow();
    // Whether the active window is the host's: ours, or the IDE's.
    bool HostProgramActive();
    // Reads the root's events from the connection (call when it is readable,
    // and before the loop sleeps: our own round trips queue events too).
    void HandleEvents();
    bool EventsQueued() const;
    // Asks for the root's events that HandleEvents reads.
    void WatchRoot();

    WindowHandle FindWindow(std::string_view className,
                            std::optional<std::string_view> title) override;
    bool IsWindow(WindowHandle window) override;
    TRect GetWindowRect(WindowHandle window) override;
    bool MoveWindow(WindowHandle window, int x, int y, int width, int height,
                    bool repaint) override;
    bool BringWindowToTop(WindowHandle window) override;
    int GetSystemMetrics(int index) override;
    std::vector<TRect> Monitors() override;
    TShowState ShowStateOf(WindowHandle window) override;
    bool ShowWindow(WindowHandle window, int command) override;
    bool IsWindowOnCurrentVirtualDesktop(WindowHandle window) override;
    bool PointerButtonDown() override;
    bool FullScreenOver(TRect monitor) override;
    WindowHandle WindowFromPoint(TPoint point) override;
    WindowHandle GetParent(WindowHandle window) override;
    std::vector<WindowHandle> TopLevelWindows() override;
    std::optional<TWindowFacts> FactsOf(WindowHandle window) override;
    void ReleaseWindows() override;
    void SetHostWindow(WindowHandle window) override { hostWindow_ = window; }
    void AwaitWithdrawn(WindowHandle window) override;
    void AwaitShown(WindowHandle window) override;

private:
    class Desk;
    // Records, on the window too, where it stood before its first move.
    void NoteHome(unsigned long window);
    void ForgetHome(unsigned long window);
    // One of the IDE's windows: of the main window's client, or transient for one.
    bool IsHostProgram(unsigned long window);
    // Reads the monitors after an event that may have changed them, and
    // tells when they did.
    void NoteMonitors();
    // The window says it belongs to another process than ours.
    bool OfAnotherProcess(unsigned long window);
    // _NET_CURRENT_DESKTOP; none without a manager that has workspaces.
    std::optional<unsigned long> ShownWorkspace();

    _XDisplay* display_ = nullptr; // Xlib's Display
    bool connectionLost_ = false;
    Hooks hooks_;
    std::unique_ptr<X11Desktop> desktop_;
    std::unique_ptr<X11Takeover> takeover_;
    std::unique_ptr<Desk> desk_;
    std::unique_ptr<TuckGuard> guard_;
    std::unique_ptr<X11Monitors> monitors_;
    std::vector<TRect> layout_; // the monitors as last told
    unsigned long hostWindow_ = 0;
    std::map<unsigned long, TRect> homes_; // windows moved from their place, and that place
};

} // namespace wt
