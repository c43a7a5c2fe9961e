// hostide's command line: --addin PATH (any number), --script FILE or -,
// --help and --version. Read before the application starts, so that --help
// works without a display.
#pragma once

#include <QString>
#include <QStringList>

namespace wt {

struct CommandLine {
    QStringList AddIns;
    QString Script; // "" for none, "-" for standard input
    bool Help = false;
    bool Version = false;
    QString Error; // "" when the line is well formed
};

CommandLine ParseCommandLine(const QStringList& arguments); // without the program name
QString UsageText();

} // namespace wt
