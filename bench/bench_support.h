// What the pointer benchmarks share: CPU time of threads and processes read
// from /proc, percentiles, the motion pattern and how reports are matched to
// the motions they show.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

struct _XDisplay;

namespace wt::bench {

using Clock = std::chrono::steady_clock;

// CPU time in seconds of the thread of this process named NAME (its comm), or
// of the thread with id TID; -1 when there is none.
double ThreadCpuSeconds(const char* name);
double ThreadCpuSecondsById(pid_t tid);
// CPU time (user + system) of another process; -1 when it cannot be read.
double ProcessCpuSeconds(pid_t pid);

// P in [0, 1] of VALUES; -1 when empty.
double Percentile(std::vector<double> values, double p);
double Maximum(const std::vector<double>& values);

// Motion i goes to a position no other motion of a run has, away from every
// screen edge of a 1024x768 screen.
void PositionOf(int i, int& x, int& y);
// A position as the hook packs it into a message.
long Packed(int x, int y);

struct Motion {
    std::vector<Clock::time_point> sentAt; // the time of each motion's XTest call
    double seconds = 0;                    // from the first call to the last
};
// Moves the pointer through motions 0 to TOTAL-1 with XTest on DRIVER, RATE a
// second, then waits 100 ms for the last reports.
Motion PlayMotion(_XDisplay* driver, int total, int rate);

// `xdotool behave_screen_edge top exec true` on DISPLAY, given time to
// settle; -1 when xdotool is not installed.
pid_t StartXdotool(const std::string& display);

struct Report {
    long packed;
    Clock::time_point at;
};

// The latency of each motion: from its XTest call (sentAt) to the first
// report that shows it or a later position of the run, in milliseconds.
std::vector<double> MotionLatencies(const std::vector<Clock::time_point>& sentAt,
                                    const std::vector<Report>& reports);

} // namespace wt::bench
