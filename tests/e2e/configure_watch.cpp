#include "tests/e2e/configure_watch.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace wt::e2e {

ConfigureWatch::ConfigureWatch(const std::string& display) : dpy_(XOpenDisplay(display.c_str())) {}

ConfigureWatch::~ConfigureWatch() {
    if (dpy_)
        XCloseDisplay(dpy_);
}

unsigned long ConfigureWatch::FindByClass(const std::string& windowClass) {
    Window root = DefaultRootWindow(dpy_), parent = 0, *children = nullptr;
    unsigned count = 0;
    unsigned long found = 0;
    if (!XQueryTree(dpy_, root, &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XClassHint hint{};
        if (!XGetClassHint(dpy_, children[i], &hint))
            continue;
        if (hint.res_class && windowClass == hint.res_class)
            found = children[i];
        if (hint.res_name)
            XFree(hint.res_name);
        if (hint.res_class)
            XFree(hint.res_class);
    }
    if (children)
        XFree(children);
    return found;
}

bool ConfigureWatch::Attach(const std::string& windowClass, int timeoutMs) {
    if (!dpy_)
        return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        window_ = FindByClass(windowClass);
        if (window_) {
            XSelectInput(dpy_, window_, StructureNotifyMask);
            XSync(dpy_, False);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void ConfigureWatch::Drain() {
    if (!dpy_)
        return;
    while (XPending(dpy_)) {
        XEvent event;
        XNextEvent(dpy_, &event);
        if (event.type == ConfigureNotify && event.xconfigure.window == window_)
            events_.push_back({event.xconfigure.y, event.xconfigure.y + event.xconfigure.height});
    }
}

} // namespace wt::e2e
