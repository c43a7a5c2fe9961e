#include "platform/backends.h"

#include "platform/sim/sim_platform.h"
#include "platform/x11/x11_platform.h"

namespace wt {

std::unique_ptr<Platform> MakePlatform(Backend backend, std::string configDir) {
    if (backend == Backend::Simulated)
        return MakeSimulatedPlatform(std::move(configDir));
    auto platform = std::make_unique<X11Platform>();
    if (!configDir.empty())
        platform->SetConfigurationDirectory(std::move(configDir));
    return platform;
}

} // namespace wt
