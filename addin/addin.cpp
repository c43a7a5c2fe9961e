#include "addin/addin.h"

#include "addin/backend.h"
#include "addin/expert.h"
#include "addin/notifier.h"
#include "engine/controller.h"
#include "platform/platform.h"
#include "toolkit/forms/application.h"

#include <exception>

namespace wt {

TIToolServices* HostServices = nullptr;
TAddInNotifier* Notifier = nullptr;

void ReportFailure() {
    std::string message = "Unknown failure";
    try {
        throw;
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
    }
    if (HostServices)
        HostServices->ReportError(message.c_str());
}

void TerminateAddIn() {
    try {
        if (HostServices && Notifier)
            HostServices->UnregisterNotifier(Notifier);
        if (Notifier) {
            TAddInNotifier* notifier = Notifier;
            Notifier = nullptr;
            notifier->Release();
        }
        ClosePanel();
        // Nothing the add-in tucked, or took from the window manager, stays so.
        if (PlatformInstalled())
            ThePlatform().Windows().ReleaseWindows();
    } catch (...) {
        ReportFailure();
    }
}

void ResetAddInForTests() {
    HostServices = nullptr;
    Notifier = nullptr;
}

} // namespace wt

using namespace wt;

extern "C" bool INITEXPERT0016(TIToolServices* services, TExpertRegisterProc registerProc,
                               TExpertTerminateProc* terminate) {
    // A second call, and a call without the host's services, change nothing.
    if (HostServices != nullptr || services == nullptr)
        return false;
    if (!EnsurePlatform())
        return false;
    HostServices = services;
    Application()->SetOwnerWindow(services->OwnerWindowHandle());
    if (terminate)
        *terminate = &TerminateAddIn;
    auto* expert = new TWingtuckerExpert;
    if (registerProc)
        registerProc(expert);
    else
        expert->Release();
    Notifier = new TAddInNotifier;
    services->RegisterNotifier(Notifier);
    OpenPanel(HostServices);
    return true;
}
