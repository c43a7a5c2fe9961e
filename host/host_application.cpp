#include "host/host_application.h"

#include "host/lost_display.h"
#include "host/thread_exit.h"
#include "host/x11_desktop.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <X11/Xlib.h>

namespace wt {

HostApplication::HostApplication(int& argc, char** argv, const QString& name,
                                 const QString& iconResource) {
    if (!CanOpenDisplay(&problem_))
        return;
    // The add-ins and the window classes need X11, also under Wayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    AwaitThreadsAtExit();
    app_ = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(name);
    QApplication::setQuitOnLastWindowClosed(false);
    if (!iconResource.isEmpty())
        QApplication::setWindowIcon(QIcon(iconResource));
    if (QApplication::platformName() != QLatin1String("xcb") || !X11Display()) {
        problem_ = QStringLiteral("%1 runs on X11 only, not on the Qt platform \"%2\"")
                       .arg(name, QApplication::platformName());
        return;
    }
    WatchForLostDisplay();
}

HostApplication::~HostApplication() = default;

QObject* HostApplication::Context() const { return app_.get(); }

QString HostApplication::DisplayName() const {
    Display* display = X11Display();
    return display ? QString::fromLocal8Bit(DisplayString(display)) : QString();
}

QString HostApplication::ProgramDir() { return QCoreApplication::applicationDirPath(); }

void HostApplication::OnceRunning(QObject* context, std::function<void()> what) {
    QTimer::singleShot(0, context, std::move(what));
}

int HostApplication::Exec() { return QApplication::exec(); }

void HostApplication::Exit(int status) { QApplication::exit(status); }

} // namespace wt
