// The scripted mode's view of a running hostide: its operations on the
// session, menu entries found by text, XTest input, screenshots of the whole
// screen and the IDE windows' rectangles as the X server has them.
#pragma once

#include "host/script_runner.h"

class QAction;

namespace wt {

class IdeSession;

class IdeScriptHost final : public ScriptHost {
public:
    explicit IdeScriptHost(IdeSession& session) : session_(session) {}

    bool NewProject(const QString& fileName, QString* error) override;
    bool OpenProject(const QString& fileName, QString* error) override;
    bool CloseProject(QString* error) override;
    bool OpenDesktop(const QString& fileName, QString* error) override;
    bool SaveDesktop(QString* error) override;
    bool PickMenuEntry(const QString& text, QString* error) override;
    bool MovePointer(int x, int y, QString* error) override;
    bool Click(int x, int y, int button, QString* error) override;
    bool Screenshot(const QString& fileName, QString* error) override;
    bool TypeText(const QString& text, QString* error) override;
    bool PressKey(const QString& combo, QString* error) override;
    bool ClickMenu(const QString& title, QString* error) override;
    bool ClickProperty(const QString& name, QString* error) override;
    bool ClickButton(const QString& text, QString* error) override;
    bool ClickControl(const QString& name, const std::optional<QPoint>& at,
                      QString* error) override;
    QString ControlLine(const QString& name) override;
    QStringList WindowLines() override;
    QString FocusLine() override;
    QString PropertyLine(const QString& name) override;
    void Print(const QString& line) override;
    void Unload() override;
    void Quit() override;

private:
    bool OnScreen(int x, int y, QString* error) const;

    IdeSession& session_;
};

// A menu entry's text as a script names it: no '&' marks, no shortcut.
QString PlainMenuText(const QString& text);

} // namespace wt
