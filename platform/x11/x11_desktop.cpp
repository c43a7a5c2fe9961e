#include "platform/x11/x11_desktop.h"

#include "platform/x11/x11_errors.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <poll.h>
#include <set>
#include <thread>

namespace wt {

// Failed requests (a window gone in between) come back as failed replies;
// the display's error handler (x11_errors.h) records them instead of exiting.

namespace {

using Clock = std::chrono::steady_clock;

std::string Latin1ToUtf8(const unsigned char* text, std::size_t length) {
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        unsigned char c = text[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace

// Where a window manager puts the frame for a request at (x, y): the frame's
// reference point (chosen by the gravity) lands where the client's would be
// without a frame. Returns the request offset from the wanted outer corner.
int GravityOffset(int gravity, int before, int after, bool horizontal) {
    if (gravity == StaticGravity)
        return before; // the client itself stays where it is asked to be
    int column = 0;    // 0 = west/north, 1 = centre, 2 = east/south
    switch (gravity) {
    case NorthGravity: column = horizontal ? 1 : 0; break;
    case NorthEastGravity: column = horizontal ? 2 : 0; break;
    case WestGravity: column = horizontal ? 0 : 1; break;
    case CenterGravity: column = 1; break;
    case EastGravity: column = horizontal ? 2 : 1; break;
    case SouthWestGravity: column = horizontal ? 0 : 2; break;
    case SouthGravity: column = horizontal ? 1 : 2; break;
    case SouthEastGravity: column = 2; break;
    default: column = 0; break; // NorthWest, Forget
    }
    return column == 0 ? 0 : column == 1 ? (before + after) / 2 : before + after;
}

X11Desktop::X11Desktop(Display* display)
    : display_(display), root_(DefaultRootWindow(display)), atoms_(X11Atoms::Intern(display)) {}

TRect X11Desktop::Placement::Outer() const {
    return {InsideX - Border - Frame.Left, InsideY - Border - Frame.Top,
            InsideX + Width + Border + Frame.Right, InsideY + Height + Border + Frame.Bottom};
}

std::optional<std::vector<unsigned long>> X11Desktop::Longs(Window window, Atom property,
                                                            Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    int status = XGetWindowProperty(display_, window, property, 0, 4096, False, type, &actualType,
                                    &format, &count, &remaining, &data);
    std::optional<std::vector<unsigned long>> result;
    if (status == Success && actualType == type && format == 32 && data) {
        auto* values = reinterpret_cast<unsigned long*>(data); // format 32 comes as longs
        result.emplace(values, values + count);
    }
    if (data)
        XFree(data);
    return result;
}

bool X11Desktop::WindowManagerRunning() {
    auto check = Longs(root_, atoms_.NetSupportingWmCheck, XA_WINDOW);
    if (!check || check->empty() || (*check)[0] == None)
        return false;
    // A window manager that died leaves the root property behind; its window is gone.
    auto self = Longs((*check)[0], atoms_.NetSupportingWmCheck, XA_WINDOW);
    return self && !self->empty() && (*self)[0] == (*check)[0];
}

std::string X11Desktop::ManagerName() {
    if (!WindowManagerRunning())
        return {};
    auto check = Longs(root_, atoms_.NetSupportingWmCheck, XA_WINDOW);
    if (!check || check->empty())
        return {};
    // A manager that names itself oddly (no name, a huge one) is just unnamed.
    auto name = TitleOf(static_cast<Window>((*check)[0]));
    if (!name)
        return "unnamed";
    if (name->size() > 200)
        name->resize(200);
    return name->empty() ? "unnamed" : *name;
}

std::optional<unsigned long> X11Desktop::WmStateOf(Window window) {
    auto state = Longs(window, atoms_.WmState, atoms_.WmState);
    if (!state || state->empty())
        return std::nullopt;
    return (*state)[0];
}

std::vector<Window> X11Desktop::ChildrenOfRoot() {
    Window rootReturn = None, parent = None;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<Window> result;
    if (XQueryTree(display_, root_, &rootReturn, &parent, &children, &count) && children) {
        result.assign(children, children + count);
        std::reverse(result.begin(), result.end()); // the server lists bottom first
    }
    if (children)
        XFree(children);
    return result;
}

std::vector<Window> X11Desktop::ManagedClients() {
    auto list = Longs(root_, atoms_.NetClientListStacking, XA_WINDOW);
    if (!list)
        list = Longs(root_, atoms_.NetClientList, XA_WINDOW);
    std::vector<Window> result;
    if (list)
        result.assign(list->rbegin(), list->rend());
    return result;
}

std::optional<std::string> X11Desktop::ClassOf(Window window) {
    XClassHint hint{nullptr, nullptr};
    if (!XGetClassHint(display_, window, &hint))
        return std::nullopt;
    std::optional<std::string> result;
    if (hint.res_class)
        result = hint.res_class;
    if (hint.res_name)
        XFree(hint.res_name);
    if (hint.res_class)
        XFree(hint.res_class);
    return result;
}

std::optional<std::string> X11Desktop::TitleOf(Window window) {
    {
        Atom actualType = None;
        int format = 0;
        unsigned long count = 0, remaining = 0;
        unsigned char* data = nullptr;
        int status =
            XGetWindowProperty(display_, window, atoms_.NetWmName, 0, 65536, False,
                               atoms_.Utf8String, &actualType, &format, &count, &remaining, &data);
        std::optional<std::string> result;
        if (status == Success && actualType == atoms_.Utf8String && format == 8 && data)
            result.emplace(reinterpret_cast<char*>(data), count);
        if (data)
            XFree(data);
        if (result)
            return result;
    }
    XTextProperty text{};
    if (!XGetWMName(display_, window, &text) || !text.value)
        return std::nullopt;
    std::optional<std::string> result;
    if (text.format != 8) {
        // not a text: no title
    } else if (text.encoding == XA_STRING) {
        result = Latin1ToUtf8(text.value, text.nitems);
    } else if (text.encoding == atoms_.Utf8String) {
        result.emplace(reinterpret_cast<char*>(text.value), text.nitems);
    } else {
        char** list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(display_, &text, &list, &count) >= Success && count > 0)
            result = list[0];
        else
            result.emplace(reinterpret_cast<char*>(text.value), text.nitems);
        if (list)
            XFreeStringList(list);
    }
    XFree(text.value);
    return result;
}

std::vector<Window> X11Desktop::TopLevelCandidates() {
    std::vector<Window> candidates;
    if (WindowManagerRunning())
        candidates = ManagedClients();
    // Unmanaged windows (withdrawn ones, or all of them without a manager) are
    // children of the root.
    std::set<Window> seen(candidates.begin(), candidates.end());
    for (Window child : ChildrenOfRoot())
        if (!seen.count(child))
            candidates.push_back(child);
    return candidates;
}

namespace {
// A short name of a window type: _NET_WM_WINDOW_TYPE_DIALOG is "dialog".
std::string ShortTypeName(Display* display, Atom type) {
    char* name = type != None ? XGetAtomName(display, type) : nullptr;
    if (!name)
        return {};
    std::string text(name);
    XFree(name);
    constexpr std::string_view Prefix = "_NET_WM_WINDOW_TYPE_";
    if (text.rfind(Prefix, 0) == 0)
        text.erase(0, Prefix.size());
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// A text property of 8-bit items (STRING or UTF8_STRING), "" when absent.
std::string StringProperty(Display* display, Window window, Atom property) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const int status =
        XGetWindowProperty(display, window, property, 0, 1024, False, AnyPropertyType, &actualType,
                           &format, &count, &remaining, &data);
    std::string text;
    if (status == Success && format == 8 && data)
        text.assign(reinterpret_cast<char*>(data), count);
    if (data)
        XFree(data);
    return text;
}
} // namespace

std::optional<TWindowFacts> X11Desktop::FactsOf(Window window) {
    if (!Exists(window))
        return std::nullopt;
    TWindowFacts facts;
    XClassHint hint{nullptr, nullptr};
    if (XGetClassHint(display_, window, &hint)) {
        if (hint.res_name) {
            facts.Instance = hint.res_name;
            XFree(hint.res_name);
        }
        if (hint.res_class) {
            facts.Class = hint.res_class;
            XFree(hint.res_class);
        }
    }
    facts.Title = TitleOf(window).value_or("");
    facts.Role = StringProperty(display_, window, atoms_.WmWindowRole);
    if (auto types = Longs(window, atoms_.NetWmWindowType, XA_ATOM); types && !types->empty())
        facts.Type = ShortTypeName(display_, static_cast<Atom>(types->front()));
    if (auto leader = Longs(window, atoms_.WmClientLeader, XA_WINDOW); leader && !leader->empty())
        facts.Leader = leader->front();
    if (auto pid = Longs(window, atoms_.NetWmPid, XA_CARDINAL); pid && !pid->empty())
        facts.Pid = static_cast<long>(pid->front());
    facts.Machine = StringProperty(display_, window, XA_WM_CLIENT_MACHINE);
    return facts;
}

Window X11Desktop::Find(std::string_view className, std::optional<std::string_view> title,
                        const std::function<bool(Window)>& accept) {
    for (Window window : TopLevelCandidates()) {
        auto windowClass = ClassOf(window);
        if (!windowClass || *windowClass != className || (accept && !accept(window)))
            continue;
        if (title) {
            auto windowTitle = TitleOf(window);
            if (!windowTitle || *windowTitle != *title)
                continue;
        }
        return window;
    }
    return None;
}

bool X11Desktop::Exists(Window window) {
    if (window == None)
        return false;
    XWindowAttributes attributes;
    return XGetWindowAttributes(display_, window, &attributes) != 0;
}

bool X11Desktop::HasWmState(Window window) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    int status = XGetWindowProperty(display_, window, atoms_.WmState, 0, 0, False, AnyPropertyType,
                                    &actualType, &format, &count, &remaining, &data);
    if (data)
        XFree(data);
    return status == Success && actualType != None;
}

Window X11Desktop::ParentWindow(Window window) {
    Window rootReturn = None, parent = None;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, window, &rootReturn, &parent, &children, &count))
        parent = None;
    if (children)
        XFree(children);
    return parent;
}

