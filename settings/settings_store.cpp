#include "settings/settings_store.h"

#include "settings/EasyINI.h"

#include "platform/profile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wt {

TSettings Settings;

void ResetSettings() { Settings = TSettings{}; }

namespace {

// A boolean whose read fails is left false before the failure goes on to the
// caller; the fields read after it keep their previous values.
void LoadBool(TIniEditor& ini, const char* key, bool defaultValue, bool& field) {
    try {
        field = ini.ReadBool(SettingsSection, key, defaultValue);
    } catch (...) {
        field = false;
        throw;
    }
}

// Only 1 means the right edge; any other number, however large, the left.
// What is no number at all gives the default, the right edge.
TEdge ReadSide(TIniEditor& ini) {
    long double side = std::trunc(ini.ReadReal(SettingsSection, "gwSide", 1));
    if (std::isnan(side))
        return TEdge::Right;
    return side == 1 ? TEdge::Right : TEdge::Left;
}

} // namespace

void LoadSettings(TIniEditor& ini) {
    const std::string section = SettingsSection;
    LoadBool(ini, "gwHideInspector", false, Settings.HideInspector);
    try {
        Settings.InspectorEdge = ReadSide(ini);
    } catch (...) {
        Settings.InspectorEdge = TEdge::Right;
        throw;
    }
    LoadBool(ini, "gwHideDelphi", false, Settings.HideDelphi);
    LoadBool(ini, "gwWindowSounds", false, Settings.WindowSounds);
    Settings.MoveOutSound = ini.ReadStr(section, "MoveOutSound", "");
    Settings.MoveInSound = ini.ReadStr(section, "MoveInSound", "");
    // Beyond the Options dialog's range, the nearest value it allows.
    Settings.HangOutPixels = static_cast<std::uint8_t>(std::clamp(
        ini.ReadInt(section, "HangOutPixels", 5), HangOutPixelsRange.Min, HangOutPixelsRange.Max));
    bool animate = Settings.Motion == TMotion::Animated;
    try {
        LoadBool(ini, "gwAnimate", false, animate);
    } catch (...) {
        Settings.Motion = TMotion::Jump;
        throw;
    }
    Settings.Motion = animate ? TMotion::Animated : TMotion::Jump;
    Settings.AnimateSpeed = ini.ReadInt(section, "gwAnimateSpeed", 5);
    if (Settings.AnimateSpeed < AnimateSpeedRange.Min ||
        Settings.AnimateSpeed > AnimateSpeedRange.Max)
        Settings.AnimateSpeed = 5;
    Settings.OpenDelay = ini.ReadInt(section, "gwDelay", 200);
    if (Settings.OpenDelay > OpenDelayRange.Max)
        Settings.OpenDelay = 200;
    LoadBool(ini, "gwUseAutoHide", false, Settings.UseAutoHide);
    LoadBool(ini, "gwDisableOnFocusLoss", true, Settings.DisableOnFocusLoss);
}

std::string SettingsDirectoryProblem(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string_view::npos || slash == 0)
        return {};
    const std::string directory(path.substr(0, slash));
    struct stat st {};
    if (stat(directory.c_str(), &st) == 0 && !S_ISDIR(st.st_mode))
        return "the settings directory " + directory + " is not a directory";
    return {};
}

std::string SoundFileWarning(const std::string& what, const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return what +
               (errno == ENOENT ? " does not exist" : ": " + std::string(std::strerror(errno)));
    if (S_ISDIR(st.st_mode))
        return what + " is a directory";
    char header[12] = {};
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    const bool wave = fd >= 0 && read(fd, header, sizeof header) == sizeof header &&
                      std::memcmp(header, "RIFF", 4) == 0 &&
                      std::memcmp(header + 8, "WAVE", 4) == 0;
    if (fd >= 0)
        close(fd);
    if (!wave)
        return what + " is not a wave file (it has no RIFF/WAVE header)";
    if (path.size() >= 100)
        return what + " is 100 characters or longer, and such names are not played";
    return {};
}

std::string SaveSettings(TIniEditor& ini,
                         const std::vector<std::pair<std::string, std::string>>& values) {
    std::string reason = SettingsDirectoryProblem(ini.FullPath());
    if (reason.empty())
        reason = ini.WriteKeys(SettingsSection, values);
    if (reason.empty())
        return {};
    return "Wingtucker could not save the options in " + ini.FullPath() + ": " + reason +
           ".\n\nNothing was written. Mend this and press Accept again, or close the dialog "
           "to keep the settings as they were.";
}

std::string SettingsFileProblem(const TIniEditor& ini) {
    const std::string path = ini.FullPath();
    if (ini.FileName().empty())
        return {};
    if (std::string directory = SettingsDirectoryProblem(path); !directory.empty())
        return "The settings file " + path + " cannot be read: " + directory +
               ". Wingtucker uses the default settings until it is mended.";
    ProfileStatus status = ProfileFileStatus(path);
    if (status.Readable())
        return {};
    return "The settings file " + path + " cannot be read: " + ProfileStatusReason(status) +
           ". Wingtucker uses the default settings until it is mended.";
}

} // namespace wt
