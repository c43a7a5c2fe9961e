// One runner per display: the runner owns the selection _WINGTUCKER_RUNNER
// on an X connection for as long as it runs (the server lets go of it when
// the process dies, however it dies), and a window of its own tells other
// runners its process id.
#pragma once

#include <QString>

typedef struct _XDisplay Display;

namespace wt {

class RunnerLock {
public:
    explicit RunnerLock(Display* display) : display_(display) {}
    ~RunnerLock();
    RunnerLock(const RunnerLock&) = delete;
    RunnerLock& operator=(const RunnerLock&) = delete;

    // True when this runner is now the display's; else false with the
    // running one's process id (0 when it does not say).
    bool Acquire(long* holderPid);

private:
    Display* display_;
    unsigned long window_ = 0;
};

} // namespace wt
