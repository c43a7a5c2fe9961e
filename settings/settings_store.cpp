#include "settings/settings_store.h"

#include "settings/EasyINI.h"
#include "platform/window_presets.h"

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
// whenAbsent stands for the table's default where a run's preset gives one.
void LoadBool(TIniEditor& ini, TSettingId id, bool& field,
              std::optional<bool> whenAbsent = std::nullopt) {
    const TSettingInfo& setting = SettingOf(id);
    try {
        field = ini.ReadBool(setting.Section, setting.Key,
                             whenAbsent.value_or(setting.WhenAbsent != 0));
    } catch (...) {
        field = false;
        throw;
    }
}

std::int32_t LoadInt(TIniEditor& ini, TSettingId id) {
    const TSettingInfo& setting = SettingOf(id);
    return LoadedNumber(setting, ini.ReadInt(setting.Section, setting.Key, setting.WhenAbsent));
}

std::string LoadText(TIniEditor& ini, TSettingId id) {
    return ini.ReadStr(SettingOf(id).Section, SettingOf(id).Key, "");
}

// Only 1 means the right edge; any other number, however large, the left.
// What is no number at all gives the default, the right edge. Read as a
// real number, so that 1.7 is 1 and 1E20 no int's wrap.
TEdge ReadSide(TIniEditor& ini, int whenAbsent) {
    const TSettingInfo& setting = SettingOf(sSide);
    long double side = std::trunc(ini.ReadReal(setting.Section, setting.Key, whenAbsent));
    if (std::isnan(side))
        side = whenAbsent;
    return side == 1 ? TEdge::Right : TEdge::Left;
}

} // namespace

void LoadSettings(TIniEditor& ini) {
    // A runner's preset says, where the file does not, which windows are
    // tucked, at which side, and that tucking starts with the IDE.
    const TWindowPreset* preset = RunPreset();
    const auto presetSays = [&](bool value) {
        return preset ? std::optional<bool>(value) : std::nullopt;
    };
    LoadBool(ini, sHideInspector, Settings.HideInspector, presetSays(true));
    try {
        Settings.InspectorEdge =
            ReadSide(ini, preset ? (preset->InspectorLeft ? 0 : 1) : SettingOf(sSide).WhenAbsent);
    } catch (...) {
        Settings.InspectorEdge = TEdge::Right;
        throw;
    }
    LoadBool(ini, sHideDelphi, Settings.HideDelphi, presetSays(preset && preset->TuckMain));
    LoadBool(ini, sWindowSounds, Settings.WindowSounds);
    Settings.MoveOutSound = LoadText(ini, sMoveOutSound);
    Settings.MoveInSound = LoadText(ini, sMoveInSound);
    Settings.HangOutPixels = static_cast<std::uint8_t>(LoadInt(ini, sHangOutPixels));
    bool animate = Settings.Motion == TMotion::Animated;
    try {
        LoadBool(ini, sAnimate, animate);
    } catch (...) {
        Settings.Motion = TMotion::Jump;
        throw;
    }
    Settings.Motion = animate ? TMotion::Animated : TMotion::Jump;
    Settings.AnimateSpeed = LoadInt(ini, sAnimateSpeed);
    Settings.OpenDelay = LoadInt(ini, sOpenDelay);
    LoadBool(ini, sUseAutoHide, Settings.UseAutoHide, presetSays(true));
    LoadBool(ini, sDisableOnFocusLoss, Settings.DisableOnFocusLoss);
    Settings.RevealKey = LoadText(ini, sRevealKey);
    Settings.RevealHotKey = ParseHotKey(Settings.RevealKey);
    LoadWindowRules(ini);
    if (preset && !preset->TuckMain)
        Settings.HideDelphi = false;
}

void LoadWindowRules(TIniEditor& ini) {
    Settings.MainRule = LoadText(ini, sMainRule);
    Settings.InspectorRule = LoadText(ini, sInspectorRule);
    // A runner's preset stands for this run in place of the file's rules.
    if (const TWindowPreset* preset = RunPreset()) {
        Settings.MainRule = preset->MainRule;
        Settings.InspectorRule = preset->InspectorRule;
    }
    Settings.MainWindowRule = ParseWindowRule(Settings.MainRule);
    Settings.InspectorWindowRule = ParseWindowRule(Settings.InspectorRule);
}

std::string WindowRuleProblem(const TSettings& settings) {
    std::string problem;
    for (const auto& [id, text] : {std::pair{sMainRule, &settings.MainRule},
                                   std::pair{sInspectorRule, &settings.InspectorRule}}) {
        TRuleError error;
        if (text->empty() || ParseWindowRule(*text, &error))
            continue;
        if (!problem.empty())
            problem += "\n";
        problem += "The rule " + std::string(SettingOf(id).ShownAs) + " cannot be read at column " +
                   std::to_string(error.Column) + ": " + error.Reason +
                   ". Wingtucker looks for that window as if no rule were set.";
    }
    return problem;
}

std::string LoadedText(const TSettings& s, TSettingId id) {
    auto flag = [](bool b) { return std::string(b ? "True" : "False"); };
    switch (id) {
    case sHideInspector: return flag(s.HideInspector);
    case sSide: return s.InspectorEdge == TEdge::Right ? "1" : "0";
    case sHideDelphi: return flag(s.HideDelphi);
    case sWindowSounds: return flag(s.WindowSounds);
    case sMoveOutSound: return s.MoveOutSound;
    case sMoveInSound: return s.MoveInSound;
    case sHangOutPixels: return std::to_string(s.HangOutPixels);
    case sAnimate: return flag(s.Motion == TMotion::Animated);
    case sAnimateSpeed: return std::to_string(s.AnimateSpeed);
    case sOpenDelay: return std::to_string(s.OpenDelay);
    case sUseAutoHide: return flag(s.UseAutoHide);
    case sDisableOnFocusLoss: return flag(s.DisableOnFocusLoss);
    case sRevealKey: return s.RevealKey;
    case sMainRule: return s.MainRule;
    case sInspectorRule: return s.InspectorRule;
    case sFindLostWindows:
    case SettingCount: break;
    }
    return {};
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
