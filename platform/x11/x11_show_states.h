// How a window is shown (maximized, minimized, rolled up), read from the
// window manager's properties, and maximizing and restoring through it.
#pragma once

#include "platform/types.h"

#include <X11/Xlib.h>

namespace wt {

class X11Desktop;

TShowState ShowStateOf(X11Desktop& desktop, Window window);

// Asks the manager to maximize the window or to restore it from maximized
// (_NET_WM_STATE), then waits, at most the desktop's ReleaseTime, until it
// has; without a manager only the property changes. False when the state
// did not come.
bool SetMaximized(X11Desktop& desktop, Window window, bool maximized);

} // namespace wt
