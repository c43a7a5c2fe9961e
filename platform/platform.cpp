#include "platform/platform.h"

#include "platform/files.h"
#include "platform/sim/sim_platform.h"

#include <cstdlib>
#include <string_view>

namespace wt {

namespace {

std::unique_ptr<Platform>& Installed() {
    static std::unique_ptr<Platform> platform;
    return platform;
}

std::unique_ptr<Platform> CreateDefaultPlatform() {
    // The real desktop backend is chosen here once it exists; the simulated
    // desktop serves tests and headless runs.
    return std::make_unique<SimPlatform>(DefaultConfigurationDirectory());
}

} // namespace

Platform& ThePlatform() {
    auto& platform = Installed();
    if (!platform)
        platform = CreateDefaultPlatform();
    return *platform;
}

bool PlatformInstalled() { return Installed() != nullptr; }

std::unique_ptr<Platform> InstallPlatform(std::unique_ptr<Platform> platform) {
    auto previous = std::move(Installed());
    Installed() = std::move(platform);
    return previous;
}

} // namespace wt
