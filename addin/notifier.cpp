#include "addin/notifier.h"

#include "engine/controller.h"

#include <string_view>

namespace wt {

void TAddInNotifier::Notify(std::uint8_t code, const char* fileName, bool* /*cancel*/) {
    if (!PanelCreated())
        return;
    std::string_view name = fileName ? std::string_view(fileName) : std::string_view();
    switch (code) {
    case fnProjectClosing: StopHiding(); break;
    case fnProjectDesktopLoad:
    case fnDefaultDesktopLoad: DesktopLoaded(name); break;
    case fnDesktopSave: RestoreAll(); break;
    default: break;
    }
}

} // namespace wt
