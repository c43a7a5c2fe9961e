#include "host/runner_line.h"

#include "platform/window_presets.h"

namespace wt {

namespace {

// The value of an option given as "--name VALUE" or "--name=VALUE"; sets
// error when it is missing.
QString ValueOf(const QStringList& arguments, qsizetype* i, const QString& name, QString* error) {
    const QString& argument = arguments[*i];
    if (argument.startsWith(name + u'='))
        return argument.mid(name.size() + 1);
    if (*i + 1 < arguments.size())
        return arguments[++*i];
    *error = QStringLiteral("%1 needs a value").arg(name);
    return {};
}

bool Named(const QString& argument, const QString& name) {
    return argument == name || argument.startsWith(name + u'=');
}

} // namespace

RunnerLine ParseRunnerLine(const QStringList& arguments) {
    RunnerLine line;
    for (qsizetype i = 0; i < arguments.size() && line.Error.isEmpty(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            line.Help = true;
        } else if (argument == QLatin1String("--version")) {
            line.Version = true;
        } else if (argument == QLatin1String("--start")) {
            line.Start = true;
        } else if (Named(argument, QStringLiteral("--preset"))) {
            line.Preset = ValueOf(arguments, &i, QStringLiteral("--preset"), &line.Error);
            if (line.Error.isEmpty() && !FindWindowPreset(line.Preset.toStdString()))
                line.Error =
                    QStringLiteral("unknown preset \"%1\" (%2)")
                        .arg(line.Preset.left(40), QString::fromStdString(WindowPresetNames()));
        } else if (Named(argument, QStringLiteral("--dir"))) {
            line.Dir = ValueOf(arguments, &i, QStringLiteral("--dir"), &line.Error);
            if (line.Error.isEmpty() && line.Dir.isEmpty())
                line.Error = QStringLiteral("--dir needs a directory");
        } else if (Named(argument, QStringLiteral("--autostart"))) {
            const QString value =
                ValueOf(arguments, &i, QStringLiteral("--autostart"), &line.Error);
            if (value == QLatin1String("on") || value == QLatin1String("off"))
                line.Autostart = value == QLatin1String("on");
            else if (line.Error.isEmpty())
                line.Error = QStringLiteral("--autostart takes on or off");
        } else {
            line.Error =
                QStringLiteral("unknown argument \"%1\"; try --help").arg(argument.left(40));
        }
    }
    return line;
}

QString RunnerUsage() {
    return QStringLiteral(
        "usage: wingtucker [--preset NAME] [--start] [--dir DIR]\n"
        "       wingtucker --autostart on|off\n"
        "Tucks the main window and Object Inspector of an IDE that runs as another\n"
        "program away at the screen's edges, as Wingtucker does inside hostide.\n"
        "  --preset NAME   the windows of that IDE, for this run: lazarus, designer,\n"
        "                  hostide (default: the rules of the settings file)\n"
        "  --start         start tucking once both windows are found\n"
        "  --dir DIR       the settings folder (default ~/.config/wingtucker)\n"
        "  --autostart on|off  start (or no longer start) with the desktop session,\n"
        "                  with the other options given\n"
        "  --help, --version\n");
}

} // namespace wt
