// hostide with the add-in on an Xvfb split into monitors with xrandr
// --setmonitor, with the settings a new user has (the focus handling on):
// each window tucks to an outer edge of its monitor, shows its strip there
// and nowhere else (measured from a connection of the test's own), is
// revealed by moving the pointer onto that strip and not by the same edge on
// another monitor, follows a monitor removed while tucked, and goes back
// where it was at Stop; without a manager and under each one of the matrix.
#include "tests/e2e/hostide_run.h"
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool) would break its templates.
#include "platform/x11/x11_windows.h"

#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace wt::e2e {
namespace {

namespace fs = std::filesystem;

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Box&, const Box&) = default;
};

std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "(" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
}

int Overlap(const Box& a, const Box& b) {
    const int w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const int h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

struct Point {
    int x = 0, y = 0;
};

struct Desk {
    int Width, Height;
    std::vector<Box> Monitors;
};

struct Layout {
    std::string Name;
    Desk Screen;
    bool Right;        // the Inspector's side
    Point MainAt;      // where the main window is put before Start
    Point InspectorAt; // and the Inspector
    int MainEdge;      // index of the monitor whose top the main window takes
    int InspectorEdge; // and whose side the Inspector takes
    Point Decoy;       // a point on the same edge of another monitor: no reveal there
    int Removed = -1;  // monitor removed while tucked, -1 for none
    std::string Manager;
};

// The edge of a place that faces into the monitor: where the strip ends or
// the revealed window begins. A window taken from its manager while tucked
// loses its frame, so its extent across the edge is the client's then.
void ExpectEdge(const Box& actual, const Box& expected, bool main, bool hidden, bool right,
                const char* what) {
    if (main) {
        EXPECT_EQ(actual.left, expected.left) << what;
        EXPECT_EQ(actual.right, expected.right) << what;
        EXPECT_EQ(hidden ? actual.bottom : actual.top, hidden ? expected.bottom : expected.top)
            << what;
        return;
    }
    EXPECT_EQ(actual.top, expected.top) << what;
    EXPECT_EQ(actual.bottom, expected.bottom) << what;
    const bool leftEdge = hidden == right; // hidden on the right: its left edge shows
    EXPECT_EQ(leftEdge ? actual.left : actual.right, leftEdge ? expected.left : expected.right)
        << what;
}

Box MainPlace(const Box& m, bool hidden) {
    return hidden ? Box{m.left, m.top + 5 - 200, m.right, m.top + 5}
                  : Box{m.left, m.top, m.right, m.top + 200};
}
Box InspectorPlace(const Box& m, bool hidden, bool right) {
    if (right)
        return hidden ? Box{m.right - 5, m.top, m.right + 200, m.bottom}
                      : Box{m.right - 200, m.top, m.right, m.bottom};
    return hidden ? Box{m.left - 200, m.top, m.left + 5, m.bottom}
                  : Box{m.left, m.top, m.left + 200, m.bottom};
}

class MonitorsOnXvfb : public ::testing::TestWithParam<Layout> {
protected:
    void SetUp() override {
        const Layout& l = GetParam();
        if (!l.Manager.empty()) {
            manager_ = std::make_unique<test::WindowManager>(l.Manager);
            if (!manager_->Installed())
                GTEST_SKIP() << l.Manager << " is not installed";
        }
        try {
            server_.Start(l.Screen.Width, l.Screen.Height, 140);
            // The server's one output goes to the last monitor: GTK's managers
            // (xfwm4, metacity) see only monitors with an output, and take
            // the screen's size from the first one that has it.
            const std::size_t count = l.Screen.Monitors.size();
            for (std::size_t i = 0; i < count; ++i)
                ASSERT_EQ(Xrandr("--setmonitor M" + std::to_string(i) + " " +
                                 Geometry(l.Screen.Monitors[i]) +
                                 (i + 1 == count ? " screen" : " none")),
                          0);
            if (manager_)
                manager_->Start(server_.DisplayName());
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        // Only what the case is about: the focus handling stays as a new
        // user has it.
        folder_ = std::make_unique<RunFolder>(
            "wt-monitors", std::string("gwHideInspector=True\ngwHideDelphi=True\ngwAnimate=False\n"
                                       "gwDelay=200\ngwSide=") +
                               (l.Right ? "1" : "0") + "\n");
        ASSERT_TRUE(folder_->Made());
        dir_ = folder_->Path();
        display_ = XOpenDisplay(server_.DisplayName().c_str());
        ASSERT_NE(display_, nullptr);
        windows_ = std::make_unique<X11Windows>(server_.DisplayName());
    }
    void TearDown() override {
        windows_.reset();
        if (display_)
            XCloseDisplay(display_);
        if (manager_)
            manager_->Stop();
        // WT_E2E_SHOTS: a folder that keeps the screenshots, to look at.
        if (const char* keep = std::getenv("WT_E2E_SHOTS"); keep && !dir_.empty())
            for (const char* shot : {"tucked.png", "revealed.png"})
                if (fs::exists(dir_ / shot))
                    fs::copy_file(dir_ / shot, fs::path(keep) / (GetParam().Name + "-" + shot),
                                  fs::copy_options::overwrite_existing);
    }

    static std::string Geometry(const Box& m) {
        std::ostringstream s;
        s << m.Width() << "/300x" << m.Height() << "/200+" << m.left << "+" << m.top;
        return s.str();
    }
    int Xrandr(const std::string& arguments) {
        return std::system(
            ("xrandr -d " + server_.DisplayName() + " " + arguments + " >/dev/null").c_str());
    }

    // The shown top-level window of that class (hostide's, another
    // process's), found as the add-in finds windows by rule.
    std::optional<WindowHandle> Find(const char* windowClass) {
        for (WindowHandle w : windows_->TopLevelWindows())
            if (auto facts = windows_->FactsOf(w); facts && facts->Class == windowClass)
                return w;
        return std::nullopt;
    }
    // Its outer rectangle, the manager's frame included.
    Box RectOf(const char* windowClass) {
        const auto window = Find(windowClass);
        const TRect r = window ? windows_->GetWindowRect(*window) : TRect{};
        return {r.Left, r.Top, r.Right, r.Bottom};
    }
    // Asks for the window's place as a program does, and waits until the
    // manager has framed it near there.
    void Place(const char* windowClass, Point at) {
        const auto window = Find(windowClass);
        ASSERT_TRUE(window) << "no " << windowClass;
        XMoveWindow(display_, static_cast<Window>(*window), at.x, at.y);
        XSync(display_, False);
        for (int i = 0; i < 40; ++i) {
            const Box now = RectOf(windowClass);
            if (std::abs(now.left - at.x) < 40 && std::abs(now.top - at.y) < 60)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ADD_FAILURE() << windowClass << " not placed at " << at.x << "," << at.y << ": "
                      << RectOf(windowClass);
    }
    // A monitor as windows may use it: a manager's panel along the bottom
    // of the screen takes its rows (_NET_WORKAREA).
    Box Usable(Box m) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, rest = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, DefaultRootWindow(display_),
                               XInternAtom(display_, "_NET_WORKAREA", False), 0, 4, False,
                               AnyPropertyType, &type, &format, &count, &rest, &data) == Success &&
            data && count == 4 && format == 32) {
            const auto* area = reinterpret_cast<const long*>(data);
            const int bottom = static_cast<int>(area[1] + area[3]);
            if (m.top < bottom && bottom < m.bottom)
                m.bottom = bottom;
        }
        if (data)
            XFree(data);
        return m;
    }
    bool Marker(const std::string& name) { return run_.WaitForOutput("@" + name + "\n", 20000); }

    std::unique_ptr<test::WindowManager> manager_;
    test::XvfbServer server_;
    std::unique_ptr<RunFolder> folder_;
    fs::path dir_; // the folder's path
    Display* display_ = nullptr;
    std::unique_ptr<X11Windows> windows_;
    HostideRun run_;
};

