// The pointer watch behind SetHook/ResetHook: a thread with its own X
// connection that wakes on XInput2 raw motion and on the motion and crossing
// events a warp makes, reads the pointer at most once per coalescing interval
// and sends each new position to a target window.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace wt::hook {

// The library's interval, chosen with bench/hook_bench and
// bench/pointer_path_bench (docs/PERFORMANCE.md): at 1000 motion events a
// second the hook thread and the panel's handler together stay under 1% of a
// core, and a motion reaches the handler within one 60 Hz frame at the 99th
// percentile. WINGTUCKER_HOOK_INTERVAL_US overrides it.
inline constexpr std::chrono::microseconds DefaultCoalesceInterval{15000};

// The interval named by TEXT in microseconds (0 to 100000, digits only), for
// tuning and measurement; the default for anything else, null included.
std::chrono::microseconds CoalesceIntervalFrom(const char* text);

class PointerWatcher {
public:
    // coalesce: the shortest time between two pointer reads while the pointer moves.
    explicit PointerWatcher(std::chrono::microseconds coalesce);
    ~PointerWatcher();
    PointerWatcher(const PointerWatcher&) = delete;
    PointerWatcher& operator=(const PointerWatcher&) = delete;

    // Starts watching for window, or retargets the running watch; 0 stops.
    void Start(unsigned long window);
    // Wakes the thread and joins it; harmless when nothing runs.
    void Stop();
    bool Running() const { return alive_.load(); }

    // Counters for tests and the benchmark.
    unsigned long PointerReads() const { return reads_.load(); }
    unsigned long MessagesSent() const { return sent_.load(); }

private:
    void Run();
    void StopLocked();

    const std::chrono::microseconds coalesce_;
    std::mutex control_;
    std::thread thread_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<bool> alive_{false};
    std::atomic<unsigned long> target_{0};
    std::atomic<unsigned> generation_{0};
    std::atomic<unsigned long> reads_{0};
    std::atomic<unsigned long> sent_{0};
};

} // namespace wt::hook