bool X11Desktop::ActiveWindowKnown() {
    return WindowManagerRunning() && ManagerSupports(atoms_.NetActiveWindow);
}

Bool X11Desktop::IsStale(Display*, XEvent* event, XPointer) {
    return event->type != PropertyNotify && event->type != ClientMessage;
}

std::optional<Window> X11Desktop::ActiveWindow() {
    auto active = Longs(root_, atoms_.NetActiveWindow, XA_WINDOW);
    if (!active || active->empty() || active->front() == None)
        return std::nullopt;
    return static_cast<Window>(active->front());
}

bool X11Desktop::ManagerSupports(Atom hint) {
    auto supported = Longs(root_, atoms_.NetSupported, XA_ATOM);
    return supported && std::find(supported->begin(), supported->end(), hint) != supported->end();
}

std::optional<FrameExtents> X11Desktop::ExtentsOf(Window window) {
    auto values = Longs(window, atoms_.NetFrameExtents, XA_CARDINAL);
    if (!values || values->size() < 4)
        return std::nullopt;
    auto clamp = [](unsigned long v) { return static_cast<int>(std::min(v, 10000ul)); };
    return FrameExtents{clamp((*values)[0]), clamp((*values)[1]), clamp((*values)[2]),
                        clamp((*values)[3])};
}

