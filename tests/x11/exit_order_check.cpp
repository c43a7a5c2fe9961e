// The add-in keeps its platform in a static, which an exit handler may
// destroy after the list of watched displays was: forgetting a display then
// must not touch freed memory. A program of its own, so that nothing else
// has made the list before the exit handler below is registered; run under
// AddressSanitizer it fails on any use after free.
#include "platform/x11/x11_errors.h"

#include <cstdlib>

namespace {
int fake;
Display* FakeDisplay() { return reinterpret_cast<Display*>(&fake); }
} // namespace

int main() {
    // Registered before the list exists, so it runs after the list's teardown.
    std::atexit([] { wt::UnwatchDisplayErrors(FakeDisplay()); });
    wt::WatchDisplayErrors(FakeDisplay());
    return wt::DisplayErrorHandlerInstalled() ? 0 : 1;
}
