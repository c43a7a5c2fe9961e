#include "runner/autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace wt {

namespace {

// A desktop entry's Exec argument: quoted where it holds more than plain characters.
QString ExecArgument(const QString& argument) {
    static const QString plain =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_./=+,:@");
    bool quote = argument.isEmpty();
    for (QChar c : argument)
        quote = quote || !plain.contains(c);
    if (!quote)
        return argument;
    QString quoted = QStringLiteral("\"");
    for (QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    // A literal percent sign is doubled in Exec.
    return quoted.replace(u'%', QStringLiteral("%%")) + u'"';
}

} // namespace

QString AutostartFileName() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!base.startsWith(u'/'))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/autostart/wingtucker.desktop");
}

QByteArray AutostartEntry(const QString& program, const QStringList& arguments) {
    QStringList exec{ExecArgument(program)};
    for (const QString& argument : arguments)
        exec.append(ExecArgument(argument));
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Wingtucker\n"
                          "Comment=Tucks the IDE's main window and Object Inspector away at the "
                          "screen's edges\n"
                          "Exec=%1\n"
                          "Icon=wingtucker\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(exec.join(u' '))
        .toUtf8();
}

QString SetAutostart(bool on, const QString& program, const QStringList& arguments) {
    const QString name = AutostartFileName();
    if (!on) {
        QFile file(name);
        if (file.exists() && !file.remove())
            return QStringLiteral("%1 cannot be removed: %2").arg(name, file.errorString());
        return {};
    }
    if (!QDir().mkpath(QFileInfo(name).path()))
        return QStringLiteral("the folder %1 cannot be made").arg(QFileInfo(name).path());
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(AutostartEntry(program, arguments)) < 0 ||
        !file.commit())
        return QStringLiteral("%1 cannot be written: %2").arg(name, file.errorString());
    return {};
}

} // namespace wt
