// The pointer path of the hook on a private Xvfb: XTest motion at a fixed rate,
// the watcher thread's CPU time, the latency from the XTest call to the
// ClientMessage at the target window, the CPU at rest, and xdotool's
// behave_screen_edge on the same motion for comparison. One row per
// coalescing interval; the latency of a motion runs from its XTest call to
// the first report showing it or a later position. After the motion the
// pointer jumps from rest with XWarpPointer (as keyboard-mouse tools move it,
// with no raw motion) a number of times, each timed to its report, before
// the rest is measured.
// Usage: hook_bench [seconds] [events-per-second] [warps]
#include "bench/bench_support.h"
#include "hook/pointer_watcher.h"
#include "tests/x11/x_server.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using namespace wt::bench;
using namespace std::chrono_literals;

// The target window's owner: collects the ClientMessages with their arrival times.
class Receiver {
public:
    Receiver() {
        display_ = XOpenDisplay(nullptr);
        window_ =
            XCreateSimpleWindow(display_, DefaultRootWindow(display_), 900, 700, 50, 50, 0, 0, 0);
        atom_ = XInternAtom(display_, "WM_WATCHMOUSE", False);
        XSync(display_, False);
        thread_ = std::thread([this] { Run(); });
    }
    ~Receiver() {
        stop_ = true;
        thread_.join();
        XCloseDisplay(display_);
    }
    unsigned long Window() const { return window_; }
    std::vector<Report> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(received_, {});
    }

private:
    void Run() {
        while (!stop_) {
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type == ClientMessage && event.xclient.message_type == atom_) {
                    std::lock_guard lock(mutex_);
                    received_.push_back({event.xclient.data.l[0], Clock::now()});
                }
            }
            pollfd fd{ConnectionNumber(display_), POLLIN, 0};
            poll(&fd, 1, 20);
        }
    }
    Display* display_ = nullptr;
    ::Window window_ = 0;
    Atom atom_ = None;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Report> received_;
    std::thread thread_;
};

struct Row {
    long intervalUs;
    double hookCpuPercent, xdotoolCpuPercent, restCpuSeconds;
    unsigned long reads, sent, restReads;
    double medianMs, p99Ms, maxMs, stopMs;
    std::size_t received;
    int warps, warpsReported;
    double warpMedianMs, warpMaxMs, warpCpuUs;
};

// Warps the pointer from rest to positions no motion of the run had, 100 ms
// apart; each warp's latency runs from its XWarpPointer call to the first
// report of its position.
void MeasureWarps(Display* driver, int firstPosition, int count, Receiver& receiver, Row& row) {
    receiver.Take();
    std::vector<std::pair<long, Clock::time_point>> warps;
    const double cpuBefore = ThreadCpuSeconds("ruvazad1");
    for (int i = 0; i < count; ++i) {
        int x = 0, y = 0;
        PositionOf(firstPosition + i, x, y);
        warps.emplace_back(Packed(x, y), Clock::now());
        XWarpPointer(driver, None, DefaultRootWindow(driver), 0, 0, 0, 0, x, y);
        XFlush(driver);
        std::this_thread::sleep_for(100ms);
    }
    row.warpCpuUs = 1e6 * (ThreadCpuSeconds("ruvazad1") - cpuBefore) / std::max(count, 1);
    const auto received = receiver.Take();
    std::vector<double> latencies;
    for (const auto& [packed, at] : warps) {
        for (const Report& report : received) {
            if (report.packed == packed && report.at >= at) {
                latencies.push_back(
                    std::chrono::duration<double, std::milli>(report.at - at).count());
                break;
            }
        }
    }
    row.warps = count;
    row.warpsReported = static_cast<int>(latencies.size());
    row.warpMedianMs = Percentile(latencies, 0.5);
    row.warpMaxMs = Maximum(latencies);
}

