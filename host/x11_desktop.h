// The few things hostide asks of the X server directly: its Xlib display,
// where a window really is, and synthetic pointer input through XTest for
// the scripted mode.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

typedef struct _XDisplay Display;

namespace wt {

// Whether the display named by DISPLAY can be opened; a message if not.
bool CanOpenDisplay(QString* error);
// Qt's own Xlib display, or null when the program does not run on xcb.
Display* X11Display();
// Waits until the X server has handled every request sent so far.
void SyncWithServer();
// The root window's size: every point a pointer can reach, on any monitor.
QSize RootSize();

struct X11WindowState {
    QRect Client; // the window's own area, in root coordinates
    QRect Outer;  // grown by the window manager's frame (_NET_FRAME_EXTENTS)
    bool Mapped = false;
    bool Framed = false; // reparented into a window manager's frame
};

bool QueryWindowState(uintptr_t window, X11WindowState* state);

// XTest pointer input; false with a message when the server cannot do it.
bool FakePointerMove(int x, int y, QString* error);
bool FakePointerClick(int x, int y, int button, QString* error);
// XTest keys: one key with modifiers ("alt+f", "Return"), or text of
// letters, digits and spaces, one key a character.
bool FakeKeyCombo(const QString& combo, QString* error);
bool FakeTyping(const QString& text, QString* error);

} // namespace wt
