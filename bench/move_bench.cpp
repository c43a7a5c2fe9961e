// How long one step of a slide (MoveWindow with repaint, read back and
// checked) takes on a private Xvfb under each window manager that is
// installed, with the way the platform chose for it: slides of a 1024x106
// window off the top edge to a 5-pixel strip and back, in 5 steps and a
// final move each, as the engine makes them. The step that takes the window
// from the manager (the first of a tuck) and the one that gives it back (the
// last of a reveal) are counted apart from the rest. Also counted: tucks that
// land exactly, how often the window is unmapped (it blinks), and whether it
// keeps the keyboard focus through a tuck and a reveal.
// Usage: move_bench [slides]
#include "platform/tuck_guard.h"
#include "platform/x11/x11_platform.h"
#include "tests/x11/test_client.h"
#include "tests/x11/x_server.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Times {
    std::vector<double> ms;
    void Print(const char* manager, const char* way, const char* what) {
        if (ms.empty())
            return;
        std::sort(ms.begin(), ms.end());
        std::printf("%-10s %-22s %-26s median %6.2f  p99 %6.2f  max %6.2f ms  (%zu)\n", manager,
                    way, what, ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back(), ms.size());
    }
};

// The engine's slide: the edges advance by the truncated step, then the target.
void Slide(wt::X11Platform& platform, Window window, wt::TRect from, wt::TRect to, int steps,
           Times& first, Times& middle, Times& last) {
    const int dT = (to.Top - from.Top) / steps, dB = (to.Bottom - from.Bottom) / steps;
    wt::TRect cur = from;
    for (int i = 0; i <= steps; ++i) {
        if (i < steps) {
            cur.Top += dT;
            cur.Bottom += dB;
        } else {
            cur = to;
        }
        const auto start = Clock::now();
        platform.Windows().MoveWindow(window, cur.Left, cur.Top, cur.Width(), cur.Height(), true);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        (i == 0 ? first : i == steps ? last : middle).ms.push_back(ms);
    }
}

void Measure(const char* manager, int slides) {
    wt::test::TestClient client;
    wt::X11Platform platform("");
    Window window = client.Create({"TAppBuilder", "IDE", true, {0, 0, 1024, 106}});
    // Mapped is not yet framed: a manager may still be building the frame
    // (openbox reads 12x35 for a moment). The slides start from where it settles.
    wt::TRect shown = platform.Windows().GetWindowRect(window);
    for (int look = 0; look < 100; ++look) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const wt::TRect now = platform.Windows().GetWindowRect(window);
        if (now == shown && now.Width() >= 1024 && now.Height() >= 106)
            break;
        shown = now;
    }
    const wt::TRect hidden{0, 5 - shown.Height(), 1024, 5};
    Times tuckFirst, tuckSteps, tuckLast, revealFirst, revealSteps, revealLast;
    int exact = 0;
    // The flicker: how often the window disappears from the screen.
    Display* watch = client.GetDisplay();
    XSelectInput(watch, window, StructureNotifyMask);
    client.Drain();
    int unmaps = 0;
    auto countUnmaps = [&] {
        XSync(watch, False);
        XEvent event;
        while (XCheckTypedWindowEvent(watch, window, UnmapNotify, &event))
            ++unmaps;
    };
    // The focus: the window has it before each tuck; who has it after the
    // tuck and after the reveal, with no click in between.
    auto focused = [&] {
        Window focus = None;
        int revert = 0;
        XGetInputFocus(watch, &focus, &revert);
        return focus == window;
    };
    int focusTucked = 0, focusRevealed = 0;
    for (int i = 0; i < slides; ++i) {
        XSetInputFocus(watch, window, RevertToPointerRoot, CurrentTime);
        XSync(watch, False);
        Slide(platform, window, shown, hidden, 5, tuckFirst, tuckSteps, tuckLast);
        exact += platform.Windows().GetWindowRect(window) == hidden;
        focusTucked += focused();
        Slide(platform, window, hidden, shown, 5, revealFirst, revealSteps, revealLast);
        focusRevealed += focused();
        countUnmaps();
    }
    const std::string way(wt::TuckWayName(platform.Guard().CurrentWay()));
    tuckFirst.Print(manager, way.c_str(), "tuck, first step");
    tuckSteps.Print(manager, way.c_str(), "tuck, steps 2-5");
    tuckLast.Print(manager, way.c_str(), "tuck, final move");
    revealFirst.Print(manager, way.c_str(), "reveal, first step");
    revealSteps.Print(manager, way.c_str(), "reveal, steps 2-5");
    revealLast.Print(manager, way.c_str(), "reveal, final move");
    std::printf("%-10s tucks landing exactly: %d of %d; unmapped %.1f times a tuck and reveal\n",
                manager, exact, slides, static_cast<double>(unmaps) / slides);
    std::printf("%-10s focus kept by the tucked window %d of %d, by the revealed one %d of %d; "
                "refused: %s; outer %dx%d\n",
                manager, focusTucked, slides, focusRevealed, slides,
                platform.Guard().Refused() ? "yes" : "no", shown.Width(), shown.Height());
    client.Destroy(window);
}

} // namespace

int main(int argc, char** argv) {
    const int slides = argc > 1 ? std::max(10, std::atoi(argv[1])) : 100;
    wt::test::XvfbServer server;
    server.Start(1024, 768, 150);
    setenv("DISPLAY", server.DisplayName().c_str(), 1);
    Measure("none", slides);
    for (const char* program : {"fluxbox", "openbox", "xfwm4", "metacity", "icewm"}) {
        wt::test::WindowManager manager(program);
        if (!manager.Installed())
            continue;
        manager.Start(server.DisplayName());
        Measure(program, slides);
        manager.Stop();
    }
    return 0;
}
