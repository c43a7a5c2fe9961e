// Every setting the add-in keeps, in one table: where it lives in the file,
// its type, what a load makes of it when it is absent or out of range, its
// value before the first load, and the Options dialog's control for it. The
// loader, the dialog, wingtucker-config and the help page's ranges read it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace wt {

// Where the options live: this file in the configuration directory, this section.
inline constexpr const char* SettingsFileName = "Wingtckr.ini";
inline constexpr const char* SettingsSection = "Wingtucker";
// The one key of the second section, read at every Start.
inline constexpr const char* HelpSection = "HELP";
// Window rules (platform/window_rule.h): which windows are the main window
// and the Object Inspector, when not the host IDE's own classes.
inline constexpr const char* WindowsSection = "Windows";

enum class TSettingType { Boolean, Integer, Text };

// The numbers each numeric key keeps unchanged when loaded.
struct TSettingRange {
    std::int32_t Min, Max;
};

// What a load makes of a number outside the range.
enum class TOutOfRange {
    None,          // no range: kept as it is
    Clamp,         // the nearest number in range
    Absent,        // the value it has when absent
    AbsentIfAbove, // the value it has when absent, above the range only
    LeftUnlessOne, // the edge: 1 is the right, any other number the left
};

struct TSettingInfo {
    const char* Section;
    const char* Key;     // as the file spells it
    const char* ShownAs; // as wingtucker-config show prints it
    TSettingType Type;
    std::int32_t WhenAbsent; // booleans 0 or 1; texts are empty when absent
    std::int32_t BeforeLoad; // the value before the first load
    std::optional<TSettingRange> Range = std::nullopt;
    TOutOfRange OutOfRange = TOutOfRange::None;
    const char* Control = nullptr; // the Options dialog's control, if it has one
    std::optional<TSettingRange> ControlBounds = std::nullopt; // a spin edit's bounds
};

// In the order a load reads them, as show prints them.
enum TSettingId : std::size_t {
    sHideInspector,
    sSide,
    sHideDelphi,
    sWindowSounds,
    sMoveOutSound,
    sMoveInSound,
    sHangOutPixels,
    sAnimate,
    sAnimateSpeed,
    sOpenDelay,
    sUseAutoHide,
    sDisableOnFocusLoss,
    sRevealKey,
    sFindLostWindows,
    sMainRule,
    sInspectorRule,
    SettingCount,
};

inline constexpr TSettingInfo SettingTable[SettingCount] = {
    {SettingsSection, "gwHideInspector", "HideInspector", TSettingType::Boolean, 0, 0, std::nullopt,
     TOutOfRange::None, "cbHideInspector"},
    {SettingsSection, "gwSide", "Side", TSettingType::Integer, 1, 0, TSettingRange{0, 1},
     TOutOfRange::LeftUnlessOne, "rgSide"},
    {SettingsSection, "gwHideDelphi", "HideDelphi", TSettingType::Boolean, 0, 0, std::nullopt,
     TOutOfRange::None, "cbHideDelphi"},
    {SettingsSection, "gwWindowSounds", "WindowSounds", TSettingType::Boolean, 0, 0, std::nullopt,
     TOutOfRange::None, "cbUseSounds"},
    {SettingsSection, "MoveOutSound", "MoveOutSound", TSettingType::Text, 0, 0, std::nullopt,
     TOutOfRange::None, "editOut"},
    {SettingsSection, "MoveInSound", "MoveInSound", TSettingType::Text, 0, 0, std::nullopt,
     TOutOfRange::None, "editIn"},
    {SettingsSection, "HangOutPixels", "HangOutPixels", TSettingType::Integer, 5, 5,
     TSettingRange{2, 10}, TOutOfRange::Clamp, "editHang", TSettingRange{2, 10}},
    {SettingsSection, "gwAnimate", "Animate", TSettingType::Boolean, 0, 0, std::nullopt,
     TOutOfRange::None, "cbAnimate"},
    {SettingsSection, "gwAnimateSpeed", "AnimateSpeed", TSettingType::Integer, 5, 5,
     TSettingRange{2, 30}, TOutOfRange::Absent, "editAniCount", TSettingRange{5, 30}},
    {SettingsSection, "gwDelay", "OpenDelay", TSettingType::Integer, 200, 250,
     TSettingRange{0, 1000}, TOutOfRange::AbsentIfAbove, "editDelay", TSettingRange{0, 1000}},
    {SettingsSection, "gwUseAutoHide", "UseAutoHide", TSettingType::Boolean, 0, 0, std::nullopt,
     TOutOfRange::None, "cbAutoStart"},
    {SettingsSection, "gwDisableOnFocusLoss", "DisableOnFocusLoss", TSettingType::Boolean, 1, 1,
     std::nullopt, TOutOfRange::None, "cbDisable"},
    // A key that reveals both windows while running; not in the dialog.
    {SettingsSection, "RevealKey", "RevealKey", TSettingType::Text, 0, 0},
    {HelpSection, "FindLostWindows", "FindLostWindows", TSettingType::Boolean, 0, 0},
    {WindowsSection, "Main", "Windows.Main", TSettingType::Text, 0, 0},
    {WindowsSection, "Inspector", "Windows.Inspector", TSettingType::Text, 0, 0},
};

// The Options dialog writes every key of its section, changed or not, in this order.
inline constexpr TSettingId DialogWriteOrder[] = {
    sHideInspector, sSide,        sHideDelphi,   sAnimate,   sWindowSounds,  sDisableOnFocusLoss,
    sMoveOutSound,  sMoveInSound, sAnimateSpeed, sOpenDelay, sHangOutPixels, sUseAutoHide,
};

inline constexpr const TSettingInfo& SettingOf(TSettingId id) { return SettingTable[id]; }

// What a load makes of number for a setting with a range.
std::int32_t LoadedNumber(const TSettingInfo& setting, std::int32_t number);

// The setting whose key, or whose shown name, is name, without regard to case.
const TSettingInfo* FindSetting(std::string_view name);

} // namespace wt
