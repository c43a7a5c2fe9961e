#include "host/command_line.h"

namespace wt {

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine line;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        QString option = argument;
        QString value;
        bool hasValue = false;
        const qsizetype equals = argument.indexOf('=');
        if (argument.startsWith(QLatin1String("--")) && equals > 0) {
            option = argument.left(equals);
            value = argument.mid(equals + 1);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasValue)
                return !value.isEmpty();
            if (i + 1 >= arguments.size())
                return false;
            value = arguments[++i];
            return !value.isEmpty();
        };
        if (option == QLatin1String("--addin")) {
            if (!takeValue()) {
                line.Error = QStringLiteral("--addin needs the file name of an add-in");
                return line;
            }
            line.AddIns.append(value);
        } else if (option == QLatin1String("--script")) {
            if (!takeValue()) {
                line.Error = QStringLiteral("--script needs a file name, or - for standard input");
                return line;
            }
            if (!line.Script.isEmpty()) {
                line.Error = QStringLiteral("--script is given twice");
                return line;
            }
            line.Script = value;
        } else if (!hasValue &&
                   (option == QLatin1String("--help") || option == QLatin1String("-h"))) {
            line.Help = true;
        } else if (!hasValue && option == QLatin1String("--version")) {
            line.Version = true;
        } else {
            line.Error = QStringLiteral("unknown argument \"%1\"").arg(argument);
            return line;
        }
    }
    return line;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: hostide [--addin FILE]... [--script FILE|-]\n"
        "A small host IDE: its main window (class TAppBuilder) and Object Inspector\n"
        "(class TPropertyInspector), projects and desktop files, and add-ins loaded\n"
        "through their INITEXPERT0016 entry point.\n"
        "\n"
        "  --addin FILE     load this add-in too (may be given more than once)\n"
        "  --script FILE    run the commands in FILE (- reads standard input)\n"
        "  --help           show this text\n"
        "  --version        show the version\n"
        "\n"
        "Configuration: $XDG_CONFIG_HOME/hostide (default ~/.config/hostide).\n");
}

} // namespace wt
