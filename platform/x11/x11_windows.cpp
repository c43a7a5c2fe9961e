#include "platform/x11/x11_windows.h"

#include "platform/tuck_guard.h"
#include "platform/x11/x11_desktop.h"
#include "platform/x11/x11_errors.h"
#include "platform/x11/x11_homes.h"
#include "platform/x11/x11_monitors.h"
#include "platform/x11/x11_show_states.h"
#include "platform/x11/x11_takeover.h"

#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace wt {

// The guard's view of the X desktop: moves through the manager, or past it
// for a window taken from it while it stands off screen.
class X11Windows::Desk : public TuckDesk {
public:
    explicit Desk(X11Windows& windows) : w_(windows) {}

    std::string ManagerName() override { return w_.desktop_->ManagerName(); }
    TRect Screen() override {
        Display* display = w_.display_;
        return {0, 0, DisplayWidth(display, DefaultScreen(display)),
                DisplayHeight(display, DefaultScreen(display))};
    }
    std::optional<TRect> Outer(WindowHandle window) override {
        return w_.desktop_->OuterRect(static_cast<Window>(window));
    }
    bool Place(WindowHandle handle, TRect target, TuckWay way) override {
        const auto window = static_cast<Window>(handle);
        // A taken or moved window may make the manager move the focus.
        struct Noted {
            X11Windows& W;
            explicit Noted(X11Windows& w) : W(w) { Note(); }
            ~Noted() { Note(); }
            void Note() {
                if (W.hooks_.OwnChange)
                    W.hooks_.OwnChange();
            }
        } noted(w_);
        X11Takeover& takeover = *w_.takeover_;
        if (way == TuckWay::TakeFromManager) {
            if (takeover.Place(window, target))
                return true;
            if (takeover.IsTaken(window))
                return false;
            // Hidden, or a pop-up of its own: moved as any other window.
        } else if (takeover.IsTaken(window)) {
            return takeover.GiveBack(window, target);
        }
        return w_.desktop_->Move(window, target, true);
    }
    void Pause(int milliseconds) override {
        XSync(w_.display_, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    void Tell(const std::string& text) override {
        if (w_.hooks_.Tell)
            w_.hooks_.Tell(text);
    }

private:
    X11Windows& w_;
};

namespace {
void ConnectionLost(Display*, void* lost) { *static_cast<bool*>(lost) = true; }
} // namespace

X11Windows::X11Windows(const std::string& displayName) {
    display_ = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!display_) {
        const char* env = std::getenv("DISPLAY");
        std::string which = !displayName.empty() ? displayName : env && *env ? env : "";
        throw X11Unavailable("Wingtucker needs an X11 session: " +
                             (which.empty() ? std::string("no X display is set (DISPLAY is empty).")
                                            : "the X display \"" + which + "\" cannot be opened."));
    }
    WatchDisplayErrors(display_);
    // A broken connection makes every window operation fail instead of ending the host.
    XSetIOErrorExitHandler(display_, ConnectionLost, &connectionLost_);
    desktop_ = std::make_unique<X11Desktop>(display_);
    takeover_ = std::make_unique<X11Takeover>(*desktop_);
    desk_ = std::make_unique<Desk>(*this);
    guard_ = std::make_unique<TuckGuard>(*desk_);
    monitors_ = std::make_unique<X11Monitors>(display_, desktop_->Root());
}

X11Windows::~X11Windows() {
    monitors_.reset();
    guard_.reset();
    desk_.reset();
    takeover_.reset();
    desktop_.reset();
    if (Usable())
        XCloseDisplay(display_);
    UnwatchDisplayErrors(display_);
}

void X11Windows::SetHooks(Hooks hooks) {
    hooks_ = std::move(hooks);
    takeover_->OwnWindow = [this](Window window) {
        return hooks_.OwnWindow && hooks_.OwnWindow(window);
    };
}

// Once the connection is broken no request may be made on it at all: Xlib
// prints a line for each one.
bool X11Windows::Usable() const {
    return display_ && !connectionLost_ && !xcb_connection_has_error(XGetXCBConnection(display_));
}

void X11Windows::WatchRoot() {
    // Activation requests go to the root for the manager, and to every
    // client listening there; a taken window has no manager to answer.
    // The root's properties tell when another window becomes active.
    if (!Usable())
        return;
    XSelectInput(display_, desktop_->Root(), SubstructureNotifyMask | PropertyChangeMask);
    monitors_->Watch();
    layout_ = monitors_->Read();
    takeover_->ShowWorkspace(ShownWorkspace());
}

bool X11Windows::EventsQueued() const {
    return Usable() && XEventsQueued(display_, QueuedAlready) > 0;
}

void X11Windows::HandleEvents() {
    if (!Usable())
        return;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == ClientMessage &&
            event.xclient.message_type == desktop_->Atoms().NetActiveWindow) {
            takeover_->Activate(event.xclient.window);
        } else if (event.type == PropertyNotify &&
                   event.xproperty.atom == desktop_->Atoms().NetActiveWindow) {
            takeover_->KeepFocus();
            if (hooks_.ActiveChanged)
                hooks_.ActiveChanged();
        } else if (event.type == PropertyNotify &&
                   event.xproperty.atom == desktop_->Atoms().NetCurrentDesktop) {
            takeover_->ShowWorkspace(ShownWorkspace());
        } else if (monitors_->MayHaveChanged(event)) {
            NoteMonitors();
        }
    }
    XFlush(display_);
}

