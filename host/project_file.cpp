#include "host/project_file.h"

#include "host/ini_text.h"

#include <QDir>
#include <QFileInfo>

namespace wt {

QString FullFileName(const QString& fileName) {
    return QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
}

QString DesktopFileForProject(const QString& projectFileName) {
    const QFileInfo info(FullFileName(projectFileName));
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf('.');
    // A project that is itself named *.dsk keeps its suffix, so that saving
    // its desktop can never overwrite the project file.
    const bool keepSuffix = name.endsWith(QStringLiteral(".dsk"), Qt::CaseInsensitive);
    const QString base = dot > 0 && !keepSuffix ? name.left(dot) : name;
    return info.dir().filePath(base + QStringLiteral(".dsk"));
}

bool ReadProjectFile(const QString& fileName, ProjectInfo* project, QString* error) {
    const QString full = FullFileName(fileName);
    IniDocument document;
    if (!ReadIniFile(full, &document, error))
        return false;
    const IniSection* section = document.Find(QStringLiteral("Project"));
    if (!section) {
        *error =
            QStringLiteral("%1: not a project file (the section [Project] is missing)").arg(full);
        return false;
    }
    const IniEntry* name = section->Find(QStringLiteral("Name"));
    project->FileName = full;
    project->Name =
        name && !name->Value.isEmpty() ? name->Value : QFileInfo(full).completeBaseName();
    return true;
}

bool CreateProjectFile(const QString& fileName, ProjectInfo* project, QString* error) {
    const QString full = FullFileName(fileName);
    if (QFileInfo::exists(full)) {
        *error = QStringLiteral("%1: the file exists already").arg(full);
        return false;
    }
    const QString name = QFileInfo(full).completeBaseName();
    IniDocument document;
    document.Set(QStringLiteral("Project"), QStringLiteral("Name"), name);
    document.Set(QStringLiteral("Project"), QStringLiteral("MainForm"), QStringLiteral("Form1"));
    if (!WriteIniFileSafely(full, document, error))
        return false;
    project->FileName = full;
    project->Name = name;
    return true;
}

} // namespace wt
