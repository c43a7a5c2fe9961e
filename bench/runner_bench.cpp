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
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace wt;
using namespace std::chrono_literals;

namespace {

pid_t StartRunner(const std::string& display, const std::string& dir) {
    std::fflush(stdout); // the child's freopen would write what is buffered again
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("DISPLAY", display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        execl(WT_RUNNER_PATH, WT_RUNNER_PATH, "--preset", "lazarus", "--start", "--dir",
              dir.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
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
    std::vector<double> firstFound, laterFound, back, rest;
    long rss = 0;
    for (int run = 0; run < runs; ++run) {
        test::TestClient client;
        const pid_t runner = StartRunner(x.DisplayName(), dir);
        std::this_thread::sleep_for(1500ms); // started, waiting for the IDE

        auto tucked = [&](Window w) {
            const auto r = desktop.OuterRect(w);
            return r && r->Bottom <= 5;
        };
        // Mapped -> found, the add-in loaded, and tucked.
        Ide ide = MakeIde(client);
        Map(client, ide);
        firstFound.push_back(MillisecondsUntil([&] { return tucked(ide.Main); }, 10s));
        // A second IDE after the first quits: the add-in is loaded already.
        client.Destroy(ide.Inspector);
        client.Destroy(ide.Main);
        std::this_thread::sleep_for(500ms);
        ide = MakeIde(client);
        Map(client, ide);
        laterFound.push_back(MillisecondsUntil([&] { return tucked(ide.Main); }, 10s));
        std::this_thread::sleep_for(1s);

        // At rest: no motion, nothing changes on the desktop.
        const double before = bench::ProcessCpuSeconds(runner);
        std::this_thread::sleep_for(10s);
        rest.push_back(bench::ProcessCpuSeconds(runner) - before);
        rss = std::max(rss, ResidentKiB(runner));

        kill(runner, SIGKILL);
        waitpid(runner, nullptr, 0);
        back.push_back(MillisecondsUntil(
            [&] {
                const auto m = desktop.OuterRect(ide.Main);
                const auto i = desktop.OuterRect(ide.Inspector);
                return m && i && m->Top >= 0 && i->Left >= 0;
            },
            5s));
        std::printf("run %d: first IDE tucked %.0f ms after its map, a later one %.0f ms; "
                    "CPU at rest %.3f s in 10 s; back %.0f ms after kill -9\n",
                    run + 1, firstFound.back(), laterFound.back(), rest.back(), back.back());
    }
    std::printf("resident memory of the runner at most %ld KiB\n", rss);
    std::printf("median: first %.0f ms, later %.0f ms, rest %.3f s/10 s, back %.0f ms\n",
                bench::Percentile(firstFound, 0.5), bench::Percentile(laterFound, 0.5),
                bench::Percentile(rest, 0.5), bench::Percentile(back, 0.5));
    std::string cleanup = "rm -rf " + dir;
    std::system(cleanup.c_str());
    XCloseDisplay(display);
    return 0;
}