std::optional<unsigned long> X11Windows::ActiveOtherWindow() {
    if (!Usable() || !desktop_->ActiveWindowKnown())
        return std::nullopt;
    const auto active = desktop_->ActiveWindow();
    if (!active || takeover_->IsTaken(*active))
        return std::nullopt;
    if ((hooks_.OwnWindow && hooks_.OwnWindow(*active)) ||
        (hooks_.HostWindow && hooks_.HostWindow(*active)) || IsHostProgram(*active))
        return std::nullopt;
    return *active;
}

bool X11Windows::HostProgramActive() {
    if (!Usable() || !desktop_->ActiveWindowKnown())
        return false;
    const auto active = desktop_->ActiveWindow();
    return active && ((hooks_.HostWindow && hooks_.HostWindow(*active)) || IsHostProgram(*active));
}

bool X11Windows::IsHostProgram(unsigned long window) {
    if (!hostWindow_ || !desktop_->Exists(hostWindow_))
        return false;
    const std::optional<TWindowFacts> host = desktop_->FactsOf(hostWindow_);
    // Up the owners: a dialog of a dialog of the IDE is the IDE's.
    for (int depth = 0; window != None && depth < 8; ++depth) {
        if (window == hostWindow_)
            return true;
        const std::optional<TWindowFacts> facts = desktop_->FactsOf(window);
        if (host && facts && SameClient(*host, *facts))
            return true;
        window = desktop_->ParentOf(window);
    }
    return false;
}

WindowHandle X11Windows::FindWindow(std::string_view className,
                                    std::optional<std::string_view> title) {
    if (!Usable())
        return 0;
    // The host's own windows: another program with the add-in on the same
    // display has windows of these classes too, and they are its own.
    const Window window =
        desktop_->Find(className, title, [this](Window w) { return !OfAnotherProcess(w); });
    // A run that ended without giving it back left it taken from the manager.
    takeover_->RecoverLeftover(window);
    return window;
}

bool X11Windows::IsWindow(WindowHandle window) {
    return Usable() && desktop_->Exists(static_cast<Window>(window));
}

TRect X11Windows::GetWindowRect(WindowHandle window) {
    if (!Usable())
        return {};
    const auto outer = desktop_->OuterRect(static_cast<Window>(window));
    if (outer)
        guard_->Seen(window, *outer);
    return outer.value_or(TRect{});
}

bool X11Windows::MoveWindow(WindowHandle window, int x, int y, int width, int height,
                            bool repaint) {
    if (!Usable() || window == 0)
        return false;
    (void)repaint; // every move waits for its effect: it is read back at once
    const TRect target{x, y, x + width, y + height};
    NoteHome(window);
    const bool moved = guard_->Move(window, target);
    if (auto home = homes_.find(window); home != homes_.end() && home->second == target)
        ForgetHome(window);
    return moved;
}

void X11Windows::NoteHome(unsigned long window) {
    if (homes_.count(window))
        return;
    const std::optional<TRect> outer = desktop_->OuterRect(window);
    if (!outer)
        return;
    homes_[window] = *outer;
    MarkHome(*desktop_, window, {*outer, static_cast<long>(getpid())});
}

void X11Windows::ForgetHome(unsigned long window) {
    homes_.erase(window);
    ClearHome(*desktop_, window);
}

bool X11Windows::BringWindowToTop(WindowHandle window) {
    return Usable() && desktop_->Raise(static_cast<Window>(window));
}

void X11Windows::AwaitWithdrawn(WindowHandle window) {
    if (Usable())
        desktop_->AwaitRelease(static_cast<Window>(window));
}

void X11Windows::AwaitShown(WindowHandle window) {
    // A form of ours is about to be hidden: the manager may hand the focus
    // on to another program because of it.
    if (hooks_.OwnChange)
        hooks_.OwnChange();
    if (Usable())
        desktop_->AwaitShown(static_cast<Window>(window));
}

int X11Windows::GetSystemMetrics(int index) {
    if (!Usable())
        return 0;
    switch (index) {
    case SM_CXSCREEN:
        // Asked for when a start or a desktop load measures the screen: the
        // tucks that follow are a new attempt, even after a refusal.
        guard_->NewAttempt();
        return desktop_->ScreenWidth();
    case SM_CYCAPTION: return desktop_->CaptionHeight();
    case SM_CYFULLSCREEN: return desktop_->WorkAreaHeight() - desktop_->CaptionHeight();
    default: return 0;
    }
}

