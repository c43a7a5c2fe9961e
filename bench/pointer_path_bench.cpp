// The whole pointer path of the add-in on a private Xvfb: the add-in runs in
// this process on the X11 backend inside a Qt application, with the IDE's two
// windows played by another connection and tucked by Start. A driver thread
// moves the pointer with XTest at a fixed rate, the way a hand does, while
// the user-interface thread runs its event loop; the panel's WM_WATCHMOUSE
// handler is wrapped to note when each position reaches it.
//
// It prints the CPU time of the hook thread, the user-interface thread and
// Qt's X event reader during the motion and while the pointer rests, the
// latency from the XTest call to the handler, the same motion's cost to
// `xdotool behave_screen_edge`, and the reveal latency beyond OpenDelay.
// Usage: pointer_path_bench [seconds] [events-per-second] [reveals]
// Qt before Xlib: Xlib's macros would break Qt's headers.
#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>

#include "bench/bench_support.h"
#include "engine/edge_watch.h"
#include "engine/main.h"
#include "platform/platform.h"
#include "platform/types.h"
#include "platform/x11/x11_platform.h"
#include "tests/engine/test_host.h"
#include "tests/x11/test_client.h"
#include "tests/x11/x_server.h"
#include "toolkit/controls/bitbtn.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace wt::bench;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int OpenDelayMs = 200;
constexpr wt::TRect MainAtStart{0, 0, 1024, 106};
constexpr wt::TRect InspectorAtStart{0, 130, 220, 580};

// What reached the panel's handler, with the time it arrived.
class HandlerLog {
public:
    void Add(long packed) {
        std::lock_guard lock(mutex_);
        reports_.push_back({packed, Clock::now()});
    }
    std::vector<Report> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(reports_, {});
    }
    std::size_t Count() {
        std::lock_guard lock(mutex_);
        return reports_.size();
    }

private:
    std::mutex mutex_;
    std::vector<Report> reports_;
};

