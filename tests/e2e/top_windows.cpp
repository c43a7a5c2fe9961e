#include "tests/e2e/top_windows.h"

namespace wt::e2e {

namespace {

// Depth first under parent, to the depth a manager's frames put clients at.
std::optional<Placed> FindUnder(Display* display, Window parent, const std::string& title,
                                int depth) {
    Window root = 0, up = 0, *children = nullptr;
    unsigned count = 0;
    std::optional<Placed> found;
    if (!XQueryTree(display, parent, &root, &up, &children, &count))
        return found;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes a;
        char* name = nullptr;
        if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable)
            continue;
        if (XFetchName(display, children[i], &name) && name) {
            if (title == name)
                found = Placed{children[i], a.x, a.y, a.width, a.height};
            XFree(name);
        }
        if (!found && depth > 1)
            found = FindUnder(display, children[i], title, depth - 1);
    }
    if (children)
        XFree(children);
    return found;
}

} // namespace

std::optional<Placed> FindMapped(Display* display, const std::string& title) {
    // A top-level window, or a client in a window manager's frame.
    return FindUnder(display, DefaultRootWindow(display), title, 3);
}

void SendCloseRequest(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

} // namespace wt::e2e
