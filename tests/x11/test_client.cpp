#include "tests/x11/test_client.h"

#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>

#include <poll.h>
#include <stdexcept>
#include <thread>

namespace wt::test {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

bool HasProperty(Display* display, Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    int status = XGetWindowProperty(display, window, property, 0, 0, False, AnyPropertyType, &type,
                                    &format, &count, &remaining, &data);
    if (data)
        XFree(data);
    return status == Success && type != None;
}

} // namespace

bool WindowManagerPresent(Display* display) {
    return HasProperty(display, DefaultRootWindow(display),
                       XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False));
}

TestClient::TestClient() {
    display_ = XOpenDisplay(nullptr);
    if (!display_)
        throw std::runtime_error("TestClient: cannot open the display");
}

TestClient::~TestClient() {
    if (display_)
        XCloseDisplay(display_);
}

Window TestClient::Create(const WindowSetup& setup) {
    XSetWindowAttributes attributes{};
    attributes.background_pixel = WhitePixel(display_, DefaultScreen(display_));
    attributes.border_pixel = BlackPixel(display_, DefaultScreen(display_));
    attributes.override_redirect = setup.OverrideRedirect ? True : False;
    attributes.event_mask = StructureNotifyMask | PropertyChangeMask;
    Window parent = setup.Parent != None ? setup.Parent : Root();
    Window window = XCreateWindow(
        display_, parent, setup.Rect.Left, setup.Rect.Top,
        static_cast<unsigned>(setup.Rect.Width() - 2 * setup.Border),
        static_cast<unsigned>(setup.Rect.Height() - 2 * setup.Border),
        static_cast<unsigned>(setup.Border), CopyFromParent, InputOutput, CopyFromParent,
        CWBackPixel | CWBorderPixel | CWOverrideRedirect | CWEventMask, &attributes);
    if (!setup.ClassName.empty()) {
        std::string instance = "wt-test";
        XClassHint hint{instance.data(), const_cast<char*>(setup.ClassName.c_str())};
        XSetClassHint(display_, window, &hint);
    }
    if (!setup.Title.empty()) {
        if (setup.NetWmName) {
            XChangeProperty(display_, window, Intern("_NET_WM_NAME"), Intern("UTF8_STRING"), 8,
                            PropModeReplace,
                            reinterpret_cast<const unsigned char*>(setup.Title.data()),
                            static_cast<int>(setup.Title.size()));
        } else {
            XStoreName(display_, window, setup.Title.c_str());
        }
    }
    XSizeHints hints{};
    hints.flags = USPosition | USSize | PWinGravity;
    hints.x = setup.Rect.Left;
    hints.y = setup.Rect.Top;
    hints.width = setup.Rect.Width();
    hints.height = setup.Rect.Height();
    hints.win_gravity = setup.Gravity;
    XSetWMNormalHints(display_, window, &hints);
    if (setup.TransientFor != None)
        XSetTransientForHint(display_, window, setup.TransientFor);
    if (setup.Map) {
        XMapWindow(display_, window);
        WaitFor(window, MapNotify, 5s);
        if (setup.Parent == None && !setup.OverrideRedirect && WindowManagerPresent(display_)) {
            const Atom extents = Intern("_NET_FRAME_EXTENTS");
            const Atom state = Intern("WM_STATE");
            const auto deadline = Clock::now() + 5s;
            while (Clock::now() < deadline && !(HasProperty(display_, window, extents) &&
                                                HasProperty(display_, window, state)))
                std::this_thread::sleep_for(2ms);
            // The manager places the new frame after announcing it; let it settle.
            XSync(display_, False);
            std::this_thread::sleep_for(30ms);
        }
    }
    XSync(display_, False);
    return window;
}

void TestClient::Destroy(Window window) {
    XDestroyWindow(display_, window);
    XSync(display_, False);
}

TRect TestClient::InsideRect(Window window) const {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, window, &attributes);
    int x = 0, y = 0;
    Window child = None;
    XTranslateCoordinates(display_, window, Root(), 0, 0, &x, &y, &child);
    return {x, y, x + attributes.width, y + attributes.height};
}

void TestClient::FakeMotion(int x, int y) const {
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
    XFlush(display_);
}

void TestClient::WaitFor(Window window, int eventType, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    XEvent event;
    while (Clock::now() < deadline) {
        if (XCheckTypedWindowEvent(display_, window, eventType, &event))
            return;
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        poll(&fd, 1, 5);
    }
}

std::optional<XClientMessageEvent>
TestClient::WaitClientMessage(Atom type, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        XEvent event;
        while (XCheckTypedEvent(display_, ClientMessage, &event)) {
            if (event.xclient.message_type == type)
                return event.xclient;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left.count()));
    }
}

void TestClient::Drain() {
    XSync(display_, False);
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
    }
}

void RequestActivation(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // source: a pager
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

} // namespace wt::test