FrameExtents X11Desktop::DerivedExtents(Window window, const Placement& placement) {
    // The frame is the client's ancestor that is a child of the root.
    Window frame = window;
    for (int depth = 0; depth < 16; ++depth) {
        Window parent = ParentWindow(frame);
        if (parent == None)
            return {};
        if (parent == root_)
            break;
        frame = parent;
    }
    XWindowAttributes attributes;
    if (frame == window || !XGetWindowAttributes(display_, frame, &attributes))
        return {};
    TRect client = placement.Outer();
    int right = attributes.x + attributes.width + 2 * attributes.border_width;
    int bottom = attributes.y + attributes.height + 2 * attributes.border_width;
    return {std::max(0, client.Left - attributes.x), std::max(0, right - client.Right),
            std::max(0, client.Top - attributes.y), std::max(0, bottom - client.Bottom)};
}

std::optional<X11Desktop::Placement> X11Desktop::Place(Window window) {
    if (window == None)
        return std::nullopt;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window, &attributes))
        return std::nullopt;
    Placement placement;
    Window child = None;
    if (!XTranslateCoordinates(display_, window, root_, 0, 0, &placement.InsideX,
                               &placement.InsideY, &child))
        return std::nullopt;
    placement.Width = attributes.width;
    placement.Height = attributes.height;
    placement.Border = attributes.border_width;
    placement.Parent = ParentWindow(window);
    if (placement.Parent == None)
        return std::nullopt;
    const bool managed = HasWmState(window);
    const bool managerRunning = WindowManagerRunning();
    placement.Framed = managed && placement.Parent != root_;
    placement.Redirected =
        managerRunning && !attributes.override_redirect && (placement.Parent == root_ || managed);
    if (placement.Framed) {
        auto extents = ExtentsOf(window);
        placement.Frame = extents ? *extents : DerivedExtents(window, placement);
    }
    return placement;
}

std::optional<TRect> X11Desktop::OuterRect(Window window) {
    auto placement = Place(window);
    if (!placement)
        return std::nullopt;
    return placement->Outer();
}

