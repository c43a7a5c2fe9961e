// The real IDEs and the wingtucker runner on a private display, for the
// end-to-end tests: each started with a home and settings folder of its own,
// its output kept in a file; the IDEs' windows found by rule from a
// connection of the test's own.
#pragma once

#include "platform/types.h"
#include "platform/window_rule.h"

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

typedef struct _XDisplay Display;

namespace wt::e2e {

using Environment = std::vector<std::pair<std::string, std::string>>;

class Program {
public:
    Program() = default;
    ~Program() { Stop(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    void Start(const std::vector<std::string>& argv, const Environment& environment,
               const std::string& logFile);
    // SIGTERM, then SIGKILL after a grace; reaps it.
    void Stop();
    void Signal(int signal) const;
    bool Running();
    // Waits for the end; the exit status, -1 after timeoutMs or a signal.
    int Wait(int timeoutMs);
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
};

std::string ReadFile(const std::string& name);

// The topmost window the rule matches among the display's top-level
// windows, 0 for none.
unsigned long FindByRule(Display* display, const std::string& rule);
// Waits until found; 0 after timeoutMs.
unsigned long AwaitByRule(Display* display, const std::string& rule, int timeoutMs);
// The outer rectangle (frame included) and whether a manager frames it.
struct Placement {
    TRect Outer;
    bool Framed = false;
    bool OverrideRedirect = false;
};
std::optional<Placement> PlacementOf(Display* display, unsigned long window);
// The mapped top-level windows, a line each (title, class, outer rectangle),
// for what a failing case prints.
std::string DescribeWindows(Display* display);
// Polls until done() holds; the milliseconds it took, or nothing after timeoutMs.
template <class Done>
std::optional<long> Await(Done done, int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        const long took = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                std::chrono::steady_clock::now() - start)
                                                .count());
        if (done())
            return took;
        if (took > timeoutMs)
            return std::nullopt;
        struct timespec pause = {0, 20 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
}
// Waits until the window has kept its place for a second (an IDE places its
// windows after showing them), at most timeoutMs; its placement then.
std::optional<Placement> AwaitStill(Display* display, unsigned long window, int timeoutMs);
// Clicks as a user does (XTest) at a root point.
void ClickAt(Display* display, int x, int y);
void PointerTo(Display* display, int x, int y);

} // namespace wt::e2e
