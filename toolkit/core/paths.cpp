#include "toolkit/core/paths.h"

#include "platform/platform.h"
#include "toolkit/core/component.h"

#include <climits>

namespace wt {

int MaxPathLength() { return PATH_MAX; }

QString GetCurrentDir() { return FromStd(ThePlatform().GetCurrentDirectory()); }

bool SetCurrentDir(const QString& path) {
    return IsUsablePath(path) && ThePlatform().SetCurrentDirectory(ToStd(path));
}

bool DirectoryExists(const QString& path) {
    return IsUsablePath(path) && ThePlatform().GetFileAttributes(ToStd(path)).Directory;
}

bool CreateDir(const QString& path) {
    return IsUsablePath(path) && ThePlatform().CreateDirectory(ToStd(path));
}

bool IsUsablePath(const QString& path) {
    return !path.isEmpty() && !path.contains(QChar(u'\0')) &&
           path.toUtf8().size() < MaxPathLength();
}

} // namespace wt
