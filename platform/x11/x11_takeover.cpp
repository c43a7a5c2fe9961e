#include "platform/x11/x11_takeover.h"

#include "platform/x11/x11_errors.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <thread>

namespace wt {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int MarkLength = 8; // frame left, right, top, bottom; place before: l, t, r, b

// The manager's hand-over of the focus follows its release of the window
// within this time; later changes are someone's choice.
constexpr std::chrono::milliseconds FocusKeptFor{250};

long Signed(unsigned long value) { return static_cast<long>(static_cast<std::int32_t>(value)); }

} // namespace

template <class Done>
bool X11Takeover::WaitFor(Done done) {
    const auto deadline = Clock::now() + ManagerTime;
    for (;;) {
        if (done())
            return true;
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
}

std::vector<Window> X11Takeover::TakenWindows() const {
    std::vector<Window> windows;
    for (const auto& [window, taken] : taken_)
        windows.push_back(window);
    return windows;
}

void X11Takeover::Mark(Window window, const Taken& taken) {
    const long values[MarkLength] = {taken.Frame.Left,   taken.Frame.Right,  taken.Frame.Top,
                                     taken.Frame.Bottom, taken.Before.Left,  taken.Before.Top,
                                     taken.Before.Right, taken.Before.Bottom};
    XChangeProperty(desktop_.GetDisplay(), window, desktop_.Atoms().WingtuckerTaken, XA_CARDINAL,
                    32, PropModeReplace, reinterpret_cast<const unsigned char*>(values),
                    MarkLength);
}

std::optional<X11Takeover::Taken> X11Takeover::ReadMark(Window window) {
    auto values = desktop_.Longs(window, desktop_.Atoms().WingtuckerTaken, XA_CARDINAL);
    if (!values || values->size() != MarkLength)
        return std::nullopt;
    auto frame = [&](int i) { return static_cast<int>(std::min((*values)[i], 10000ul)); };
    Taken taken;
    taken.Frame = {frame(0), frame(1), frame(2), frame(3)};
    taken.Before = {static_cast<std::int32_t>(Signed((*values)[4])),
                    static_cast<std::int32_t>(Signed((*values)[5])),
                    static_cast<std::int32_t>(Signed((*values)[6])),
                    static_cast<std::int32_t>(Signed((*values)[7]))};
    if (taken.Before.Width() <= 0 || taken.Before.Height() <= 0)
        return std::nullopt; // not a mark we wrote
    return taken;
}

bool X11Takeover::Take(Window window) {
    Display* display = desktop_.GetDisplay();
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable ||
        attributes.override_redirect)
        return false; // a hidden window stays hidden; a pop-up is no one's to take
    const auto outer = desktop_.OuterRect(window);
    int insideX = 0, insideY = 0;
    Window child = None;
    if (!outer ||
        !XTranslateCoordinates(display, window, desktop_.Root(), 0, 0, &insideX, &insideY, &child))
        return false;
    Taken taken;
    taken.Before = *outer;
    const int b = attributes.border_width;
    taken.Frame = {insideX - b - outer->Left, outer->Right - (insideX + attributes.width + b),
                   insideY - b - outer->Top, outer->Bottom - (insideY + attributes.height + b)};
    taken.NetState = desktop_.Longs(window, desktop_.Atoms().NetWmState, XA_ATOM);
    taken.Desktop = desktop_.Longs(window, desktop_.Atoms().NetWmDesktop, XA_CARDINAL);
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    taken.HadFocus = focus == window || (focus != None && OwnWindow && OwnWindow(focus));

    X11ErrorTrap trap(display);
    XWithdrawWindow(display, window, DefaultScreen(display));
    XSync(display, False);
    const Window root = desktop_.Root();
    // The manager lets go: the window back on the root, its WM_STATE withdrawn or gone.
    WaitFor([&] {
        auto state = desktop_.WmStateOf(window);
        return desktop_.ParentWindow(window) == root && (!state || *state == WithdrawnState);
    });
    XSetWindowAttributes change{};
    change.override_redirect = True;
    XChangeWindowAttributes(display, window, CWOverrideRedirect, &change);
    // It has no frame now; readers of the extents would count one.
    XDeleteProperty(display, window, desktop_.Atoms().NetFrameExtents);
    Mark(window, taken);
    if (trap.Failed())
        return false;
    taken_[window] = taken;
    return true;
}

bool X11Takeover::Place(Window window, const TRect& asked) {
    Display* display = desktop_.GetDisplay();
    const bool fresh = !IsTaken(window);
    if (fresh && !Take(window))
        return false;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return false;
    const int b = attributes.border_width;
    const TRect outer = desktop_.FitFixedSize(window, asked, 2 * b, 2 * b);
    X11ErrorTrap trap(display);
    // Override-redirect: the server carries this out as asked, no manager between.
    XMoveResizeWindow(display, window, outer.Left, outer.Top,
                      static_cast<unsigned>(std::max(1, outer.Width() - 2 * b)),
                      static_cast<unsigned>(std::max(1, outer.Height() - 2 * b)));
    if (fresh) {
        XMapRaised(display, window);
        // The manager handed the focus elsewhere when it let the window go.
        if (taken_[window].HadFocus) {
            XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
            focusKept_ = window;
            focusKeptUntil_ = Clock::now() + FocusKeptFor;
        }
    }
    return !trap.Failed();
}

