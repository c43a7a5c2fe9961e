#include "tests/e2e/top_windows.h"

namespace wt::e2e {

std::optional<Placed> FindMapped(Display* display, const std::string& title) {
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned count = 0;
    std::optional<Placed> found;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return found;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes a;
        char* name = nullptr;
        if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable) continue;
        if (XFetchName(display, children[i], &name) && name) {
            if (title == name) found = Placed{children[i], a.x, a.y, a.width, a.height};
            XFree(name);
        }
    }
    if (children) XFree(children);
    return found;
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
