#include "addin/backend.h"

#include "addin/addin.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/sim/sim_platform.h"
#include "platform/x11/x11_platform.h"
#include "toolkit/core/component.h"
#include "toolkit/forms/messagebox.h"

#include <cstdlib>
#include <memory>
#include <string_view>

namespace wt {

bool EnsurePlatform() {
    if (PlatformInstalled())
        return true;
    const char* choice = std::getenv("WINGTUCKER_PLATFORM");
    if (choice && std::string_view(choice) == "sim") {
        InstallPlatform(std::make_unique<SimPlatform>(DefaultConfigurationDirectory()));
        return true;
    }
    try {
        InstallPlatform(std::make_unique<X11Platform>());
        return true;
    } catch (const std::exception& e) {
        ShowToolkitMessageBox(
            FromStd(std::string("Wingtucker needs an X11 session (an X server or XWayland) to "
                                "move the IDE's windows, and cannot run here.\n\n") +
                    e.what()),
            FromStd(ExpertName));
        return false;
    }
}

} // namespace wt
