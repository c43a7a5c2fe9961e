#include "platform/backends.h"

#include "platform/sim/sim_platform.h"

#include <cstdlib>
#include <string_view>

namespace wt {

Backend ChosenBackend() {
    const char* choice = std::getenv("WINGTUCKER_PLATFORM");
    return choice && std::string_view(choice) == "sim" ? Backend::Simulated : Backend::Desktop;
}

std::unique_ptr<SimPlatform> MakeSimulatedPlatform(std::string configDir) {
    return std::make_unique<SimPlatform>(std::move(configDir));
}

} // namespace wt
