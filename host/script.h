// The command language of hostide's scripted mode, one command a line:
// projects and desktops, menu entries by text, pointer moves and clicks,
// waits, screenshots, the windows' rectangles, echo and quit. Parsing is
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
    Menu,        // menu TEXT or menu MENU|TEXT
    Move,        // move X Y
    Click,       // click X Y [left|middle|right]
    Wait,        // wait MILLISECONDS
    Screenshot,  // screenshot FILE.png
    Rects,
    Echo,        // echo TEXT
    Quit,
};

struct ScriptCommand {
    ScriptOp Op = ScriptOp::Quit;
    int Line = 0;
    QString Text; // file name, menu text or echoed text
    int X = 0;
    int Y = 0;
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
