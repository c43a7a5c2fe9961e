// How long one animation step (MoveWindow with repaint) takes on a private
// Xvfb, without a window manager and under openbox, where each step waits for
// the manager's confirmation (at most one display frame).
// Usage: move_bench [steps]
#include "platform/x11/x11_platform.h"
#include "tests/x11/test_client.h"
#include "tests/x11/x_server.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void Measure(const char* label, int steps) {
    wt::test::TestClient client;
    wt::X11Platform platform("");
    Window window = client.Create({"TAppBuilder", "IDE", true, {0, 0, 1024, 106}});
    std::vector<double> times;
    for (int i = 0; i < steps; ++i) {
        const int top = (i % 2) ? 0 : 20; // back and forth on screen
        const auto start = Clock::now();
        platform.MoveWindow(window, 0, top, 1024, 106, true);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("%-16s median %6.2f ms  p99 %6.2f ms  max %6.2f ms  (%d steps)\n", label,
                times[times.size() / 2], times[times.size() * 99 / 100], times.back(), steps);
    client.Destroy(window);
}

} // namespace

int main(int argc, char** argv) {
    const int steps = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
    wt::test::XvfbServer server;
    server.Start(1024, 768, 150);
    setenv("DISPLAY", server.DisplayName().c_str(), 1);
    Measure("no manager", steps);
    if (wt::test::HasProgram("openbox")) {
        wt::test::Openbox openbox;
        openbox.Start(server.DisplayName());
        Measure("under openbox", steps);
    }
    return 0;
}
