// What a form's frame offers the user (move, resize, close, minimize,
// maximize), told to an X11 window manager as Motif hints. Qt asks for a
// resize function on every window, so a manager that reads the functions
// (fluxbox, icewm) gave a form of fixed size a maximize button that did
// nothing. Written on Qt's own connection, after what Qt writes there.
#pragma once

class QWidget;

namespace wt {

struct TFrameFunctions {
    bool Resize = false;
    bool Close = false;
    bool Minimize = false;
    bool Maximize = false;
    bool Title = true; // a title bar at all
};

// Nothing on a platform other than X11, or for a window not yet created.
void AskFrameFunctions(QWidget* window, const TFrameFunctions& functions);

} // namespace wt