TRect X11Desktop::FitFixedSize(Window window, const TRect& outer, int extraWidth, int extraHeight) {
    XSizeHints hints{};
    long supplied = 0;
    if (!XGetWMNormalHints(display_, window, &hints, &supplied) ||
        (hints.flags & (PMinSize | PMaxSize)) != (PMinSize | PMaxSize))
        return outer;
    TRect fitted = outer;
    // Of a window tucked past the top or left edge, the bottom or right edge shows.
    if (hints.min_height == hints.max_height && hints.min_height > 0) {
        const int height = hints.min_height + extraHeight;
        fitted.Top = outer.Top < 0 ? outer.Bottom - height : outer.Top;
        fitted.Bottom = fitted.Top + height;
    }
    if (hints.min_width == hints.max_width && hints.min_width > 0) {
        const int width = hints.min_width + extraWidth;
        fitted.Left = outer.Left < 0 ? outer.Right - width : outer.Left;
        fitted.Right = fitted.Left + width;
    }
    return fitted;
}

bool X11Desktop::Move(Window window, const TRect& asked, bool waitForEffect) {
    auto placement = Place(window);
    if (!placement)
        return false;
    const FrameExtents& frame = placement->Frame;
    const int border = placement->Border;
    const TRect outer = FitFixedSize(window, asked, frame.Left + frame.Right + 2 * border,
                                     frame.Top + frame.Bottom + 2 * border);
    const unsigned width =
        static_cast<unsigned>(std::max(1, outer.Width() - frame.Left - frame.Right - 2 * border));
    const unsigned height =
        static_cast<unsigned>(std::max(1, outer.Height() - frame.Top - frame.Bottom - 2 * border));
    int x = outer.Left, y = outer.Top;
    // Managers read a request's position through the window's gravity, and
    // not all of them alike (openbox, for one, with centre gravity). Where the
    // manager takes _NET_MOVERESIZE_WINDOW, the request names north-west
    // gravity itself, which puts the frame's corner exactly at (x, y).
    const bool netMove = placement->Framed && ManagerSupports(atoms_.NetMoveresizeWindow);
    if (netMove) {
        // x and y stay the outer corner
    } else if (placement->Framed) {
        XSizeHints hints{};
        long supplied = 0;
        int gravity = NorthWestGravity;
        if (XGetWMNormalHints(display_, window, &hints, &supplied) && (hints.flags & PWinGravity))
            gravity = hints.win_gravity;
        x += GravityOffset(gravity, frame.Left, frame.Right, true);
        y += GravityOffset(gravity, frame.Top, frame.Bottom, false);
    } else if (placement->Parent != root_) {
        Window child = None;
        if (!XTranslateCoordinates(display_, root_, placement->Parent, outer.Left, outer.Top, &x,
                                   &y, &child))
            return false;
    }
    const bool wait = waitForEffect && placement->Redirected;
    if (wait) {
        // Leftovers of earlier moves; the root's activation news is kept.
        XEvent stale;
        while (XCheckIfEvent(display_, &stale, &X11Desktop::IsStale, nullptr)) {
        }
        XSelectInput(display_, window, StructureNotifyMask);
    }
    X11ErrorTrap trap(display_);
    const unsigned long serial = NextRequest(display_);
    if (netMove) {
        XClientMessageEvent request{};
        request.type = ClientMessage;
        request.window = window;
        request.message_type = atoms_.NetMoveresizeWindow;
        request.format = 32;
        // Gravity, the four fields given, and source 2: a tool acting for the user.
        request.data.l[0] = NorthWestGravity | (0xF << 8) | (2 << 12);
        request.data.l[1] = x;
        request.data.l[2] = y;
        request.data.l[3] = static_cast<long>(width);
        request.data.l[4] = static_cast<long>(height);
        XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask,
                   reinterpret_cast<XEvent*>(&request));
    } else {
        XMoveResizeWindow(display_, window, x, y, width, height);
    }
    const bool moved = !trap.Failed();
    if (wait) {
        if (moved)
            WaitForConfigure(window, serial, outer.Left + frame.Left, outer.Top + frame.Top, width,
                             height);
        XSelectInput(display_, window, NoEventMask);
        XFlush(display_);
    }
    return moved;
}

void X11Desktop::WaitForConfigure(Window window, unsigned long serial, int x, int y, unsigned width,
                                  unsigned height) {
    const auto deadline = Clock::now() + FrameTime;
    for (;;) {
        XEvent event;
        while (XCheckTypedWindowEvent(display_, window, ConfigureNotify, &event)) {
            const XConfigureEvent& c = event.xconfigure;
            if (c.serial < serial || static_cast<unsigned>(c.width) != width ||
                static_cast<unsigned>(c.height) != height)
                continue;
            // A synthetic event (sent by the manager) carries root coordinates.
            if (!c.send_event || (c.x == x && c.y == y))
                return;
        }
        if (XCheckTypedWindowEvent(display_, window, DestroyNotify, &event))
            return;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return;
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left.count()));
    }
}

