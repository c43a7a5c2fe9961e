#include "platform/x11/x11_monitors.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

namespace wt {

X11Monitors::X11Monitors(Display* display, Window root) : display_(display), root_(root) {
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (XRRQueryExtension(display_, &randrEventBase_, &errorBase) &&
        XRRQueryVersion(display_, &major, &minor))
        randrMonitors_ = major > 1 || (major == 1 && minor >= 5);
    else
        randrEventBase_ = -1;
}

std::vector<TRect> X11Monitors::Read() {
    std::vector<TRect> monitors;
    if (randrMonitors_) {
        int count = 0;
        if (XRRMonitorInfo* info = XRRGetMonitors(display_, root_, True, &count)) {
            for (int i = 0; i < count; ++i)
                if (info[i].width > 0 && info[i].height > 0)
                    monitors.push_back({info[i].x, info[i].y, info[i].x + info[i].width,
                                        info[i].y + info[i].height});
            XRRFreeMonitors(info);
        }
    }
    int eventBase = 0;
    int errorBase = 0;
    if (monitors.empty() && XineramaQueryExtension(display_, &eventBase, &errorBase) &&
        XineramaIsActive(display_)) {
        int count = 0;
        if (XineramaScreenInfo* heads = XineramaQueryScreens(display_, &count)) {
            for (int i = 0; i < count; ++i)
                if (heads[i].width > 0 && heads[i].height > 0)
                    monitors.push_back({heads[i].x_org, heads[i].y_org,
                                        heads[i].x_org + heads[i].width,
                                        heads[i].y_org + heads[i].height});
            XFree(heads);
        }
    }
    if (monitors.empty()) {
        const int screen = DefaultScreen(display_);
        monitors.push_back({0, 0, DisplayWidth(display_, screen), DisplayHeight(display_, screen)});
    }
    return monitors;
}

void X11Monitors::Watch() {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display_, root_, &attributes))
        XSelectInput(display_, root_, attributes.your_event_mask | StructureNotifyMask);
    if (randrEventBase_ >= 0)
        XRRSelectInput(display_, root_, RRScreenChangeNotifyMask);
}

bool X11Monitors::MayHaveChanged(XEvent& event) {
    if (randrEventBase_ >= 0 && event.type == randrEventBase_ + RRScreenChangeNotify) {
        XRRUpdateConfiguration(&event);
        return true;
    }
    return event.type == ConfigureNotify && event.xconfigure.window == root_;
}

} // namespace wt
