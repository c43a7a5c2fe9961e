// X errors on the platform's own display connections are recorded, never
// fatal: a window that vanishes in the middle of an operation only makes that
// operation fail, and a broken connection neither prints nor ends the process.
// Errors on other connections go to the handlers before ours.
#pragma once

#include <X11/Xlib.h>

namespace wt {

// Registers display with the process-wide handlers (installed on first use).
void WatchDisplayErrors(Display* display);
// Forgets display; restores the previous handler when ours was the last user
// and is still the one installed.
void UnwatchDisplayErrors(Display* display);
// Whether the process-wide handler is in place (for tests).
bool DisplayErrorHandlerInstalled();

// Tells whether any request made on display since the trap was set failed.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    // Waits for the server to answer every request made so far, then tells.
    bool Failed();
    // Without a round trip: failures already seen (replies that came back failed).
    bool FailedSoFar() const;

private:
    Display* display_;
    unsigned long start_;
};

} // namespace wt