void X11Desktop::AwaitWhile(Window window, const std::function<bool()>& waiting) {
    const auto deadline = Clock::now() + ReleaseTime;
    for (;;) {
        XWindowAttributes attributes;
        {
            X11ErrorTrap trap(display_);
            if (!XGetWindowAttributes(display_, window, &attributes) || trap.Failed())
                return; // gone
        }
        // Shown, or no manager's business.
        if (attributes.map_state == IsViewable || attributes.override_redirect || !waiting() ||
            Clock::now() >= deadline)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void X11Desktop::AwaitRelease(Window window) {
    AwaitWhile(window, [&] {
        const std::optional<unsigned long> state = WmStateOf(window);
        return ParentWindow(window) != root_ || (state && *state != WithdrawnState);
    });
}

void X11Desktop::AwaitShown(Window window) {
    if (WindowManagerRunning())
        AwaitWhile(window, [] { return true; });
}

bool X11Desktop::Raise(Window window) {
    if (!Exists(window))
        return false;
    X11ErrorTrap trap(display_);
    XRaiseWindow(display_, window);
    return !trap.Failed();
}

Window X11Desktop::WindowAt(TPoint point) {
    int x = 0, y = 0;
    Window top = None;
    if (!XTranslateCoordinates(display_, root_, root_, point.X, point.Y, &x, &y, &top) ||
        top == None)
        return root_;
    std::vector<Window> path{top};
    for (int depth = 0; depth < 32; ++depth) {
        Window child = None;
        if (!XTranslateCoordinates(display_, root_, path.back(), point.X, point.Y, &x, &y,
                                   &child) ||
            child == None)
            break;
        path.push_back(child);
    }
    if (!WindowManagerRunning())
        return path.back(); // the root's children are the clients themselves
    for (Window window : path)
        if (HasWmState(window))
            return path.back();
    // On a frame's decoration: the client that the frame holds.
    std::vector<Window> level{top};
    for (int depth = 0; depth < 4 && !level.empty(); ++depth) {
        std::vector<Window> next;
        for (Window window : level) {
            if (window != top && HasWmState(window))
                return window;
            Window rootReturn = None, parent = None;
            Window* children = nullptr;
            unsigned count = 0;
            if (XQueryTree(display_, window, &rootReturn, &parent, &children, &count) && children)
                next.insert(next.end(), children, children + count);
            if (children)
                XFree(children);
        }
        level = std::move(next);
    }
    return path.back(); // a pop-up (override-redirect) or the manager's own window
}

Window X11Desktop::ParentOf(Window window) {
    if (window == None || window == root_ || !Exists(window))
        return None;
    Window owner = None;
    {
        if (!XGetTransientForHint(display_, window, &owner))
            owner = None;
    }
    if (owner != None && owner != root_ && Exists(owner))
        return owner;
    Window parent = ParentWindow(window);
    if (parent == None || parent == root_ || HasWmState(window))
        return None; // a top-level window, in a frame or not
    return parent;
}

int X11Desktop::ScreenWidth() const { return DisplayWidth(display_, DefaultScreen(display_)); }

int X11Desktop::WorkAreaHeight() {
    const int screenHeight = DisplayHeight(display_, DefaultScreen(display_));
    if (!WindowManagerRunning())
        return screenHeight;
    auto area = Longs(root_, atoms_.NetWorkarea, XA_CARDINAL);
    if (!area || area->size() < 4)
        return screenHeight;
    std::size_t desktop = 0;
    if (auto current = Longs(root_, atoms_.NetCurrentDesktop, XA_CARDINAL);
        current && !current->empty() && ((*current)[0] + 1) * 4 <= area->size())
        desktop = (*current)[0];
    unsigned long height = (*area)[desktop * 4 + 3];
    return height > 0 && height <= static_cast<unsigned long>(screenHeight)
               ? static_cast<int>(height)
               : screenHeight;
}

int X11Desktop::CaptionHeight() {
    if (!WindowManagerRunning())
        return DefaultCaptionHeight;
    for (Window client : ManagedClients()) {
        auto extents = ExtentsOf(client);
        if (extents && extents->Top > 0)
            return extents->Top;
    }
    return DefaultCaptionHeight;
}

} // namespace wt
