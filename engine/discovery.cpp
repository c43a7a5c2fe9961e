#include "engine/discovery.h"

#include "engine/engine_state.h"
#include "engine/geometry.h"
#include "platform/platform.h"

#include <optional>

namespace wt {

bool FindIdeWindows() {
    Platform& platform = ThePlatform();
    DelphiWindow.Handle = platform.FindWindow(DelphiClassName, std::nullopt);
    InspectorWindow.Handle = platform.FindWindow(InspectorClassName, std::nullopt);
    return DelphiWindow.Handle != 0;
}

void RefindInspector() {
    Platform& platform = ThePlatform();
    if (!platform.IsWindow(InspectorWindow.Handle))
        InspectorWindow.Handle = platform.FindWindow(InspectorClassName, InspectorTitle);
}

void RefindWindows() {
    if (InspectorWindow.ShownRect.IsAllZero()) {
        InspectorWindow.Handle = ThePlatform().FindWindow(InspectorClassName, InspectorTitle);
        ComputeGeometry();
    }
    if (DelphiWindow.ShownRect.IsAllZero()) {
        DelphiWindow.Handle = ThePlatform().FindWindow(DelphiClassName, std::nullopt);
        ComputeGeometry();
    }
}

} // namespace wt
