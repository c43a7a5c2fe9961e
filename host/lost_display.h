// When the X server goes away under hostide, the program says so once, in its
// own words, and leaves with status 1: Qt's report of the broken connection
// is replaced by that line, and an Xlib call on the dead connection (a
// script's pointer move, a window query) ends the program the same way
// instead of printing Xlib's own lines.
#pragma once

namespace wt {

// Installs the watch for Qt's display; call once the application exists and
// before any add-in is loaded, so that add-ins' handlers forward to it.
void WatchForLostDisplay();

} // namespace wt
