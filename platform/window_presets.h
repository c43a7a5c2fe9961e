// The IDEs Wingtucker knows by name: which window is the main window and
// which the inspector, as window rules, and how the main window's title
// names the open project. `wingtucker --preset NAME` uses one for a run,
// `wingtucker-config preset NAME` writes its rules into the settings file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wt {

struct TWindowPreset {
    std::string_view Name;
    std::string_view Program; // as the user knows it
    std::string_view MainRule;
    std::string_view InspectorRule;
    // Whether the main window is tucked too. Qt Designer's main window is
    // its tall widget box: stretched across the top of the screen it would
    // be useless, so only its inspector is tucked and the widget box only
    // tells whether Designer runs.
    bool TuckMain = true;
    // The side the inspector is tucked at where the settings file does not say.
    bool InspectorLeft = true;
    // The project is the title's text after the last of these; "" when the
    // whole title stands for it (an IDE without projects in its title).
    std::string_view ProjectAfter;
};

const std::vector<TWindowPreset>& WindowPresets();
// The preset of that name (case-blind), null for none.
const TWindowPreset* FindWindowPreset(std::string_view name);
// "lazarus, designer, hostide": for messages.
std::string WindowPresetNames();

// The project a main window's title names under a preset; "" for an empty title.
std::string ProjectFromTitle(const TWindowPreset& preset, std::string_view title);

// The environment variable through which a runner hands the add-in the
// preset of its run; the settings file is left as it is.
inline constexpr char RunPresetVariable[] = "WINGTUCKER_PRESET";
// The preset the add-in runs with (named by RunPresetVariable), null for none.
const TWindowPreset* RunPreset();

} // namespace wt
