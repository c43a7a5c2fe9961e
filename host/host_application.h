// What hostide and wingtucker both are: a Qt application on X11 only (an X
// server, or XWayland under Wayland), that says so plainly where there is
// none, and that leaves with a line of its own when the display goes.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class QApplication;
class QObject;

namespace wt {

class HostApplication {
public:
    // Checks the display, then makes the application; Problem() says why it
    // cannot run. iconResource: the windows' icon, "" for Qt's own.
    HostApplication(int& argc, char** argv, const QString& name, const QString& iconResource = {});
    ~HostApplication();
    HostApplication(const HostApplication&) = delete;
    HostApplication& operator=(const HostApplication&) = delete;

    // Empty when it runs; else what to tell the user.
    const QString& Problem() const { return problem_; }
    // The application as a connection's context.
    QObject* Context() const;
    // The display it runs on, as X names it (":1").
    QString DisplayName() const;
    // The folder of the running program.
    static QString ProgramDir();

    // The event loop, and its end with a status. Exit, not quit: quit first
    // asks every top-level window to close and gives up when one refuses,
    // as an add-in form that only hides on a close request does.
    static int Exec();
    // Calls what once the event loop runs, unless context is gone by then.
    static void OnceRunning(QObject* context, std::function<void()> what);
    static void Exit(int status);

private:
    std::unique_ptr<QApplication> app_;
    QString problem_;
};

} // namespace wt
