#include "hook/x_error_guard.h"

#include <atomic>
#include <mutex>

namespace wt::hook {

namespace {

constexpr int SlotCount = 8;
std::atomic<Display*> slots[SlotCount];
std::atomic<unsigned long> swallowed{0};
XErrorHandler previous = nullptr;
XIOErrorHandler previousIO = nullptr;
std::once_flag installOnce;

bool Guarded(Display* display) {
    for (auto& slot : slots)
        if (slot.load(std::memory_order_acquire) == display)
            return true;
    return false;
}

int HandleError(Display* display, XErrorEvent* error) {
    if (Guarded(display)) {
        swallowed.fetch_add(1, std::memory_order_relaxed);
        return 0;
    }
    return previous ? previous(display, error) : 0;
}

// Xlib's default handler of a broken connection prints and calls exit()
// itself, from whichever thread noticed, so the display's exit handler never
// runs. For our displays it returns, and the exit handler marks them lost.
int HandleIOError(Display* display) {
    if (Guarded(display))
        return 0;
    return previousIO ? previousIO(display) : 0;
}

} // namespace

bool GuardDisplay(Display* display) {
    // Never removed again: the library stays mapped (linked with -z nodelete),
    // so handlers installed after ours can keep forwarding to it.
    std::call_once(installOnce, [] {
        previous = XSetErrorHandler(HandleError);
        previousIO = XSetIOErrorHandler(HandleIOError);
    });
    for (auto& slot : slots) {
        Display* expected = nullptr;
        if (slot.compare_exchange_strong(expected, display, std::memory_order_acq_rel))
            return true;
    }
    return false;
}

void UnguardDisplay(Display* display) {
    for (auto& slot : slots) {
        Display* expected = display;
        if (slot.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel))
            return;
    }
}

unsigned long SwallowedErrors() { return swallowed.load(std::memory_order_relaxed); }

} // namespace wt::hook