std::string Script(const Layout& l, const fs::path& dir, const Box& mainTarget,
                   const Box& inspectorTarget) {
    std::ostringstream s;
    const int sideX = l.Right ? inspectorTarget.right - 2 : inspectorTarget.left + 1;
    const int sideY = (inspectorTarget.top + inspectorTarget.bottom) / 2;
    const Box& away = l.Screen.Monitors[l.MainEdge];
    const std::string awayPoint =
        std::to_string((away.left + away.right) / 2) + " " + std::to_string(away.bottom - 40);
    s << "new-project " << (dir / "project" / "Demo.dpr").string() << "\n"
      << "menu Tools|Wingtucker 1.2d\nwait 1200\necho @ready\nwait 3000\n"
      << "click-button Start\nwait 1500\necho @tucked\nwait 1000\n"
      << "screenshot " << (dir / "tucked.png").string() << "\n"
      << "move " << l.Decoy.x << " " << l.Decoy.y << "\nwait 800\necho @decoy\nwait 600\n"
      << "move " << mainTarget.left + 100 << " " << mainTarget.top + 2 << "\nwait 1000\n"
      << "echo @main\nwait 600\nscreenshot " << (dir / "revealed.png").string() << "\n"
      << "move " << awayPoint << "\nwait 800\n"
      << "move " << sideX << " " << sideY << "\nwait 1000\necho @inspector\nwait 600\n"
      << "move " << awayPoint << "\nwait 800\n";
    if (l.Removed >= 0)
        s << "echo @remove\nwait 2000\necho @moved\nwait 800\n";
    s << "menu Tools|Wingtucker 1.2d\nwait 800\nclick-button Stop\nwait 1500\n"
      << "echo @stopped\nwait 800\nquit\n";
    return s.str();
}

