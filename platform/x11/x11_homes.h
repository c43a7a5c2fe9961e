// Where other programs' windows stood before a run moved them, kept on the
// windows themselves (_WINGTUCKER_HOME: left, top, right, bottom and the
// moving process), so that a guardian with a connection of its own can put
// them back when that process dies without doing so.
#pragma once

#include "platform/types.h"
#include "platform/x11/x11_desktop.h"

#include <optional>

namespace wt {

struct HomeMark {
    TRect Home; // outer rectangle before the first move
    long Pid = 0;
};

void MarkHome(X11Desktop& desktop, Window window, const HomeMark& mark);
void ClearHome(X11Desktop& desktop, Window window);
std::optional<HomeMark> ReadHome(X11Desktop& desktop, Window window);

// Every window marked by process pid: given back to the manager where it was
// taken from it, then moved home, and its marks removed. Returns how many.
int ReturnHome(X11Desktop& desktop, long pid);
// On a connection of its own to $DISPLAY: ReturnHome for process pid.
// Returns how many windows were put back; 0 when the display is gone too.
int ReturnHomeOnOwnConnection(long pid);
// The same for every process of this machine that left marks and is gone
// (its guardian could not put them back); returns how many.
int ReturnOrphans(X11Desktop& desktop);

} // namespace wt
