// The monitor layout of an X screen: RandR 1.5 monitors, else Xinerama's
// heads, else the root window alone; and the events that say it changed.
#pragma once

#include "platform/types.h"

#include <X11/Xlib.h>

#include <vector>

namespace wt {

class X11Monitors {
public:
    X11Monitors(Display* display, Window root);

    // Each monitor's rectangle in root coordinates; never empty.
    std::vector<TRect> Read();
    // Asks for the events that come with a change of the layout: the
    // root's ConfigureNotify (xrandr --setmonitor sends only that) and
    // RandR's screen change.
    void Watch();
    // Whether the event may have changed the layout; RandR's own events are
    // passed on to Xlib so that the screen size it keeps stays right.
    bool MayHaveChanged(XEvent& event);

private:
    Display* display_;
    Window root_;
    int randrEventBase_ = -1;
    bool randrMonitors_ = false; // the server has RandR 1.5 or later
};

} // namespace wt
