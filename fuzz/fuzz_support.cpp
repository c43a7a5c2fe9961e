#include "fuzz/fuzz_support.h"

#include "toolkit/forms/offscreen_app.h"

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace wt::fuzz {

std::string WorkDirectory() {
    // Never destroyed: the exit handler that removes the directory needs it.
    static const std::string* dir = [] {
        struct stat st {};
        const std::string base = stat("/dev/shm", &st) == 0 ? "/dev/shm" : "/tmp";
        auto* d = new std::string(base + "/wt_fuzz_" + std::to_string(getpid()));
        mkdir(d->c_str(), 0700);
        std::atexit([] { std::filesystem::remove_all(WorkDirectory()); });
        return d;
    }();
    return *dir;
}

void EnsureApplication() { EnsureOffscreenApplication(); }

} // namespace wt::fuzz
