#include "host/lost_display.h"

#include "host/x11_desktop.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <X11/Xlib.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace wt {

namespace {

std::string lostLine;
std::atomic<bool> said{false};
std::atomic<bool> leaving{false};
QtMessageHandler qtHandler = nullptr;

void SayLost() {
    if (!said.exchange(true)) {
        std::fputs(lostLine.c_str(), stderr);
        std::fflush(stderr);
    }
}

// Qt notices the broken connection on its own and reports it before it
// leaves; the report becomes hostide's line.
void FilterQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("The X11 connection broke"))) {
        SayLost();
        return;
    }
    if (qtHandler)
        qtHandler(type, context, message);
}

// An Xlib call of hostide's found the connection broken. Xlib's own handler
// would print two lines and call exit() from inside the call.
int LostConnection(Display*) {
    SayLost();
    std::fflush(stdout);
    if (leaving.exchange(true))
        _exit(1); // found again while leaving: exit() must not run twice
    std::exit(1);
}

} // namespace

void WatchForLostDisplay() {
    Display* display = X11Display();
    const QByteArray name = display ? QByteArray(DisplayString(display)) : qgetenv("DISPLAY");
    lostLine = QCoreApplication::applicationName().toStdString() +
               ": lost the connection to the X display " + name.toStdString() + "; leaving\n";
    qtHandler = qInstallMessageHandler(FilterQtMessage);
    XSetIOErrorHandler(LostConnection);
}

} // namespace wt
