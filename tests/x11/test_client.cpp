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

Window TestClient::Create(const WindowSpec& spec) {
    XSetWindowAttributes attributes{};
    attributes.background_pixel = WhitePixel(display_, DefaultScreen(display_));
    attributes.border_pixel = BlackPixel(display_, DefaultScreen(display_));
    attributes.override_redirect = spec.OverrideRedirect ? True : False;
    attributes.event_mask = StructureNotifyMask | PropertyChangeMask;
    Window parent = spec.Parent != None ? spec.Parent : Root();
    Window window = XCreateWindow(
        display_, parent, spec.Rect.Left, spec.Rect.Top,
        static_cast<unsigned>(spec.Rect.Width() - 2 * spec.Border),
        static_cast<unsigned>(spec.Rect.Height() - 2 * spec.Border),
        static_cast<unsigned>(spec.Border), CopyFromParent, InputOutput, CopyFromParent,
        CWBackPixel | CWBorderPixel | CWOverrideRedirect | CWEventMask, &attributes);
    if (!spec.ClassName.empty()) {
        std::string instance = "wt-test";
        XClassHint hint{instance.data(), const_cast<char*>(spec.ClassName.c_str())};
        XSetClassHint(display_, window, &hint);
    }
    if (!spec.Title.empty()) {
        if (spec.NetWmName) {
            XChangeProperty(display_, window, Intern("_NET_WM_NAME"), Intern("UTF8_STRING"), 8,
                            PropModeReplace,
                            reinterpret_cast<const unsigned char*>(spec.Title.data()),
                            static_cast<int>(spec.Title.size()));
        } else {
            XStoreName(display_, window, spec.Title.c_str());
        }
    }
    XSizeHints hints{};
    hints.flags = USPosition | USSize | PWinGravity;
    hints.x = spec.Rect.Left;
    hints.y = spec.Rect.Top;
    hints.width = spec.Rect.Width();
    hints.height = spec.Rect.Height();
    hints.win_gravity = spec.Gravity;
    XSetWMNormalHints(display_, window, &hints);
    if (spec.TransientFor != None)
        XSetTransientForHint(display_, window, spec.TransientFor);
    if (spec.Map) {
        XMapWindow(display_, window);
        WaitFor(window, MapNotify, 5s);
        if (spec.Parent == None && !spec.OverrideRedirect && WindowManagerPresent(display_)) {
            const Atom extents = Intern("_NET_FRAME_EXTENTS");
            const Atom state = Intern("WM_STATE");
            const auto deadline = Clock::now() + 5s;
            while (Clock::now() < deadline &&
                   !(HasProperty(display_, window, extents) && HasProperty(display_, window, state)))
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

std::optional<XClientMessageEvent> TestClient::WaitClientMessage(Atom type,
                                                                 std::chrono::milliseconds timeout) {
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

} // namespace wt::test
