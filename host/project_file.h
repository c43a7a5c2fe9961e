// Project files of hostide: INI text with a [Project] section. A project's
// desktop file lies beside it, with the same base name and the suffix ".dsk".
#pragma once

#include <QString>

namespace wt {

struct ProjectInfo {
    QString FileName; // absolute
    QString Name;
};

// The absolute, cleaned form of a file name, as the host hands it to add-ins.
QString FullFileName(const QString& fileName);
QString DesktopFileForProject(const QString& projectFileName);

bool ReadProjectFile(const QString& fileName, ProjectInfo* project, QString* error);
// Writes a new project named after the file's base name; refuses to replace
// an existing file.
bool CreateProjectFile(const QString& fileName, ProjectInfo* project, QString* error);

} // namespace wt
