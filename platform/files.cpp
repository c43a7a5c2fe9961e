#include "platform/files.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <mntent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wt {

std::string DefaultConfigurationDirectory() {
    // A runner started with --dir names the folder itself.
    if (const char* dir = std::getenv("WINGTUCKER_CONFIG_DIR"); dir && *dir == '/')
        return dir;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/')
        return std::string(xdg) + "/wingtucker";
    const char* home = std::getenv("HOME");
    std::string base;
    if (home && *home)
        base = home;
    else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        base = pw->pw_dir;
    else
        base = "/tmp";
    return base + "/.config/wingtucker";
}

std::string RunningProgramFileName() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return {};
    return std::string(buffer, static_cast<std::size_t>(n));
}

std::string CurrentWorkingDirectory() {
    char buffer[PATH_MAX];
    if (!getcwd(buffer, sizeof buffer))
        return {};
    return buffer;
}

namespace {
// A C string of the path, or nothing when a NUL byte inside would cut it
// short and so name another file than the one asked for.
bool AsCString(std::string_view path, std::string& out) {
    if (path.empty() || path.find('\0') != std::string_view::npos)
        return false;
    out.assign(path);
    return true;
}
} // namespace

bool ChangeWorkingDirectory(std::string_view path) {
    std::string p;
    return AsCString(path, p) && chdir(p.c_str()) == 0;
}

FileAttributes QueryFileAttributes(std::string_view path) {
    FileAttributes result;
    struct stat st {};
    std::string p;
    if (!AsCString(path, p) || stat(p.c_str(), &st) != 0)
        return result;
    result.Exists = true;
    result.Directory = S_ISDIR(st.st_mode);
    result.ReadOnly = access(p.c_str(), W_OK) != 0;
    return result;
}

bool MakeOneDirectory(std::string_view path) {
    std::string p;
    return AsCString(path, p) && mkdir(p.c_str(), 0777) == 0;
}

std::vector<std::string> ListMountPoints() {
    std::vector<std::string> points;
    FILE* table = setmntent("/proc/self/mounts", "r");
    if (!table)
        return {"/"};
    while (mntent* entry = getmntent(table)) {
        std::string dir = entry->mnt_dir;
        std::string type = entry->mnt_type;
        // Only file systems a user keeps files on; the kernel's own are noise.
        static const char* const pseudo[] = {
            "proc",   "sysfs",      "devpts",  "cgroup",          "cgroup2",
            "mqueue", "securityfs", "debugfs", "tracefs",         "pstore",
            "bpf",    "configfs",   "fusectl", "hugetlbfs",       "binfmt_misc",
            "autofs", "devtmpfs",   "nsfs",    "overlay_internal"};
        bool skip = false;
        for (const char* t : pseudo)
            if (type == t)
                skip = true;
        if (!skip &&
            (dir == "/" || dir.rfind("/home", 0) == 0 || dir.rfind("/media", 0) == 0 ||
             dir.rfind("/mnt", 0) == 0 || dir.rfind("/run/media", 0) == 0 || dir == "/tmp"))
            points.push_back(dir);
    }
    endmntent(table);
    if (points.empty())
        points.push_back("/");
    return points;
}

} // namespace wt
