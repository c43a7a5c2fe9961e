#include "host/script_runner.h"

#include <QThread>
#include <QTimer>

namespace wt {

ScriptRunner::ScriptRunner(ScriptHost& host, std::vector<ScriptCommand> commands, QObject* parent)
    : QObject(parent), host_(host), commands_(std::move(commands)) {}

void ScriptRunner::Start() {
    if (running_)
        return;
    running_ = true;
    failed_ = false;
    next_ = 0;
    Schedule(0);
}

void ScriptRunner::Schedule(int milliseconds) {
    QTimer::singleShot(milliseconds, this, &ScriptRunner::Step);
}

void ScriptRunner::Step() {
    if (!running_)
        return;
    if (next_ >= commands_.size()) {
        running_ = false;
        emit Finished();
        return;
    }
    const ScriptCommand command = commands_[next_++];
    // A command that calls into an add-in (a notification) may come back
    // only once a modal dialog of the add-in is closed. As soon as the
    // command runs an event loop of its own, the script goes on inside it,
    // as it does beside a dialog opened from a menu entry; a short pump of
    // events that opens no loop does not count.
    const int level = QThread::currentThread()->loopLevel();
    bool detached = false;
    QTimer watch;
    watch.setInterval(ModalWatchMs);
    connect(&watch, &QTimer::timeout, this, [&] {
        if (QThread::currentThread()->loopLevel() <= level)
            return;
        watch.stop();
        detached = true;
        Continue(command);
    });
    watch.start();
    QString error;
    const bool done = Run(command, &error);
    watch.stop();
    if (!done) {
        // A command the script went on from may still fail: that stops the
        // script too, unless a failure did already.
        if (!failed_) {
            failed_ = true;
            running_ = false;
            emit Failed(command.Line, error);
        }
        return;
    }
    if (!detached)
        Continue(command);
}

void ScriptRunner::Continue(const ScriptCommand& command) {
    if (!running_)
        return;
    if (command.Op == ScriptOp::Quit) {
        running_ = false;
        host_.Quit();
        return;
    }
    Schedule(command.Op == ScriptOp::Wait ? command.Milliseconds : 0);
}

bool ScriptRunner::Run(const ScriptCommand& command, QString* error) {
    switch (command.Op) {
    case ScriptOp::NewProject: return host_.NewProject(command.Text, error);
    case ScriptOp::OpenProject: return host_.OpenProject(command.Text, error);
    case ScriptOp::CloseProject: return host_.CloseProject(error);
    case ScriptOp::OpenDesktop: return host_.OpenDesktop(command.Text, error);
    case ScriptOp::SaveDesktop: return host_.SaveDesktop(error);
    case ScriptOp::Menu: return host_.PickMenuEntry(command.Text, error);
    case ScriptOp::Move: return host_.MovePointer(command.X, command.Y, error);
    case ScriptOp::Click: return host_.Click(command.X, command.Y, command.Button, error);
    case ScriptOp::Screenshot: return host_.Screenshot(command.Text, error);
    case ScriptOp::Rects:
        for (const QString& line : host_.WindowLines())
            host_.Print(line);
        return true;
    case ScriptOp::Echo: host_.Print(command.Text); return true;
    case ScriptOp::Type: return host_.TypeText(command.Text, error);
    case ScriptOp::Key: return host_.PressKey(command.Text, error);
    case ScriptOp::ClickMenu: return host_.ClickMenu(command.Text, error);
    case ScriptOp::ClickProperty: return host_.ClickProperty(command.Text, error);
    case ScriptOp::ClickButton: return host_.ClickButton(command.Text, error);
    case ScriptOp::ClickControl:
        return host_.ClickControl(
            command.Text,
            command.HasPoint ? std::optional<QPoint>(QPoint(command.X, command.Y)) : std::nullopt,
            error);
    case ScriptOp::Control: host_.Print(host_.ControlLine(command.Text)); return true;
    case ScriptOp::Focus: host_.Print(host_.FocusLine()); return true;
    case ScriptOp::Property: host_.Print(host_.PropertyLine(command.Text)); return true;
    case ScriptOp::Unload: host_.Unload(); return true;
    case ScriptOp::Wait:
    case ScriptOp::Quit: return true;
    }
    return true;
}

} // namespace wt
