// The X atoms the platform speaks of, interned together in one round trip.
#pragma once

#include <X11/Xlib.h>

namespace wt {

struct X11Atoms {
    Atom NetSupportingWmCheck = None;
    Atom NetClientList = None;
    Atom NetClientListStacking = None;
    Atom NetFrameExtents = None;
    Atom NetWmName = None;
    Atom NetSupported = None;
    Atom NetActiveWindow = None;
    Atom NetMoveresizeWindow = None;
    Atom NetWorkarea = None;
    Atom NetWmState = None;
    Atom NetWmStateFullscreen = None;
    Atom NetWmStateMaximizedVert = None;
    Atom NetWmStateMaximizedHorz = None;
    Atom NetWmStateHidden = None;
    Atom NetWmStateShaded = None;
    Atom NetWmWindowType = None;
    Atom WmWindowRole = None;
    Atom NetWmDesktop = None;
    Atom WingtuckerTaken = None;
    Atom NetCurrentDesktop = None;
    Atom Utf8String = None;
    Atom WmState = None;
    Atom WmWatchMouse = None;
    Atom WmClientLeader = None;
    Atom NetWmPid = None;
    Atom WingtuckerHome = None;

    static X11Atoms Intern(Display* display);
};

} // namespace wt