bool X11Takeover::MapForManager(Window window, const Taken& taken, const TRect& outer) {
    Display* display = desktop_.GetDisplay();
    const X11Atoms& atoms = desktop_.Atoms();
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return false;
    X11ErrorTrap trap(display);
    XUnmapWindow(display, window);
    const FrameExtents& frame = taken.Frame;
    const int b = attributes.border_width;
    XSizeHints original{};
    long supplied = 0;
    const bool hadHints = XGetWMNormalHints(display, window, &original, &supplied) != 0;
    const int gravity =
        hadHints && (original.flags & PWinGravity) ? original.win_gravity : NorthWestGravity;
    const int x = outer.Left + GravityOffset(gravity, frame.Left, frame.Right, true);
    const int y = outer.Top + GravityOffset(gravity, frame.Top, frame.Bottom, false);
    // Still override-redirect: placed at once, before the manager sees it.
    XMoveResizeWindow(
        display, window, x, y,
        static_cast<unsigned>(std::max(1, outer.Width() - frame.Left - frame.Right - 2 * b)),
        static_cast<unsigned>(std::max(1, outer.Height() - frame.Top - frame.Bottom - 2 * b)));
    // A position the user chose: managers take it as it is instead of placing the window.
    XSizeHints placed = hadHints ? original : XSizeHints{};
    placed.flags |= USPosition | PPosition;
    placed.x = x;
    placed.y = y;
    XSetWMNormalHints(display, window, &placed);
    XSetWindowAttributes change{};
    change.override_redirect = False;
    XChangeWindowAttributes(display, window, CWOverrideRedirect, &change);
    if (taken.NetState)
        XChangeProperty(display, window, atoms.NetWmState, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(taken.NetState->data()),
                        static_cast<int>(taken.NetState->size()));
    if (taken.Desktop && !taken.Desktop->empty())
        XChangeProperty(display, window, atoms.NetWmDesktop, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(taken.Desktop->data()), 1);
    XDeleteProperty(display, window, atoms.WingtuckerTaken);
    XMapWindow(display, window);
    XSync(display, False);
    const Window root = desktop_.Root();
    const bool framed = frame.Left || frame.Right || frame.Top || frame.Bottom;
    // Given back means shown again, as it was when it was taken. Metacity
    // frames a window and sets its state well before it maps it; until then
    // its outer rectangle does not read back right, and a tuck that follows
    // at once could not take it: moved through the manager, its clamp would
    // pass for a refusal.
    const bool managed = WaitFor([&] {
        auto state = desktop_.WmStateOf(window);
        XWindowAttributes now;
        return state && *state == NormalState &&
               (!framed || (desktop_.ParentWindow(window) != root &&
                            desktop_.ExtentsOf(window).has_value())) &&
               XGetWindowAttributes(display, window, &now) && now.map_state == IsViewable;
    });
    if (hadHints)
        XSetWMNormalHints(display, window, &original);
    else
        XDeleteProperty(display, window, XA_WM_NORMAL_HINTS);
    return !trap.Failed() && managed;
}

bool X11Takeover::GiveBack(Window window, const TRect& outer) {
    auto it = taken_.find(window);
    if (it == taken_.end())
        return false;
    const Taken taken = it->second;
    taken_.erase(it);
    if (!MapForManager(window, taken, outer) && !desktop_.Exists(window))
        return false;
    // Checked, not assumed: a manager that placed it elsewhere is asked once more.
    if (desktop_.OuterRect(window) != std::optional<TRect>(outer))
        desktop_.Move(window, outer, true);
    return true;
}

bool X11Takeover::Activate(Window window) {
    if (!IsTaken(window))
        return false;
    X11ErrorTrap trap(desktop_.GetDisplay());
    XSetInputFocus(desktop_.GetDisplay(), window, RevertToPointerRoot, CurrentTime);
    return !trap.Failed();
}

void X11Takeover::KeepFocus() {
    if (focusKept_ == None)
        return;
    const Window window = focusKept_;
    if (Clock::now() >= focusKeptUntil_ || !IsTaken(window)) {
        focusKept_ = None;
        return;
    }
    Display* display = desktop_.GetDisplay();
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    if (focus == window || IsTaken(focus) || (OwnWindow && focus != None && OwnWindow(focus)))
        return;
    X11ErrorTrap trap(display);
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
}

bool X11Takeover::OnShownWorkspace(Window window) const {
    auto it = taken_.find(window);
    if (it == taken_.end() || !it->second.Desktop || it->second.Desktop->empty() || !workspace_)
        return true;
    const unsigned long own = it->second.Desktop->front();
    return own == AllWorkspaces || own == *workspace_;
}

void X11Takeover::ShowWorkspace(std::optional<unsigned long> current) {
    workspace_ = current;
    Display* display = desktop_.GetDisplay();
    X11ErrorTrap trap(display);
    for (const auto& [window, taken] : taken_) {
        if (OnShownWorkspace(window))
            XMapRaised(display, window);
        else
            XUnmapWindow(display, window);
    }
    XFlush(display);
}

void X11Takeover::GiveBackAll() {
    while (!taken_.empty()) {
        const auto [window, taken] = *taken_.begin();
        GiveBack(window, taken.Before);
    }
}

bool X11Takeover::RecoverLeftover(Window window) {
    if (window == None || IsTaken(window))
        return false;
    auto taken = ReadMark(window);
    if (!taken)
        return false;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(desktop_.GetDisplay(), window, &attributes))
        return false;
    if (!attributes.override_redirect) { // someone gave it back already
        XDeleteProperty(desktop_.GetDisplay(), window, desktop_.Atoms().WingtuckerTaken);
        return false;
    }
    taken_[window] = *taken;
    return GiveBack(window, taken->Before);
}

} // namespace wt