Row Measure(long intervalUs, int seconds, int rate, int warps, Receiver& receiver, bool withXdotool,
            const std::string& display) {
    Row row{};
    row.intervalUs = intervalUs;
    wt::hook::PointerWatcher watcher{std::chrono::microseconds(intervalUs)};
    Display* driver = XOpenDisplay(nullptr);
    watcher.Start(receiver.Window());
    // Until the watcher listens.
    for (int i = 0; i < 200 && watcher.MessagesSent() == 0; ++i) {
        XTestFakeMotionEvent(driver, 0, 500 + i % 2, 600, CurrentTime);
        XFlush(driver);
        std::this_thread::sleep_for(10ms);
    }
    std::this_thread::sleep_for(200ms);
    receiver.Take();

    pid_t xdotool = withXdotool ? StartXdotool(display) : -1;
    const double xdotoolBefore = xdotool > 0 ? ProcessCpuSeconds(xdotool) : 0;
    const double cpuBefore = ThreadCpuSeconds("ruvazad1");
    const unsigned long readsBefore = watcher.PointerReads(), sentBefore = watcher.MessagesSent();

    const Motion played = PlayMotion(driver, seconds * rate, rate);
    const double elapsed = played.seconds;
    row.hookCpuPercent = 100.0 * (ThreadCpuSeconds("ruvazad1") - cpuBefore) / elapsed;
    row.reads = watcher.PointerReads() - readsBefore;
    row.sent = watcher.MessagesSent() - sentBefore;
    if (xdotool > 0) {
        row.xdotoolCpuPercent = 100.0 * (ProcessCpuSeconds(xdotool) - xdotoolBefore) / elapsed;
        wt::test::StopChild(xdotool);
    }

    const auto received = receiver.Take();
    row.received = received.size();
    const std::vector<double> latencies = MotionLatencies(played.sentAt, received);
    row.medianMs = Percentile(latencies, 0.5);
    row.p99Ms = Percentile(latencies, 0.99);
    row.maxMs = Maximum(latencies);

    MeasureWarps(driver, seconds * rate, warps, receiver, row);

    // At rest.
    const double restBefore = ThreadCpuSeconds("ruvazad1");
    const unsigned long restReadsBefore = watcher.PointerReads();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    row.restCpuSeconds = ThreadCpuSeconds("ruvazad1") - restBefore;
    row.restReads = watcher.PointerReads() - restReadsBefore;

    const auto stopStart = Clock::now();
    watcher.Stop();
    row.stopMs = std::chrono::duration<double, std::milli>(Clock::now() - stopStart).count();
    XCloseDisplay(driver);
    return row;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
    const int rate = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int warps = argc > 3 ? std::atoi(argv[3]) : 20;
    wt::test::XvfbServer server;
    server.Start(1024, 768, 140);
    setenv("DISPLAY", server.DisplayName().c_str(), 1);
    const bool xdotool = wt::test::HasProgram("xdotool");

    std::printf("hook_bench on Xvfb %s: %d s of XTest motion at %d events/s, then %d warps, "
                "per row\n",
                server.DisplayName().c_str(), seconds, rate, warps);
    std::printf("%9s %9s %9s %9s %7s %7s %9s %9s %9s %7s %9s %9s %9s %9s %10s %9s\n", "interval",
                "hook CPU", "xdotool", "ratio", "reads", "sent", "lat med", "lat p99", "lat max",
                "warps", "warp med", "warp max", "us/warp", "rest CPU", "rest reads", "stop");
    Receiver receiver;
    const long library = static_cast<long>(wt::hook::DefaultCoalesceInterval.count());
    for (long intervalUs : {0L, 4000L, 8000L, 10000L, 12000L, 14000L, 15000L, 16000L}) {
        Row row =
            Measure(intervalUs, seconds, rate, warps, receiver, xdotool, server.DisplayName());
        std::printf("%7.1fms %8.3f%% %8.3f%% %9.3f %7lu %7lu %7.2fms %7.2fms %7.2fms %3d/%-3d "
                    "%7.2fms %7.2fms %9.1f %8.4fs %10lu %7.2fms\n",
                    intervalUs / 1000.0, row.hookCpuPercent, row.xdotoolCpuPercent,
                    row.xdotoolCpuPercent > 0 ? row.hookCpuPercent / row.xdotoolCpuPercent : -1.0,
                    row.reads, row.sent, row.medianMs, row.p99Ms, row.maxMs, row.warpsReported,
                    row.warps, row.warpMedianMs, row.warpMaxMs, row.warpCpuUs, row.restCpuSeconds,
                    row.restReads, row.stopMs);
        if (intervalUs == library)
            std::printf("          (the interval libruvazad1 uses)\n");
        std::fflush(stdout);
    }
    return 0;
}