// Runs WORK on a thread of its own while this thread runs the Qt event loop.
void WhileTheLoopRuns(const std::function<void()>& work) {
    QEventLoop loop;
    std::thread worker([&] {
        pthread_setname_np(pthread_self(), "bench-driver");
        work();
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
}

// CPU seconds of the three threads the pointer path runs on.
struct PathCpu {
    double hook = 0, ui = 0, reader = 0;
};
PathCpu ReadPathCpu() {
    return {ThreadCpuSeconds("ruvazad1"), ThreadCpuSecondsById(getpid()),
            ThreadCpuSeconds("QXcbEventQueue")};
}
PathCpu operator-(const PathCpu& a, const PathCpu& b) {
    return {a.hook - b.hook, a.ui - b.ui, a.reader - b.reader};
}

struct MotionResult {
    PathCpu cpu;
    double seconds = 0, xdotoolSeconds = -1;
    std::vector<double> latencies;
    std::size_t handled = 0;
};

MotionResult MoveThePointer(int seconds, int rate, HandlerLog& log, const std::string& display) {
    MotionResult result;
    Display* driver = XOpenDisplay(nullptr);
    pid_t xdotool = StartXdotool(display);
    log.Take();
    const double xdotoolBefore = xdotool > 0 ? ProcessCpuSeconds(xdotool) : 0;
    const PathCpu before = ReadPathCpu();
    const Motion played = PlayMotion(driver, seconds * rate, rate);
    result.seconds = played.seconds;
    result.cpu = ReadPathCpu() - before;
    if (xdotool > 0) {
        result.xdotoolSeconds = ProcessCpuSeconds(xdotool) - xdotoolBefore;
        wt::test::StopChild(xdotool);
    }
    const std::vector<Report> reports = log.Take();
    result.handled = reports.size();
    result.latencies = MotionLatencies(played.sentAt, reports);
    XCloseDisplay(driver);
    return result;
}

// Waits on WATCH for a ConfigureNotify of WINDOW whose top satisfies WANTED;
// returns its arrival time, or nothing after the timeout.
std::optional<Clock::time_point> WaitForTop(Display* watch, Window window,
                                            const std::function<bool(int)>& wanted,
                                            std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        while (XPending(watch) > 0) {
            XEvent event;
            XNextEvent(watch, &event);
            if (event.type == ConfigureNotify && event.xconfigure.window == window &&
                wanted(event.xconfigure.y))
                return Clock::now();
        }
        pollfd fd{ConnectionNumber(watch), POLLIN, 0};
        poll(&fd, 1, 5);
    }
    return std::nullopt;
}

struct Reveals {
    std::vector<double> fromRest, inMotion;
};

// Times reveals of the main window: half of the rounds put the pointer on
// the strip from rest, half bring it there in motion (2 pixels a
// millisecond upwards), timed from the first motion that reaches the strip.
// After each the pointer leaves and the tuck is awaited. The figures are the
// time beyond OpenDelay.
Reveals TimeReveals(int rounds, Window mainWindow) {
    Reveals result;
    Display* driver = XOpenDisplay(nullptr);
    Display* watch = XOpenDisplay(nullptr);
    XSelectInput(watch, mainWindow, StructureNotifyMask);
    XSync(watch, False);
    auto motion = [driver](int x, int y) {
        XTestFakeMotionEvent(driver, 0, x, y, CurrentTime);
        XFlush(driver);
        return Clock::now();
    };
    for (int round = 0; round < rounds; ++round) {
        const bool moving = round % 2 == 1;
        const int x = 300 + round;
        Clock::time_point reached;
        if (moving) {
            const auto start = Clock::now();
            for (int step = 0, y = 41; y >= 1; ++step, y -= 2) {
                std::this_thread::sleep_until(start + std::chrono::milliseconds(step));
                const auto at = motion(x, y);
                if (y == 5) // the strip's last row: HangOutPixels 5
                    reached = at;
            }
        } else {
            reached = motion(x, 1);
        }
        const auto shown = WaitForTop(
            watch, mainWindow, [](int top) { return top == 0; }, 2s);
        if (!shown) {
            std::fprintf(stderr, "pointer_path_bench: round %d: no reveal\n", round);
            break;
        }
        (moving ? result.inMotion : result.fromRest)
            .push_back(std::chrono::duration<double, std::milli>(*shown - reached).count() -
                       OpenDelayMs);
        motion(600, 400 + round);
        if (!WaitForTop(
                watch, mainWindow, [](int top) { return top < 0; }, 2s)) {
            std::fprintf(stderr, "pointer_path_bench: round %d: no tuck\n", round);
            break;
        }
        std::this_thread::sleep_for(100ms);
    }
    XCloseDisplay(watch);
    XCloseDisplay(driver);
    return result;
}

double Percent(double cpuSeconds, double seconds) { return 100.0 * cpuSeconds / seconds; }

} // namespace

// Moves the pointer until the hook reports to the handler.
void AwaitFirstReport(HandlerLog& log) {
    Display* driver = XOpenDisplay(nullptr);
    for (int i = 0; i < 200 && log.Count() == 0; ++i) {
        XTestFakeMotionEvent(driver, 0, 500 + i % 2, 600, CurrentTime);
        XFlush(driver);
        std::this_thread::sleep_for(10ms);
    }
    XCloseDisplay(driver);
    std::this_thread::sleep_for(300ms);
}

// A configuration directory of the run's own, with both windows to hide.
fs::path PrepareConfiguration() {
    const fs::path config = fs::temp_directory_path() / ("wt-bench-" + std::to_string(getpid()));
    fs::create_directories(config / "wingtucker");
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    std::ofstream(config / "wingtucker" / "Wingtckr.ini")
        << "[Wingtucker]\ngwHideInspector=True\ngwSide=0\ngwHideDelphi=True\ngwAnimate=False\n"
        << "gwDelay=" << OpenDelayMs << "\ngwDisableOnFocusLoss=False\n";
    return config;
}

