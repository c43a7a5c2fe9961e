// The exported C entry points of libruvazad1 over one process-wide watcher.
#include "hook/ruvazad1.h"

#include "hook/pointer_watcher.h"

#include <cstdlib>

namespace {

wt::hook::PointerWatcher& Watcher() {
    static wt::hook::PointerWatcher watcher(
        wt::hook::CoalesceIntervalFrom(std::getenv("WINGTUCKER_HOOK_INTERVAL_US")));
    return watcher;
}

} // namespace

extern "C" __attribute__((visibility("default"))) void SetHook(unsigned long window) {
    Watcher().Start(window);
}

extern "C" __attribute__((visibility("default"))) void ResetHook(void) { Watcher().Stop(); }
