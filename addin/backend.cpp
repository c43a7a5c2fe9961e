#include "addin/backend.h"

#include "addin/addin.h"
#include "platform/backends.h"
#include "platform/platform.h"
#include "platform/x11/x11_windows.h"
#include "toolkit/core/component.h"
#include "toolkit/forms/messagebox.h"

#include <string>

namespace wt {

bool EnsurePlatform() {
    if (PlatformInstalled())
        return true;
    try {
        InstallPlatform(MakePlatform(ChosenBackend()));
        return true;
    } catch (const X11Unavailable& e) {
        ShowToolkitMessageBox(
            FromStd(std::string("Wingtucker needs an X11 session (an X server or XWayland) to "
                                "move the IDE's windows, and cannot run here.\n\n") +
                    e.what()),
            FromStd(ExpertName));
        return false;
    }
}

} // namespace wt
