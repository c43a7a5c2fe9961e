// A plain Xlib client that plays the other program in the tests: it creates
// top-level, child and transient windows with WM_CLASS and titles, reads back
// their real geometry, and receives the ClientMessages sent to its windows.
#pragma once

#include "platform/types.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <optional>
#include <string>

namespace wt::test {

struct WindowSetup {
    std::string ClassName;
    std::string Title;
    bool NetWmName = true; // else the title goes into WM_NAME only
    TRect Rect{100, 100, 400, 300};
    int Border = 0;
    int Gravity = NorthWestGravity;
    Window Parent = None; // None: a top-level window
    Window TransientFor = None;
    bool Map = true;
    bool OverrideRedirect = false;
};

// What a pager does to make a window the active one: asks the manager
// (_NET_ACTIVE_WINDOW sent to the root).
void RequestActivation(Display* display, Window window);

class TestClient {
public:
    TestClient(); // connects to $DISPLAY; throws on failure
    ~TestClient();
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    Display* GetDisplay() const { return display_; }
    Window Root() const { return DefaultRootWindow(display_); }
    Atom Intern(const char* name) const { return XInternAtom(display_, name, False); }

    // Creates and (unless told not to) maps a window, waiting until it is
    // viewable and, under a window manager, framed.
    Window Create(const WindowSetup& setup);
    void Destroy(Window window);
    void Sync() const { XSync(display_, False); }
    // The window's own area (inside its border) in root coordinates.
    TRect InsideRect(Window window) const;
    // Moves the pointer as a device would (XTest), so that raw motion is produced.
    void FakeMotion(int x, int y) const;

    // The next ClientMessage of type `type` to one of this client's windows.
    std::optional<XClientMessageEvent> WaitClientMessage(Atom type,
                                                         std::chrono::milliseconds timeout);
    // Drops every queued event.
    void Drain();

private:
    void WaitFor(Window window, int eventType, std::chrono::milliseconds timeout);

    Display* display_ = nullptr;
};

// True while a window manager announces itself on the display.
bool WindowManagerPresent(Display* display);

} // namespace wt::test
