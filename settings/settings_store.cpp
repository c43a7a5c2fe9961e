#include "settings/settings_store.h"

#include "settings/EasyINI.h"

#include "platform/profile.h"

#include <algorithm>
#include <cmath>

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
std::uint8_t ReadSide(TIniEditor& ini) {
    long double side = std::trunc(ini.ReadReal(SettingsSection, "gwSide", 1));
    if (std::isnan(side))
        return 1;
    return side == 1 ? 1 : 0;
}

} // namespace

void LoadSettings(TIniEditor& ini) {
    const std::string section = SettingsSection;
    LoadBool(ini, "gwHideInspector", false, Settings.HideInspector);
    try {
        Settings.Side = ReadSide(ini);
    } catch (...) {
        Settings.Side = 1;
        throw;
    }
    LoadBool(ini, "gwHideDelphi", false, Settings.HideDelphi);
    LoadBool(ini, "gwWindowSounds", false, Settings.WindowSounds);
    Settings.MoveOutSound = ini.ReadStr(section, "MoveOutSound", "");
    Settings.MoveInSound = ini.ReadStr(section, "MoveInSound", "");
    // Beyond the Options dialog's range, the nearest value it allows.
    Settings.HangOutPixels = static_cast<std::uint8_t>(std::clamp(
        ini.ReadInt(section, "HangOutPixels", 5), HangOutPixelsRange.Min, HangOutPixelsRange.Max));
    LoadBool(ini, "gwAnimate", false, Settings.Animate);
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

std::string SettingsFileProblem(const TIniEditor& ini) {
    const std::string path = ini.FullPath();
    if (ini.FileName().empty())
        return {};
    ProfileStatus status = ProfileFileStatus(path);
    if (status.Readable())
        return {};
    return "The settings file " + path + " cannot be read: " + ProfileStatusReason(status) +
           ". Wingtucker uses the default settings until it is mended.";
}

} // namespace wt
