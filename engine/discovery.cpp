#include "engine/discovery.h"

#include "engine/engine_state.h"
#include "engine/geometry.h"
#include "platform/platform.h"

#include <optional>

namespace wt {

bool FindIdeWindows() {
    WindowsDriver& platform = ThePlatform().Windows();
    DelphiWindow.Handle = platform.FindWindow(DelphiClassName, std::nullopt);
    InspectorWindow.Handle = platform.FindWindow(InspectorClassName, std::nullopt);
    return DelphiWindow.Handle != 0;
}

void RefindInspector() {
    WindowsDriver& platform = ThePlatform().Windows();
    if (!platform.IsWindow(InspectorWindow.Handle))
        InspectorWindow.Handle = platform.FindWindow(InspectorClassName, InspectorTitle);
}

void RefindWindows() {
    if (InspectorWindow.ShownRect.IsAllZero()) {
        InspectorWindow.Handle =
            ThePlatform().Windows().FindWindow(InspectorClassName, InspectorTitle);
        MeasureWindows();
    }
    if (DelphiWindow.ShownRect.IsAllZero()) {
        DelphiWindow.Handle = ThePlatform().Windows().FindWindow(DelphiClassName, std::nullopt);
        MeasureWindows();
    }
}

} // namespace wt