TEST_P(MonitorsOnXvfb, EachWindowHangsFromAnOuterEdgeOfItsMonitor) {
    const Layout& l = GetParam();
    const std::vector<Box>& monitors = l.Screen.Monitors;
    const Box mainMonitor = monitors[l.MainEdge];
    Box sideMonitor = monitors[l.InspectorEdge];
    const fs::path script = dir_ / "test.script";
    std::ofstream(script) << Script(l, dir_, mainMonitor, sideMonitor);
    ASSERT_TRUE(run_.Start(server_.DisplayName(), folder_->ConfigHome(), script.string()));

    ASSERT_TRUE(Marker("ready")) << run_.Output();
    Place("TAppBuilder", l.MainAt);
    Place("TPropertyInspector", l.InspectorAt);
    const Box mainBefore = RectOf("TAppBuilder"), inspectorBefore = RectOf("TPropertyInspector");
    ASSERT_GT(mainBefore.Height(), 0);
    ASSERT_GT(inspectorBefore.Width(), 0);
    sideMonitor = Usable(sideMonitor);

    ASSERT_TRUE(Marker("tucked")) << run_.Output();
    const Box main = RectOf("TAppBuilder"), inspector = RectOf("TPropertyInspector");
    ExpectEdge(main, MainPlace(mainMonitor, true), true, true, l.Right, "main window tucked");
    ExpectEdge(inspector, InspectorPlace(sideMonitor, true, l.Right), false, true, l.Right,
               "Inspector tucked");
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const int own = static_cast<int>(i);
        EXPECT_EQ(Overlap(main, monitors[i]), own == l.MainEdge ? 5 * mainMonitor.Width() : 0)
            << "main window's pixels on monitor " << i << ": " << main;
        EXPECT_EQ(Overlap(inspector, monitors[i]),
                  own == l.InspectorEdge ? 5 * sideMonitor.Height() : 0)
            << "Inspector's pixels on monitor " << i << ": " << inspector;
    }

    ASSERT_TRUE(Marker("decoy")) << run_.Output();
    EXPECT_EQ(RectOf("TAppBuilder"), main) << "the edge of another monitor revealed it";
    EXPECT_EQ(RectOf("TPropertyInspector"), inspector) << "the edge of another monitor revealed it";
    ASSERT_TRUE(Marker("main")) << run_.Output();
    ExpectEdge(RectOf("TAppBuilder"), MainPlace(mainMonitor, false), true, false, l.Right,
               "main window revealed");
    ASSERT_TRUE(Marker("inspector")) << run_.Output();
    ExpectEdge(RectOf("TPropertyInspector"), InspectorPlace(sideMonitor, false, l.Right), false,
               false, l.Right, "Inspector revealed");
    EXPECT_EQ(RectOf("TAppBuilder"), main) << "the main window tucked again";

    const Box left = Usable(monitors[l.Removed == 0 ? 1 : 0]);
    if (l.Removed >= 0) {
        ASSERT_TRUE(Marker("remove")) << run_.Output();
        ASSERT_EQ(Xrandr("--delmonitor M" + std::to_string(l.Removed)), 0);
        ASSERT_TRUE(Marker("moved")) << run_.Output();
        ExpectEdge(RectOf("TAppBuilder"), MainPlace(left, true), true, true, l.Right,
                   "main window on the monitor left");
        ExpectEdge(RectOf("TPropertyInspector"), InspectorPlace(left, true, l.Right), false, true,
                   l.Right, "Inspector on the monitor left");
    }
    ASSERT_TRUE(Marker("stopped")) << run_.Output();
    for (auto [cls, before] :
         {std::pair{"TAppBuilder", mainBefore}, {"TPropertyInspector", inspectorBefore}}) {
        const Box back = RectOf(cls);
        if (l.Removed < 0)
            EXPECT_EQ(back, before) << cls << " back in its place";
        else
            EXPECT_EQ(Overlap(back, left), back.Width() * back.Height())
                << cls << " " << back << " wholly on the monitor left";
    }
    EXPECT_EQ(run_.Wait(20000), 0) << run_.Output();
}