void PrintResults(const MotionResult& motion, const PathCpu& rest, const Reveals& reveals,
                  int seconds) {
    const double hook = Percent(motion.cpu.hook, motion.seconds);
    const double ui = Percent(motion.cpu.ui, motion.seconds);
    const double reader = Percent(motion.cpu.reader, motion.seconds);
    const double path = hook + ui + reader;
    std::printf("motion: %zu positions reached the handler\n", motion.handled);
    std::printf("  CPU of one core: hook thread %.3f%%, user-interface thread %.3f%%, "
                "Qt's X reader %.3f%%, whole path %.3f%%\n",
                hook, ui, reader, path);
    if (motion.xdotoolSeconds >= 0) {
        const double xdotool = Percent(motion.xdotoolSeconds, motion.seconds);
        std::printf("  xdotool behave_screen_edge on the same motion: %.3f%%; ratio %.3f "
                    "(hook and handler %.3f)\n",
                    xdotool, path / xdotool, (hook + ui) / xdotool);
    } else {
        std::printf("  xdotool is not installed: no ratio\n");
    }
    std::printf("  latency XTest -> handler: median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                Percentile(motion.latencies, 0.5), Percentile(motion.latencies, 0.99),
                Maximum(motion.latencies));
    std::printf("rest (%d s): hook %.4f s, user-interface %.4f s, Qt's X reader %.4f s of CPU\n",
                seconds, rest.hook, rest.ui, rest.reader);
    for (const auto& [what, values] :
         {std::pair{"from rest", &reveals.fromRest}, std::pair{"in motion", &reveals.inMotion}})
        std::printf("reveal beyond OpenDelay (%d ms), %s, %zu rounds: median %.2f ms, "
                    "p99 %.2f ms, max %.2f ms\n",
                    OpenDelayMs, what, values->size(), Percentile(*values, 0.5),
                    Percentile(*values, 0.99), Maximum(*values));
}

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
    const int rate = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 20;

    wt::test::XvfbServer server;
    server.Start(1024, 768, 150);
    setenv("DISPLAY", server.DisplayName().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const fs::path config = PrepareConfiguration();

    // The IDE's windows belong to another connection, as to another program.
    wt::test::TestClient ide;
    wt::test::WindowSetup mainSetup{"TAppBuilder", "Delphi 2.0 - Demo"};
    mainSetup.Rect = MainAtStart;
    const Window mainWindow = ide.Create(mainSetup);
    wt::test::WindowSetup inspectorSetup{"TPropertyInspector", "Object Inspector"};
    inspectorSetup.Rect = InspectorAtStart;
    ide.Create(inspectorSetup);

    QApplication app(argc, argv);
    wt::InstallPlatform(std::make_unique<wt::X11Platform>());
    wt::test::TestToolServices host;
    host.project = (config / "Demo.dpr").string();
    wt::TExpertTerminateProc terminate = nullptr;
    if (!INITEXPERT0016(&host, &wt::test::RegisterExpert, &terminate) || !wt::Panel) {
        std::fprintf(stderr, "pointer_path_bench: the add-in did not load\n");
        return 1;
    }
    HandlerLog log;
    wt::Panel->SetMessageHandler(wt::WM_WATCHMOUSE, [&log](wt::TMessage& m) {
        log.Add(static_cast<long>(m.LParam));
        wt::WatchMouse(m.LParam);
    });
    wt::Panel->btnStart->Click();
    if (!wt::Panel->btnStop->Enabled()) {
        std::fprintf(stderr, "pointer_path_bench: Start did not start the engine\n");
        return 1;
    }

    const char* interval = std::getenv("WINGTUCKER_HOOK_INTERVAL_US");
    std::printf("pointer_path_bench on Xvfb %s: %d s of XTest motion at %d events/s, %d reveals; "
                "hook interval %s\n",
                server.DisplayName().c_str(), seconds, rate, rounds,
                interval ? (std::string(interval) + " us").c_str() : "the library's");
    MotionResult motion;
    PathCpu rest;
    Reveals reveals;
    WhileTheLoopRuns([&] {
        AwaitFirstReport(log);

        motion = MoveThePointer(seconds, rate, log, server.DisplayName());
        const PathCpu restBefore = ReadPathCpu();
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        rest = ReadPathCpu() - restBefore;
        reveals = TimeReveals(rounds, mainWindow);
    });

    PrintResults(motion, rest, reveals, seconds);
    std::fflush(stdout);

    wt::Panel->btnStop->Click();
    if (terminate)
        terminate();
    for (wt::TIExpert* expert : wt::test::RegisteredExperts())
        expert->Release();
    wt::InstallPlatform(nullptr);
    fs::remove_all(config);
    return reveals.fromRest.size() + reveals.inMotion.size() == static_cast<std::size_t>(rounds)
               ? 0
               : 1;
}
