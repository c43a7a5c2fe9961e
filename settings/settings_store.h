// The add-in's persisted options: the one Settings record, its start values,
// and LoadSettings, which fills it from Wingtckr.ini with defaults and clamps;
// and what to tell the user when that file cannot be read.
#pragma once

#include "platform/hot_key.h"
#include "platform/window_rule.h"
#include "settings/settings_schema.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wt {

class TIniEditor;

// The screen edge a window is tucked against: the main window always the
// top, the Inspector the side the user chose ("gwSide": 1 right, else left).
enum class TEdge : std::uint8_t { Top, Left, Right };
// How a window goes to its place: at once, or sliding in AnimateSpeed steps ("gwAnimate").
enum class TMotion : std::uint8_t { Jump, Animated };

struct TSettings {
    bool HideInspector = SettingOf(sHideInspector).BeforeLoad != 0;
    // Left before the first load; a load makes it the right unless the file says left.
    TEdge InspectorEdge = SettingOf(sSide).BeforeLoad == 1 ? TEdge::Right : TEdge::Left;
    bool HideDelphi = SettingOf(sHideDelphi).BeforeLoad != 0;
    bool WindowSounds = SettingOf(sWindowSounds).BeforeLoad != 0;
    std::string MoveOutSound; // played on reveals and restores
    std::string MoveInSound;  // played on tuck-aways
    // Pixels of a tucked-away window left on screen.
    std::uint8_t HangOutPixels = static_cast<std::uint8_t>(SettingOf(sHangOutPixels).BeforeLoad);
    TMotion Motion = SettingOf(sAnimate).BeforeLoad != 0 ? TMotion::Animated : TMotion::Jump;
    std::int32_t AnimateSpeed = SettingOf(sAnimateSpeed).BeforeLoad; // animation steps
    // Held here until the reveal timer exists to hold it as its interval.
    std::int32_t OpenDelay = SettingOf(sOpenDelay).BeforeLoad;
    bool UseAutoHide = SettingOf(sUseAutoHide).BeforeLoad != 0;
    bool DisableOnFocusLoss = SettingOf(sDisableOnFocusLoss).BeforeLoad != 0;
    // The key that reveals both windows, as written and as read (none where
    // none is set or the text is no key).
    std::string RevealKey;
    std::optional<THotKey> RevealHotKey;
    // The window rules as written, and as read: none where no rule is set
    // or the one set cannot be read (then the window is found by its class).
    std::string MainRule;
    std::string InspectorRule;
    std::optional<TWindowRule> MainWindowRule;
    std::optional<TWindowRule> InspectorWindowRule;
};

// The one record, for the life of the main panel.
extern TSettings Settings;

// Gives the record the values the main panel's creation gives it.
void ResetSettings();

// A loaded setting as the file would hold it ("True", "1", "in.wav"), for
// every setting of section Wingtucker.
std::string LoadedText(const TSettings& settings, TSettingId id);

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

// Why a window rule the settings hold cannot be read, naming its key and
// the column ("the rule Windows.Main cannot be read at column 7: ..."), one
// line per rule; empty when every rule set reads.
std::string WindowRuleProblem(const TSettings& settings);
// Reads only the window rules into Settings (a run's preset in their place).
void LoadWindowRules(TIniEditor& ini);

// Empty when the file behind ini is absent or can be read; otherwise one
// message for the user naming the file and what is wrong with it. A file that
// cannot be read gives the default settings, so this says why.
std::string SettingsFileProblem(const TIniEditor& ini);

} // namespace wt
