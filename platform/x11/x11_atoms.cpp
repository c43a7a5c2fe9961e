#include "platform/x11/x11_atoms.h"

#include <iterator>

namespace wt {

X11Atoms X11Atoms::Intern(Display* display) {
    X11Atoms atoms;
    struct Entry {
        const char* name;
        Atom X11Atoms::*field;
    };
    static const Entry entries[] = {
        {"_NET_SUPPORTING_WM_CHECK", &X11Atoms::NetSupportingWmCheck},
        {"_NET_CLIENT_LIST", &X11Atoms::NetClientList},
        {"_NET_CLIENT_LIST_STACKING", &X11Atoms::NetClientListStacking},
        {"_NET_FRAME_EXTENTS", &X11Atoms::NetFrameExtents},
        {"_NET_WM_NAME", &X11Atoms::NetWmName},
        {"_NET_WM_WINDOW_TYPE", &X11Atoms::NetWmWindowType},
        {"WM_WINDOW_ROLE", &X11Atoms::WmWindowRole},
        {"_NET_SUPPORTED", &X11Atoms::NetSupported},
        {"_NET_ACTIVE_WINDOW", &X11Atoms::NetActiveWindow},
        {"_NET_MOVERESIZE_WINDOW", &X11Atoms::NetMoveresizeWindow},
        {"_NET_WORKAREA", &X11Atoms::NetWorkarea},
        {"_NET_WM_STATE", &X11Atoms::NetWmState},
        {"_NET_WM_STATE_FULLSCREEN", &X11Atoms::NetWmStateFullscreen},
        {"_NET_WM_STATE_MAXIMIZED_VERT", &X11Atoms::NetWmStateMaximizedVert},
        {"_NET_WM_STATE_MAXIMIZED_HORZ", &X11Atoms::NetWmStateMaximizedHorz},
        {"_NET_WM_STATE_HIDDEN", &X11Atoms::NetWmStateHidden},
        {"_NET_WM_STATE_SHADED", &X11Atoms::NetWmStateShaded},
        {"_NET_WM_DESKTOP", &X11Atoms::NetWmDesktop},
        {"_WINGTUCKER_TAKEN", &X11Atoms::WingtuckerTaken},
        {"_NET_CURRENT_DESKTOP", &X11Atoms::NetCurrentDesktop},
        {"UTF8_STRING", &X11Atoms::Utf8String},
        {"WM_STATE", &X11Atoms::WmState},
        {"WM_WATCHMOUSE", &X11Atoms::WmWatchMouse},
        {"WM_CLIENT_LEADER", &X11Atoms::WmClientLeader},
        {"_NET_WM_PID", &X11Atoms::NetWmPid},
        {"_WINGTUCKER_HOME", &X11Atoms::WingtuckerHome},
    };
    constexpr int count = static_cast<int>(std::size(entries));
    char* names[count];
    Atom values[count];
    for (int i = 0; i < count; ++i)
        names[i] = const_cast<char*>(entries[i].name);
    if (XInternAtoms(display, names, count, False, values)) {
        for (int i = 0; i < count; ++i)
            atoms.*(entries[i].field) = values[i];
    }
    return atoms;
}

} // namespace wt
