// The run-time library's directory routines over the platform: the
// process's current directory, directory tests and creation. Paths are the
// platform's: "/" separates, there are no drive letters.
#pragma once

#include <QString>

namespace wt {

inline constexpr QChar PathDelim = u'/';
// The longest path, in bytes of its UTF-8 form, the system accepts.
int MaxPathLength();

QString GetCurrentDir();
// False, changing nothing, when the directory cannot be entered.
bool SetCurrentDir(const QString& path);
bool DirectoryExists(const QString& path);
// Creates one directory whose parent exists; false when it could not.
bool CreateDir(const QString& path);
// A path with a NUL byte, or longer than the system takes, names no file.
bool IsUsablePath(const QString& path);

} // namespace wt
