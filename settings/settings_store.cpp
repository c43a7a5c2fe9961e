#include "settings/settings_store.h"

#include "settings/EasyINI.h"

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

} // namespace

void LoadSettings(TIniEditor& ini) {
    const std::string section = SettingsSection;
    LoadBool(ini, "gwHideInspector", false, Settings.HideInspector);
    try {
        // The low 8 bits of whatever number is stored.
        Settings.Side = static_cast<std::uint8_t>(ini.ReadInt(section, "gwSide", 1));
    } catch (...) {
        Settings.Side = 1;
        throw;
    }
    LoadBool(ini, "gwHideDelphi", false, Settings.HideDelphi);
    LoadBool(ini, "gwWindowSounds", false, Settings.WindowSounds);
    Settings.MoveOutSound = ini.ReadStr(section, "MoveOutSound", "");
    Settings.MoveInSound = ini.ReadStr(section, "MoveInSound", "");
    Settings.HangOutPixels = static_cast<std::uint8_t>(ini.ReadInt(section, "HangOutPixels", 5));
    LoadBool(ini, "gwAnimate", false, Settings.Animate);
    Settings.AnimateSpeed = ini.ReadInt(section, "gwAnimateSpeed", 5);
    if (Settings.AnimateSpeed < 2 || Settings.AnimateSpeed > 30)
        Settings.AnimateSpeed = 5;
    Settings.OpenDelay = ini.ReadInt(section, "gwDelay", 200);
    if (Settings.OpenDelay > 1000)
        Settings.OpenDelay = 200;
    LoadBool(ini, "gwUseAutoHide", false, Settings.UseAutoHide);
    LoadBool(ini, "gwDisableOnFocusLoss", true, Settings.DisableOnFocusLoss);
}

} // namespace wt
