#include "host/host_paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace wt {

QString HostConfigurationDirectory() {
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    QString base = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QStringLiteral("/hostide"));
}

QString DefaultDesktopFileName() {
    return HostConfigurationDirectory() + QStringLiteral("/DELPHI32.DSK");
}

QString AddInListFileName() { return HostConfigurationDirectory() + QStringLiteral("/addins"); }

QStringList DefaultAddInCandidates(const QString& executableDir) {
    const QDir dir(executableDir);
    const QString file = QString::fromLatin1(DefaultAddInFile);
    QStringList candidates = {
        dir.filePath(file),
        dir.filePath(QStringLiteral("../addin/") + file),
        // Installed: the add-in's own folder under the library directory,
        // as seen from the binary directory (any prefix).
        dir.filePath(QStringLiteral(WT_INSTALLED_ADDIN_DIR "/") + file),
        dir.filePath(QStringLiteral("../lib/wingtucker/") + file),
        dir.filePath(QStringLiteral("../lib/") + file),
    };
    for (QString& candidate : candidates)
        candidate = QDir::cleanPath(candidate);
    return candidates;
}

AddInList ParseAddInList(const QByteArray& text, const QString& baseDir) {
    AddInList list;
    list.FromListFile = true;
    const QDir base(baseDir);
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        list.Files.append(QDir::cleanPath(base.absoluteFilePath(line)));
    }
    return list;
}

AddInList ReadAddInList(const QString& listFileName) {
    QFile file(listFileName);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        AddInList list;
        list.FromListFile = true;
        list.Error = QStringLiteral("%1: %2").arg(listFileName, file.errorString());
        return list;
    }
    return ParseAddInList(file.read(1024 * 1024), QFileInfo(listFileName).absolutePath());
}

} // namespace wt
