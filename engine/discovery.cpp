#include "engine/discovery.h"

#include "engine/engine_state.h"
#include "engine/geometry.h"
#include "platform/platform.h"
#include "platform/window_rule.h"
#include "settings/settings_store.h"

#include <optional>

namespace wt {

namespace {

// The main window: by its rule where one is set, else by the host's class.
WindowHandle FindMain() {
    WindowsDriver& windows = ThePlatform().Windows();
    if (Settings.MainWindowRule)
        return FindWindowByRule(windows, *Settings.MainWindowRule);
    return windows.FindWindow(DelphiClassName, std::nullopt);
}

// The Inspector: by its rule where one is set, else by the host's class
// (and, when title is given, that title).
WindowHandle FindInspector(std::optional<std::string_view> title) {
    WindowsDriver& windows = ThePlatform().Windows();
    // Once the IDE's main window is known, only a window of the same program
    // is its inspector: another IDE's may match the rule as well.
    if (Settings.InspectorWindowRule)
        return FindWindowByRule(windows, *Settings.InspectorWindowRule,
                                Settings.MainWindowRule ? DelphiWindow.Handle : 0);
    return windows.FindWindow(InspectorClassName, title);
}

} // namespace

bool FindIdeWindows() {
    DelphiWindow.Handle = FindMain();
    ThePlatform().Windows().SetHostWindow(DelphiWindow.Handle);
    InspectorWindow.Handle = FindInspector(std::nullopt);
    return DelphiWindow.Handle != 0;
}

void RefindInspector() {
    if (!ThePlatform().Windows().IsWindow(InspectorWindow.Handle))
        InspectorWindow.Handle = FindInspector(InspectorTitle);
}

void RefindWindows() {
    if (InspectorWindow.ShownRect.IsAllZero()) {
        InspectorWindow.Handle = FindInspector(InspectorTitle);
        MeasureWindows();
    }
    if (DelphiWindow.ShownRect.IsAllZero()) {
        DelphiWindow.Handle = FindMain();
        ThePlatform().Windows().SetHostWindow(DelphiWindow.Handle);
        MeasureWindows();
    }
}

} // namespace wt
