// wingtucker's command line: --preset NAME, --start, --dir DIR,
// --autostart on|off, --help and --version. Read before the application
// starts, so that --help works without a display.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace wt {

struct RunnerLine {
    QString Preset; // "" for the rules of the settings file
    bool Start = false;
    QString Dir; // "" for the configuration directory
    std::optional<bool> Autostart;
    bool Help = false;
    bool Version = false;
    QString Error; // one line; "" when the line is well formed
};

RunnerLine ParseRunnerLine(const QStringList& arguments); // without the program name
QString RunnerUsage();

} // namespace wt
