// Gives a top-level window of hostide its own X11 window class (the class
// part of WM_CLASS), which Qt would otherwise set from the program's name:
// add-ins find the IDE's windows by these classes.
#pragma once

#include <QByteArray>

class QWidget;

namespace wt {

// Sets WM_CLASS on the window now (creating its native window, before it is
// first mapped) and again whenever Qt re-creates the native window.
void SetWindowClass(QWidget* window, const QByteArray& instanceName, const QByteArray& className);

} // namespace wt
