// The wingtucker runner on a private Xvfb under openbox, serving windows
// that look like Lazarus's (same classes and titles, played by a test
// client): its CPU at rest, its memory, how soon an IDE window that is
// mapped is found and tucked, and how soon both windows are back after
// kill -9 of the runner.
//
//   runner_bench [RUNS]   (default 5)
#include "bench/bench_support.h"
#include "platform/window_presets.h"
#include "platform/x11/x11_desktop.h"
#include "platform/x11/x11_errors.h"
#include "tests/x11/test_client.h"
#include "tests/x11/x_server.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace wt;
using namespace std::chrono_literals;

namespace {

// The runner, its standard error on a pipe whose lines are timed.
struct Runner {
    pid_t Pid = -1;
    std::thread Reader;
    std::mutex Mutex;
    std::vector<bench::Clock::time_point> Found; // each "found ... main window" line
};

void StartRunner(Runner& runner, const std::string& display, const std::string& dir) {
    std::fflush(stdout); // the child would write what is buffered again
    int ends[2];
    if (pipe(ends) != 0)
        std::abort();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("DISPLAY", display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        freopen("/dev/null", "w", stdout);
        dup2(ends[1], 2);
        close(ends[0]);
        execl(WT_RUNNER_PATH, WT_RUNNER_PATH, "--preset", "lazarus", "--start", "--dir",
              dir.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    runner.Pid = pid;
    runner.Reader = std::thread([&runner, fd = ends[0]] {
        std::string line;
        char c;
        while (read(fd, &c, 1) == 1) {
            if (c != '\n') {
                line += c;
                continue;
            }
            if (line.find("main window") != std::string::npos) {
                std::lock_guard lock(runner.Mutex);
                runner.Found.push_back(bench::Clock::now());
            }
            line.clear();
        }
        close(fd);
    });
}

long ResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

template <class Done>
double MillisecondsUntil(Done done, std::chrono::milliseconds limit) {
    const auto start = bench::Clock::now();
    while (!done()) {
        if (bench::Clock::now() - start > limit)
            return -1;
        std::this_thread::sleep_for(1ms);
    }
    return std::chrono::duration<double, std::milli>(bench::Clock::now() - start).count();
}

struct Ide {
    Window Main, Inspector;
};

// The IDE's two windows, made but not yet mapped.
Ide MakeIde(test::TestClient& client) {
    test::WindowSetup main{"Lazarus-gtk2", "Lazarus IDE v2.2.6+dfsg2-2 - project1"};
    main.Rect = {0, 0, 1024, 90};
    main.Map = false;
    test::WindowSetup inspector{"Lazarus-gtk2", "Object Inspector"};
    inspector.Rect = {0, 130, 240, 700};
    inspector.Map = false;
    return {client.Create(main), client.Create(inspector)};
}

void Map(test::TestClient& client, const Ide& ide) {
    XMapWindow(client.GetDisplay(), ide.Inspector);
    XMapWindow(client.GetDisplay(), ide.Main);
    XFlush(client.GetDisplay());
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    test::XvfbServer x;
    x.Start(1024, 768);
    test::Openbox manager;
    manager.Start(x.DisplayName());
    setenv("DISPLAY", x.DisplayName().c_str(), 1);
    Display* display = XOpenDisplay(x.DisplayName().c_str());
    WatchDisplayErrors(display);
    X11Desktop desktop(display);
    const std::string dir = "/tmp/wt-runner-bench-" + std::to_string(getpid());
    std::vector<double> firstFound, firstTucked, laterFound, laterTucked, back, rest;
    long rss = 0;
    for (int run = 0; run < runs; ++run) {
        test::TestClient client;
        Runner runner;
        StartRunner(runner, x.DisplayName(), dir);
        std::this_thread::sleep_for(1500ms); // started, waiting for the IDE

        auto tucked = [&](Window w) {
            const auto r = desktop.OuterRect(w);
            return r && r->Bottom <= 5;
        };
        auto foundAfter = [&](bench::Clock::time_point mapped) {
            std::lock_guard lock(runner.Mutex);
            return runner.Found.empty()
                       ? -1.0
                       : std::chrono::duration<double, std::milli>(runner.Found.back() - mapped)
                             .count();
        };
        // Mapped -> found; then, once the window is still, the add-in loaded
        // (the first time) and the tuck.
        Ide ide = MakeIde(client);
        auto mapped = bench::Clock::now();
        Map(client, ide);
        firstTucked.push_back(MillisecondsUntil([&] { return tucked(ide.Main); }, 10s));
        firstFound.push_back(foundAfter(mapped));
        // A second IDE after the first quits: the add-in is loaded already.
        client.Destroy(ide.Inspector);
        client.Destroy(ide.Main);
        std::this_thread::sleep_for(500ms);
        ide = MakeIde(client);
        mapped = bench::Clock::now();
        Map(client, ide);
        laterTucked.push_back(MillisecondsUntil([&] { return tucked(ide.Main); }, 10s));
        laterFound.push_back(foundAfter(mapped));
        std::this_thread::sleep_for(1s);

        // At rest: no motion, nothing changes on the desktop.
        const double before = bench::ProcessCpuSeconds(runner.Pid);
        std::this_thread::sleep_for(10s);
        rest.push_back(bench::ProcessCpuSeconds(runner.Pid) - before);
        rss = std::max(rss, ResidentKiB(runner.Pid));

        kill(runner.Pid, SIGKILL);
        waitpid(runner.Pid, nullptr, 0);
        back.push_back(MillisecondsUntil(
            [&] {
                const auto m = desktop.OuterRect(ide.Main);
                const auto i = desktop.OuterRect(ide.Inspector);
                return m && i && m->Top >= 0 && i->Left >= 0;
            },
            5s));
        runner.Reader.join();
        std::printf("run %d: found %.1f ms after the map, tucked %.0f ms after (a later IDE: "
                    "%.1f, %.0f); CPU at rest %.3f s in 10 s; back %.0f ms after kill -9\n",
                    run + 1, firstFound.back(), firstTucked.back(), laterFound.back(),
                    laterTucked.back(), rest.back(), back.back());
    }
    std::printf("resident memory of the runner at most %ld KiB\n", rss);
    std::printf("median: found %.1f ms (tucked %.0f), later found %.1f ms (tucked %.0f), "
                "rest %.3f s/10 s, back %.0f ms\n",
                bench::Percentile(firstFound, 0.5), bench::Percentile(firstTucked, 0.5),
                bench::Percentile(laterFound, 0.5), bench::Percentile(laterTucked, 0.5),
                bench::Percentile(rest, 0.5), bench::Percentile(back, 0.5));
    std::string cleanup = "rm -rf " + dir;
    std::system(cleanup.c_str());
    XCloseDisplay(display);
    return 0;
}
