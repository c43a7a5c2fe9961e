// wingtucker-guard: started by the wingtucker runner with the reading end of
// a pipe as standard input and the runner's process id as its argument. It
// waits, costing nothing, until the pipe ends — the runner has gone — then
// puts every window that runner left moved or taken from the window manager
// back where it stood before, on an X connection of its own, and exits.
#include "platform/x11/x11_homes.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

void AwaitRunnersEnd() {
    char byte;
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
        if (got == 0 || (got < 0 && errno != EINTR))
            return;
    }
}

} // namespace

int main(int argc, char** argv) {
    char* end = nullptr;
    const long runner = argc == 2 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc != 2 || !end || *end || runner <= 0) {
        std::fputs("usage: wingtucker-guard RUNNER-PID (started by wingtucker)\n", stderr);
        return 2;
    }
    // The terminal's interrupt and hang-up are the runner's to handle: it
    // puts the windows back itself.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGHUP, SIG_IGN);
    ::setsid();
    AwaitRunnersEnd();

    const int returned = wt::ReturnHomeOnOwnConnection(runner);
    if (returned > 0)
        std::fprintf(stderr,
                     "wingtucker-guard: wingtucker (process %ld) ended without giving "
                     "back its windows; %d put back where they stood\n",
                     runner, returned);
    return 0;
}
