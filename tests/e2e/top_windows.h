// The mapped top-level windows of a display, found by title as a user sees
// them, for the dialogs that the add-in opens.
#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <string>

namespace wt::e2e {

struct Placed {
    Window window;
    int x, y, width, height;
};

// The viewable top-level window of that title, as the server has it (a
// client in a manager's frame too; its place is then within the frame).
std::optional<Placed> FindMapped(Display* display, const std::string& title);

// What a window manager's close box does: asks the window to close.
void SendCloseRequest(Display* display, Window window);

} // namespace wt::e2e
