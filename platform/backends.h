// The one place that chooses and builds the desktop backend: the real X11
// desktop, or the simulated one (tests, headless tools, WINGTUCKER_PLATFORM=sim).
// MakePlatform lives in wt_backends, which links the X11 backend and its hook
// library; programs that only ever want the simulated desktop (the settings
// and snapshot tools) call MakeSimulatedPlatform and link neither.
#pragma once

#include "platform/platform.h"

#include <memory>
#include <string>

namespace wt {

class SimPlatform;

enum class Backend { Desktop, Simulated };

// The backend this run asks for: Simulated when WINGTUCKER_PLATFORM is
// "sim", else Desktop.
Backend ChosenBackend();
// Builds the backend's platform; configDir "" for the user's configuration
// directory. The Desktop throws X11Unavailable when no X display can be reached.
std::unique_ptr<Platform> MakePlatform(Backend backend, std::string configDir = {});
std::unique_ptr<SimPlatform> MakeSimulatedPlatform(std::string configDir = {});

} // namespace wt