bool X11Windows::OfAnotherProcess(unsigned long window) {
    const auto facts = desktop_->FactsOf(window);
    if (!facts || !facts->Pid)
        return false; // a window that does not say cannot be told apart
    if (facts->Pid != static_cast<long>(getpid()))
        return true;
    char host[256] = {};
    return !facts->Machine.empty() && gethostname(host, sizeof host - 1) == 0 &&
           facts->Machine != host;
}

TShowState X11Windows::ShowStateOf(WindowHandle window) {
    if (!Usable() || window == 0 || takeover_->IsTaken(static_cast<Window>(window)))
        return TShowState::Normal; // a taken window is tucked by us, as it was
    return wt::ShowStateOf(*desktop_, static_cast<Window>(window));
}

bool X11Windows::ShowWindow(WindowHandle window, int command) {
    if (!Usable() || window == 0 || (command != SW_MAXIMIZE && command != SW_RESTORE))
        return false;
    return SetMaximized(*desktop_, static_cast<Window>(window), command == SW_MAXIMIZE);
}

bool X11Windows::IsWindowOnCurrentVirtualDesktop(WindowHandle window) {
    if (!Usable() || window == 0)
        return true;
    const auto w = static_cast<Window>(window);
    if (takeover_->IsTaken(w))
        return takeover_->OnShownWorkspace(w);
    const X11Atoms& atoms = desktop_->Atoms();
    const auto own = desktop_->Longs(w, atoms.NetWmDesktop, XA_CARDINAL);
    const auto shown = desktop_->Longs(desktop_->Root(), atoms.NetCurrentDesktop, XA_CARDINAL);
    if (!own || own->empty() || !shown || shown->empty())
        return true;
    return own->front() == X11Takeover::AllWorkspaces || own->front() == shown->front();
}

std::optional<unsigned long> X11Windows::ShownWorkspace() {
    const auto shown =
        desktop_->Longs(desktop_->Root(), desktop_->Atoms().NetCurrentDesktop, XA_CARDINAL);
    return shown && !shown->empty() ? std::optional<unsigned long>(shown->front()) : std::nullopt;
}

bool X11Windows::PointerButtonDown() {
    if (!Usable())
        return false;
    Window root = None, child = None;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    XQueryPointer(display_, desktop_->Root(), &root, &child, &rootX, &rootY, &x, &y, &mask);
    return (mask & (Button1Mask | Button2Mask | Button3Mask | Button4Mask | Button5Mask)) != 0;
}

bool X11Windows::FullScreenOver(TRect monitor) {
    const auto active = ActiveOtherWindow();
    if (!active)
        return false;
    const auto states = desktop_->Longs(*active, desktop_->Atoms().NetWmState, XA_ATOM);
    if (!states || std::find(states->begin(), states->end(),
                             desktop_->Atoms().NetWmStateFullscreen) == states->end())
        return false;
    const auto outer = desktop_->OuterRect(*active);
    return outer &&
           outer->Contains((monitor.Left + monitor.Right) / 2, (monitor.Top + monitor.Bottom) / 2);
}

std::vector<TRect> X11Windows::Monitors() {
    return Usable() ? monitors_->Read() : std::vector<TRect>{};
}

void X11Windows::NoteMonitors() {
    std::vector<TRect> now = monitors_->Read();
    if (now == layout_)
        return; // a root ConfigureNotify of another kind
    layout_ = std::move(now);
    if (hooks_.MonitorsChanged)
        hooks_.MonitorsChanged();
}

WindowHandle X11Windows::WindowFromPoint(TPoint point) {
    return Usable() ? desktop_->WindowAt(point) : 0;
}

WindowHandle X11Windows::GetParent(WindowHandle window) {
    return Usable() ? desktop_->ParentOf(static_cast<Window>(window)) : 0;
}

std::vector<WindowHandle> X11Windows::TopLevelWindows() {
    std::vector<WindowHandle> windows;
    if (Usable())
        for (Window window : desktop_->TopLevelCandidates())
            windows.push_back(window);
    return windows;
}

std::optional<TWindowFacts> X11Windows::FactsOf(WindowHandle window) {
    if (!Usable() || window == 0)
        return std::nullopt;
    return desktop_->FactsOf(static_cast<Window>(window));
}

void X11Windows::ReleaseWindows() {
    if (!Usable())
        return;
    guard_->ReleaseAll();
    takeover_->GiveBackAll(); // any still taken: where they stood before
    // A window not back where it stood before the run (the run ended without
    // a Stop: the connection to the display went, say) keeps its mark, for
    // the guardian that outlives us to put it there.
    for (const auto& [window, home] : homes_)
        if (desktop_->OuterRect(window) == std::optional<TRect>(home))
            ClearHome(*desktop_, window);
    homes_.clear();
    XFlush(display_);
}

} // namespace wt
