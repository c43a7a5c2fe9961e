#include "platform/window_presets.h"

#include "platform/profile.h"

#include <cstdlib>

namespace wt {

const std::vector<TWindowPreset>& WindowPresets() {
    // Lazarus's windows are classed "Lazarus-gtk2" (or -qt5, -gtk3 for its
    // other builds); its welcome window's title does not begin "Lazarus IDE".
    static const std::vector<TWindowPreset> presets = {
        {"lazarus", "Lazarus", R"(class="^Lazarus" title="^Lazarus IDE")",
         R"(class="^Lazarus" title="^Object Inspector$")", true, true, " - "},
        {"designer", "Qt Designer", R"(class="^Designer$" title="^Qt Designer$")",
         R"(class="^Designer$" title="^Property Editor")", false, false, ""},
        {"hostide", "hostide", R"(class="^TAppBuilder$")", R"(class="^TPropertyInspector$")", true,
         false, " - "},
    };
    return presets;
}

const TWindowPreset* FindWindowPreset(std::string_view name) {
    for (const TWindowPreset& preset : WindowPresets())
        if (ProfileNamesEqual(preset.Name, name))
            return &preset;
    return nullptr;
}

std::string WindowPresetNames() {
    std::string names;
    for (const TWindowPreset& preset : WindowPresets())
        names += (names.empty() ? "" : ", ") + std::string(preset.Name);
    return names;
}

std::string ProjectFromTitle(const TWindowPreset& preset, std::string_view title) {
    if (preset.ProjectAfter.empty())
        return std::string(title);
    const std::size_t at = title.rfind(preset.ProjectAfter);
    // A title without the separator names no project (the IDE between projects).
    if (at == std::string_view::npos)
        return {};
    return std::string(title.substr(at + preset.ProjectAfter.size()));
}

const TWindowPreset* RunPreset() {
    const char* name = std::getenv(RunPresetVariable);
    return name && *name ? FindWindowPreset(name) : nullptr;
}

} // namespace wt