constexpr Box L{0, 0, 1024, 768}, R{1024, 0, 2048, 768};
constexpr Box Big{0, 0, 1280, 1024}, Small{1280, 256, 2304, 1024};
constexpr Box Up{0, 0, 1024, 768}, Down{0, 768, 1024, 1536};
const Desk Beside{2048, 768, {L, R}};
const Desk BottomsLevel{2304, 1024, {Big, Small}};
const Desk Stacked{1024, 1536, {Up, Down}};

// The Inspector on the left monitor asked for the right side: that edge is
// inner, so it goes across to the right monitor's; and so on. The decoy is
// a point the old one-screen strips would have revealed on.
std::vector<Layout> Layouts() {
    std::vector<Layout> layouts{
        {"beside_right", Beside, true, {1024, 200}, {100, 200}, 1, 1, {500, 2}},
        {"beside_left", Beside, false, {100, 200}, {1200, 200}, 0, 0, {1500, 2}},
        {"bottoms_level_right", BottomsLevel, true, {1400, 400}, {300, 300}, 1, 1, {100, 100}},
        {"bottoms_level_left", BottomsLevel, false, {300, 300}, {1400, 400}, 0, 0, {1281, 600}},
        {"stacked_right", Stacked, true, {100, 900}, {100, 1000}, 0, 1, {1022, 300}},
        {"stacked_left", Stacked, false, {100, 100}, {100, 900}, 0, 1, {1, 300}},
        {"removed_while_tucked", Beside, false, {0, 200}, {100, 200}, 0, 0, {1500, 2}, 0},
    };
    // Side by side under the managers of the matrix that see monitors
    // without an output, the focus handling on. xfwm4 and metacity take
    // their monitors from GTK, which counts only monitors with an output:
    // on a server split by --setmonitor they see one monitor and keep every
    // window on it, so that the layout cannot be tried with them here.
    for (const char* manager : {"openbox", "fluxbox", "icewm"}) {
        Layout l{"beside_right_", Beside, true, {1024, 200}, {100, 200}, 1, 1, {500, 2}};
        l.Name += manager;
        l.Manager = manager;
        layouts.push_back(l);
    }
    return layouts;
}

INSTANTIATE_TEST_SUITE_P(Layouts, MonitorsOnXvfb, ::testing::ValuesIn(Layouts()),
                         [](const ::testing::TestParamInfo<Layout>& info) {
                             return info.param.Name;
                         });

} // namespace
} // namespace wt::e2e
