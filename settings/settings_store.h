// The add-in's persisted options: the one Settings record, its start values,
// and LoadSettings, which fills it from Wingtckr.ini with defaults and clamps.
#pragma once

#include <cstdint>
#include <string>

namespace wt {

class TIniEditor;

// Where the options live: this file in the configuration directory, this section.
inline constexpr const char* SettingsFileName = "Wingtckr.ini";
inline constexpr const char* SettingsSection = "Wingtucker";

struct TSettings {
    bool HideInspector = false;
    std::uint8_t Side = 0;           // 1 = right edge, anything else = left
    bool HideDelphi = false;
    bool WindowSounds = false;
    std::string MoveOutSound;        // played on reveals and restores
    std::string MoveInSound;         // played on tuck-aways
    std::uint8_t HangOutPixels = 5;  // pixels of a tucked-away window left on screen
    bool Animate = false;
    std::int32_t AnimateSpeed = 5;   // animation steps, 2 to 30 after loading
    // Held here until the reveal timer exists to hold it as its interval.
    std::int32_t OpenDelay = 250;
    bool UseAutoHide = false;
    bool DisableOnFocusLoss = true;
};

// The one record, for the life of the main panel.
extern TSettings Settings;

// Gives the record the values the main panel's creation gives it.
void ResetSettings();

// Reads section Wingtucker of the file behind ini into Settings.
void LoadSettings(TIniEditor& ini);

} // namespace wt
