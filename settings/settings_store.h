// The add-in's persisted options: the one Settings record, its start values,
// and LoadSettings, which fills it from Wingtckr.ini with defaults and clamps;
// and what to tell the user when that file cannot be read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wt {

class TIniEditor;

// Where the options live: this file in the configuration directory, this section.
inline constexpr const char* SettingsFileName = "Wingtckr.ini";
inline constexpr const char* SettingsSection = "Wingtucker";
// The one key of the second section, read at every Start.
inline constexpr const char* HelpSection = "HELP";
inline constexpr const char* FindLostWindowsKey = "FindLostWindows";

// The numbers each numeric key keeps unchanged when loaded.
struct TSettingRange {
    std::int32_t Min, Max;
};
inline constexpr TSettingRange SideRange{0, 1};
inline constexpr TSettingRange HangOutPixelsRange{2, 10}; // the Options dialog's range
inline constexpr TSettingRange AnimateSpeedRange{2, 30};
inline constexpr TSettingRange OpenDelayRange{0, 1000};

// The screen edge a window is tucked against: the main window always the
// top, the Inspector the side the user chose ("gwSide": 1 right, else left).
enum class TEdge : std::uint8_t { Top, Left, Right };
// How a window goes to its place: at once, or sliding in AnimateSpeed steps ("gwAnimate").
enum class TMotion : std::uint8_t { Jump, Animated };

struct TSettings {
    bool HideInspector = false;
    TEdge InspectorEdge = TEdge::Left; // the right edge once loaded, unless the file says left
    bool HideDelphi = false;
    bool WindowSounds = false;
    std::string MoveOutSound;       // played on reveals and restores
    std::string MoveInSound;        // played on tuck-aways
    std::uint8_t HangOutPixels = 5; // pixels of a tucked-away window left on screen, 2 to 10
    TMotion Motion = TMotion::Jump;
    std::int32_t AnimateSpeed = 5; // animation steps, 2 to 30 after loading
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

// Why no settings file can be kept at path because the directory named for
// it is a plain file ("the settings directory D is not a directory"), or empty.
std::string SettingsDirectoryProblem(std::string_view path);

// Why a sound file will be silence ("WHAT does not exist", "WHAT is a
// directory", ...), or empty; what names the key and the file.
std::string SoundFileWarning(const std::string& what, const std::string& path);

// Why Accept could not save the options, for the user, naming the file:
// empty when they were written.
std::string SaveSettings(TIniEditor& ini,
                         const std::vector<std::pair<std::string, std::string>>& values);

// Empty when the file behind ini is absent or can be read; otherwise one
// message for the user naming the file and what is wrong with it. A file that
// cannot be read gives the default settings, so this says why.
std::string SettingsFileProblem(const TIniEditor& ini);

} // namespace wt
