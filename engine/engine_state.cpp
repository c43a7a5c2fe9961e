#include "engine/engine_state.h"

namespace wt {

HiddenWindow DelphiWindow;
HiddenWindow InspectorWindow;

bool EngineRunning = false;
std::uint32_t EngineRun = 0;
std::vector<TRect> MeasuredMonitors;
std::vector<TRect> RestoreMonitors;
bool SettingsProblemTold = false;

bool HookActive = false;
bool DisabledByFocus = false;
bool InHookMessage = false;
std::int32_t PointerX = 0;
std::int32_t PointerY = 0;

void ResetEngineState() {
    DelphiWindow = HiddenWindow{};
    InspectorWindow = HiddenWindow{};
    EngineRunning = false;
    EngineRun = 0;
    MeasuredMonitors.clear();
    RestoreMonitors.clear();
    SettingsProblemTold = false;
    HookActive = false;
    DisabledByFocus = false;
    InHookMessage = false;
    PointerX = 0;
    PointerY = 0;
}

} // namespace wt
