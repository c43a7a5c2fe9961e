#include "platform/x11/runner_lock.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <unistd.h>

namespace wt {

namespace {

Atom SelectionAtom(Display* display) { return XInternAtom(display, "_WINGTUCKER_RUNNER", False); }

long PidOf(Display* display, Window window) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &remaining, &data) == Success &&
        type == XA_CARDINAL && format == 32 && count == 1 && data)
        pid = *reinterpret_cast<long*>(data);
    if (data)
        XFree(data);
    return pid;
}

} // namespace

RunnerLock::~RunnerLock() {
    if (window_)
        XDestroyWindow(display_, window_);
}

bool RunnerLock::Acquire(long* holderPid) {
    const Atom selection = SelectionAtom(display_);
    // The check and the taking are one step for the server: two runners
    // started together cannot both find the selection free.
    XGrabServer(display_);
    const Window owner = XGetSelectionOwner(display_, selection);
    if (owner != None) {
        *holderPid = PidOf(display_, owner);
        XUngrabServer(display_);
        XFlush(display_);
        return false;
    }
    window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), -10, -10, 1, 1, 0, 0, 0);
    const long pid = getpid();
    XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    XSetSelectionOwner(display_, selection, window_, CurrentTime);
    XUngrabServer(display_);
    XSync(display_, False);
    return XGetSelectionOwner(display_, selection) == window_;
}

} // namespace wt
