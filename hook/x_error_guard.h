// Keeps X errors on the watcher's own connections from ending the process:
// process-wide Xlib error and I/O error handlers that swallow what happens on
// registered displays and hand every other display's to the handler before.
#pragma once

#include <X11/Xlib.h>

namespace wt::hook {

// Installs the handler (once per process) and registers display; false when
// every slot is taken (errors on display then reach the previous handler).
bool GuardDisplay(Display* display);
void UnguardDisplay(Display* display);
// Number of errors swallowed so far on guarded displays (for tests).
unsigned long SwallowedErrors();

} // namespace wt::hook
