// Other programs' windows on an X server: lookup by class and title, outer
// rectangles that include the window manager's frame, moves that are their
// exact inverse, stacking, the window under a point, owners and the screen
// metrics. Plain Xlib; a window that vanishes makes a call fail, nothing more.
#pragma once

#include "platform/types.h"
#include "platform/window_rule.h"
#include "platform/x11/x11_atoms.h"

#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wt {

struct FrameExtents {
    int Left = 0, Right = 0, Top = 0, Bottom = 0;
};

// Offset of a configure request's position from the wanted outer corner,
// for a window of that gravity in a frame of those extents along one axis.
int GravityOffset(int gravity, int before, int after, bool horizontal);

class X11Desktop {
public:
    // The display stays the caller's; its errors must be watched (x11_errors.h).
    explicit X11Desktop(Display* display);

    Display* GetDisplay() const { return display_; }
    Window Root() const { return root_; }
    const X11Atoms& Atoms() const { return atoms_; }

    // A window manager that announces itself (_NET_SUPPORTING_WM_CHECK naming
    // a live window that names itself) runs on the screen.
    bool WindowManagerRunning();
    // Such a manager says which window is active (_NET_ACTIVE_WINDOW); without
    // one no window ever is.
    bool ActiveWindowKnown();
    // Any event but the ones HandleOwnEvents of the platform reads.
    static Bool IsStale(Display*, XEvent* event, XPointer);
    // The window the manager names active (_NET_ACTIVE_WINDOW); nothing for none.
    std::optional<Window> ActiveWindow();
    // Top-level client whose WM_CLASS class is className and, when given,
    // whose title is title, and that accept (when given) takes; the topmost
    // such window, or 0.
    Window Find(std::string_view className, std::optional<std::string_view> title,
                const std::function<bool(Window)>& accept = {});
    bool Exists(Window window);
    // Outer rectangle in root coordinates: border and frame included.
    std::optional<TRect> OuterRect(Window window);
    // Places the outer rectangle. With waitForEffect, returns once the server
    // (and a window manager, within one display frame) has carried it out.
    bool Move(Window window, const TRect& outer, bool waitForEffect);
    // A window whose client keeps one size (its minimum and maximum size
    // hints agree) cannot take another: the outer rectangle it can take
    // instead, frame and border (extraWidth, extraHeight) included, with the
    // edge that shows where it was asked.
    TRect FitFixedSize(Window window, const TRect& outer, int extraWidth, int extraHeight);
    bool Raise(Window window);
    // Waits, at most ReleaseTime, while the manager still frames a window
    // that is no longer shown or still marks it normal or iconic.
    void AwaitRelease(Window window);
    // Waits, at most ReleaseTime, while a manager runs and has not yet shown
    // a window that was asked to be shown.
    void AwaitShown(Window window);
    // The topmost client or pop-up under the point, its innermost child when
    // it has child windows there; the root window where there is none.
    Window WindowAt(TPoint point);
    // WM_TRANSIENT_FOR when set, the containing window for a child window, 0 for
    // a top-level window or one that does not exist.
    Window ParentOf(Window window);

    int ScreenWidth() const;
    // Height of the work area the window manager leaves, else of the screen.
    int WorkAreaHeight();
    // Height of the window manager's title bar (top frame extent), else 18.
    int CaptionHeight();

    std::optional<std::string> ClassOf(Window window);
    std::optional<std::string> TitleOf(Window window);
    // What a window rule can ask of the window; none when it is gone.
    std::optional<TWindowFacts> FactsOf(Window window);
    // Managed clients, then the root's other children: where top-level
    // windows are looked for, topmost first.
    std::vector<Window> TopLevelCandidates();

    // The running manager's _NET_WM_NAME (else WM_NAME); "" when none runs.
    std::string ManagerName();

    // --- Helpers shared with the take-over of windows (x11_takeover.h) -----
    std::optional<std::vector<unsigned long>> Longs(Window window, Atom property, Atom type);
    std::optional<FrameExtents> ExtentsOf(Window window);
    // WM_STATE as the manager set it; nothing when there is none.
    std::optional<unsigned long> WmStateOf(Window window);
    Window ParentWindow(Window window);

    static constexpr int DefaultCaptionHeight = 18;
    // How long a move under a window manager waits for its confirmation.
    static constexpr std::chrono::milliseconds FrameTime{17};
    // How long a window waits for the manager to show it or let it go.
    static constexpr std::chrono::milliseconds ReleaseTime{500};

private:
    // Polls, at most ReleaseTime, while the window exists unshown and not
    // override-redirect and waiting() holds.
    void AwaitWhile(Window window, const std::function<bool()>& waiting);

    struct Placement {
        int InsideX = 0, InsideY = 0; // root coordinates of the inside origin
        int Width = 0, Height = 0, Border = 0;
        Window Parent = None;
        bool Framed = false;     // managed and reparented into a frame
        bool Redirected = false; // a window manager handles its configure requests
        FrameExtents Frame;
        TRect Outer() const;
    };

    std::optional<Placement> Place(Window window);
    FrameExtents DerivedExtents(Window window, const Placement& placement);
    bool HasWmState(Window window);
    bool ManagerSupports(Atom hint);
    std::vector<Window> ChildrenOfRoot(); // topmost first
    std::vector<Window> ManagedClients(); // topmost first
    void WaitForConfigure(Window window, unsigned long serial, int x, int y, unsigned width,
                          unsigned height);

    Display* display_;
    Window root_;
    X11Atoms atoms_;
};

} // namespace wt
