// Runs a parsed script through the event loop, one command per pass, so that
// the add-ins' timers and messages go on between commands and a modal dialog
// does not hold the script up: neither one opened by a menu entry nor one an
// add-in opens inside a command (the script goes on in the dialog's loop).
#pragma once

#include "host/script.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace wt {

// What a script can ask of the host. Each operation returns false with
// *error set when it could not be done.
class ScriptHost {
public:
    virtual bool NewProject(const QString& fileName, QString* error) = 0;
    virtual bool OpenProject(const QString& fileName, QString* error) = 0;
    virtual bool CloseProject(QString* error) = 0;
    virtual bool OpenDesktop(const QString& fileName, QString* error) = 0;
    virtual bool SaveDesktop(QString* error) = 0;
    // Picks the entry; what it runs runs after this returns.
    virtual bool PickMenuEntry(const QString& text, QString* error) = 0;
    virtual bool MovePointer(int x, int y, QString* error) = 0;
    virtual bool Click(int x, int y, int button, QString* error) = 0;
    virtual bool Screenshot(const QString& fileName, QString* error) = 0;
    virtual bool TypeText(const QString& text, QString* error) = 0;
    virtual bool PressKey(const QString& combo, QString* error) = 0;
    // Clicks, through XTest, where the main window's menu TITLE or the
    // Inspector's value of NAME stands on screen.
    virtual bool ClickMenu(const QString& title, QString* error) = 0;
    virtual bool ClickProperty(const QString& name, QString* error) = 0;
    // Clicks the middle of a shown, enabled button whose caption is TEXT.
    virtual bool ClickButton(const QString& text, QString* error) = 0;
    // Clicks in the shown control of that name, in any of the program's
    // windows: at (dx, dy) from its top-left corner, a negative one counted
    // from its right or bottom edge (-1 the last pixel), or its middle.
    virtual bool ClickControl(const QString& name, const std::optional<QPoint>& at,
                              QString* error) = 0;
    // "control NAME LEFT TOP RIGHT BOTTOM shown|hidden" on the screen, right
    // and bottom one past the last pixel, or "control NAME unknown".
    virtual QString ControlLine(const QString& name) = 0;
    // One line per IDE window.
    virtual QStringList WindowLines() = 0;
    // "focus CLASS popup MENU": the window with the keyboard focus (none,
    // other) and the menu that is open (none).
    virtual QString FocusLine() = 0;
    // "property NAME VALUE", or "property NAME unknown".
    virtual QString PropertyLine(const QString& name) = 0;
    virtual void Print(const QString& line) = 0;
    // Terminates the add-ins as exit does, and goes on without them.
    virtual void Unload() = 0;
    virtual void Quit() = 0;

protected:
    ~ScriptHost() = default;
};

class ScriptRunner : public QObject {
    Q_OBJECT
public:
    ScriptRunner(ScriptHost& host, std::vector<ScriptCommand> commands, QObject* parent = nullptr);

    void Start();
    bool IsRunning() const { return running_; }

signals:
    // A command failed: the script stops there.
    void Failed(int line, const QString& message);
    // The last command ran and none of them was quit.
    void Finished();

private:
    // How often a running command is checked for a modal loop of its own.
    static constexpr int ModalWatchMs = 20;

    void Step();
    bool Run(const ScriptCommand& command, QString* error);
    // Goes on after command: quits, or schedules the next step.
    void Continue(const ScriptCommand& command);
    void Schedule(int milliseconds);

    ScriptHost& host_;
    std::vector<ScriptCommand> commands_;
    size_t next_ = 0;
    bool running_ = false;
    bool failed_ = false;
};

} // namespace wt
