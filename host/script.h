// The command language of hostide's scripted mode, one command a line:
// projects and desktops, menu entries by text, pointer moves and clicks,
// keys and text, waits, screenshots, the windows' rectangles, the focus,
// the Inspector's values, any window's controls by name, echo and quit. Parsing is
// separate from running so that a malformed script is refused before any of
// it runs.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace wt {

enum class ScriptOp {
    NewProject,  // new-project FILE
    OpenProject, // open-project FILE
    CloseProject,
    OpenDesktop, // open-desktop FILE
    SaveDesktop,
    Menu,       // menu TEXT or menu MENU|TEXT
    Move,       // move X Y
    Click,      // click X Y [left|middle|right]
    Wait,       // wait MILLISECONDS
    Screenshot, // screenshot FILE.png
    Rects,
    Type,          // type TEXT: keys through XTest, one per character
    Key,           // key COMBO: one key with modifiers, alt+f, ctrl+shift+s, Return
    Focus,         // prints which IDE window has the keyboard focus and the open menu
    Property,      // property NAME: prints the Inspector's value of NAME
    ClickMenu,     // click-menu TEXT: clicks the main window's menu of that title
    ClickProperty, // click-property NAME: clicks the Inspector's value of NAME
    ClickButton,   // click-button TEXT: clicks a shown button of that caption, an add-in's too
    Control,       // control NAME: prints where a control of that name stands and if it is shown
    ClickControl,  // click-control NAME [DX DY]: clicks in it, the middle by default
    Echo,          // echo TEXT
    Unload,        // terminates the add-ins as exit does; the host runs on
    Quit,
};

struct ScriptCommand {
    ScriptOp Op = ScriptOp::Quit;
    int Line = 0;
    QString Text; // file name, menu text, echoed or typed text, key or property name
    int X = 0;
    int Y = 0;
    bool HasPoint = false; // click-control was given DX DY
    int Button = 1;
    int Milliseconds = 0;
};

inline constexpr int MaxScriptWaitMs = 10 * 60 * 1000;
inline constexpr int MaxScriptCoordinate = 32767;
inline constexpr int MaxScriptLineLength = 4096;

struct ScriptParse {
    std::vector<ScriptCommand> Commands;
    int ErrorLine = 0; // 0 when the script is well formed
    QString Error;
};

ScriptParse ParseScript(const QByteArray& text);

} // namespace wt
