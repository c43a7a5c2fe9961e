// Exits with a worker thread that an exit handler stops and that then takes
// a while to finish, as Qt's worker threads do, and says at the very end of
// the exit, where QtCore tears down, whether that thread had finished.
//   exit_wait_helper [--await] [--never-stopped]
// Exit status 0: finished (or never stopped); 3: still finishing.
#include "host/thread_exit.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

std::atomic<bool> stopRequested{false};
std::atomic<bool> ranOut{false};
std::atomic<bool> finished{false};
std::atomic<bool> checkAtTheEnd{true};
std::thread* worker = nullptr;

struct SlowToFinish {
    ~SlowToFinish() {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        finished = true;
    }
};

void Work() {
    thread_local SlowToFinish slow;
    (void)&slow;
    while (!stopRequested)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ranOut = true;
}

// Stops the worker and waits only until its work has run out, as
// QThread::wait() returns before the thread's own teardown is over.
void StopWorker() {
    stopRequested = true;
    while (!ranOut)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    worker->detach();
}

// The executable's destructors run after every exit handler.
__attribute__((destructor)) void ReportAtTheEnd() {
    if (checkAtTheEnd)
        _exit(finished ? 0 : 3);
}

} // namespace

int main(int argc, char** argv) {
    bool await = false;
    bool neverStopped = false;
    for (int i = 1; i < argc; ++i) {
        await = await || std::strcmp(argv[i], "--await") == 0;
        neverStopped = neverStopped || std::strcmp(argv[i], "--never-stopped") == 0;
    }
    if (await)
        wt::AwaitThreadsAtExit();
    worker = new std::thread(Work);
    if (neverStopped) {
        checkAtTheEnd = false;
        worker->detach();
    } else {
        std::atexit(StopWorker);
    }
    return 0;
}
