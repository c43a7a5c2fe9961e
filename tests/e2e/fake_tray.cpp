#include "tests/e2e/fake_tray.h"

#include <X11/Xatom.h>

#include <chrono>
#include <poll.h>
#include <stdexcept>

namespace wt::e2e {

FakeTray::FakeTray(const std::string& display) {
    display_ = XOpenDisplay(display.c_str());
    if (!display_)
        throw std::runtime_error("the tray cannot connect");
    const Window root = DefaultRootWindow(display_);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = 0x808080;
    tray_ = XCreateWindow(display_, root, Left, Top, 4 * Size, Size, 0, CopyFromParent, InputOutput,
                          CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    const long horizontal = 0;
    XChangeProperty(display_, tray_, XInternAtom(display_, "_NET_SYSTEM_TRAY_ORIENTATION", False),
                    XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&horizontal), 1);
    XMapWindow(display_, tray_);
    const Atom selection = XInternAtom(display_, "_NET_SYSTEM_TRAY_S0", False);
    XSetSelectionOwner(display_, selection, tray_, CurrentTime);
    XClientMessageEvent manager{};
    manager.type = ClientMessage;
    manager.window = root;
    manager.message_type = XInternAtom(display_, "MANAGER", False);
    manager.format = 32;
    manager.data.l[0] = CurrentTime;
    manager.data.l[1] = static_cast<long>(selection);
    manager.data.l[2] = static_cast<long>(tray_);
    XSendEvent(display_, root, False, StructureNotifyMask, reinterpret_cast<XEvent*>(&manager));
    XSync(display_, False);
    thread_ = std::thread([this] { Serve(); });
}

FakeTray::~FakeTray() {
    stop_ = true;
    thread_.join();
    XCloseDisplay(display_);
}

void FakeTray::Serve() {
    const Atom opcode = XInternAtom(display_, "_NET_SYSTEM_TRAY_OPCODE", False);
    const Atom xembed = XInternAtom(display_, "_XEMBED", False);
    pollfd fd{ConnectionNumber(display_), POLLIN, 0};
    while (!stop_) {
        if (XPending(display_) == 0) {
            poll(&fd, 1, 50);
            continue;
        }
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type != ClientMessage || event.xclient.message_type != opcode ||
            event.xclient.data.l[1] != 0) // SYSTEM_TRAY_REQUEST_DOCK
            continue;
        const auto icon = static_cast<Window>(event.xclient.data.l[2]);
        XReparentWindow(display_, icon, tray_, 0, 0);
        XResizeWindow(display_, icon, Size, Size);
        // XEMBED_EMBEDDED_NOTIFY: the icon is in its embedder now.
        XClientMessageEvent notify{};
        notify.type = ClientMessage;
        notify.window = icon;
        notify.message_type = xembed;
        notify.format = 32;
        notify.data.l[0] = CurrentTime;
        notify.data.l[1] = 0;
        notify.data.l[3] = static_cast<long>(tray_);
        notify.data.l[4] = 0;
        XSendEvent(display_, icon, False, NoEventMask, reinterpret_cast<XEvent*>(&notify));
        XMapRaised(display_, icon);
        XSync(display_, False);
        icon_ = icon;
    }
}

} // namespace wt::e2e
