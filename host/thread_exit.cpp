#include "host/thread_exit.h"

#include <dirent.h>
#include <time.h>

#include <cstdlib>

namespace wt {
namespace {

// The number of threads of this process, or 0 when it cannot be read.
int ThreadCount() {
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks)
        return 0;
    int count = 0;
    while (const dirent* entry = readdir(tasks))
        if (entry->d_name[0] != '.')
            ++count;
    closedir(tasks);
    return count;
}

// A stopped thread finishes within microseconds; a thread that is never
// stopped must not hold up the exit for long.
constexpr int kPolls = 200;
constexpr long kPollNanoseconds = 1000 * 1000;

void WaitForOtherThreads() {
    for (int poll = 0; poll < kPolls && ThreadCount() > 1; ++poll) {
        const timespec pause{0, kPollNanoseconds};
        nanosleep(&pause, nullptr);
    }
}

} // namespace

void AwaitThreadsAtExit() {
    static bool registered = false;
    if (!registered)
        registered = std::atexit(WaitForOtherThreads) == 0;
}

} // namespace wt
