// hostide with the add-in on an Xvfb split into monitors with xrandr
// --setmonitor: each window tucks to an outer edge of its monitor, shows its
// strip there and nowhere else (measured from a connection of the test's
// own), is revealed by moving the pointer onto that strip and not by the
// same edge on another monitor, and follows a monitor removed while tucked.
#include "tests/e2e/hostide_run.h"
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace wt::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

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

struct Layout {
    const char* Name;
    int Width, Height;
    std::vector<Box> Monitors;
    bool Right;        // the Inspector's side
    Box MainAt;        // where the main window is put before Start
    Box InspectorAt;   // and the Inspector
    int MainEdge;      // index of the monitor whose top the main window takes
    int InspectorEdge; // and whose side the Inspector takes
    int Decoy[2];      // a point on the same edge of another monitor: no reveal there
    int Removed;       // monitor removed while tucked, -1 for none
};

// The tucked and shown places on a monitor, for a window of the given size.
Box MainHidden(const Box& m, int height) {
    return {m.left, m.top + 5 - height, m.right, m.top + 5};
}
Box MainShown(const Box& m, int height) { return {m.left, m.top, m.right, m.top + height}; }
Box InspectorHidden(const Box& m, int width, bool right) {
    return right ? Box{m.right - 5, m.top, m.right - 5 + width, m.bottom}
                 : Box{m.left + 5 - width, m.top, m.left + 5, m.bottom};
}
Box InspectorShown(const Box& m, int width, bool right) {
    return right ? Box{m.right - width, m.top, m.right, m.bottom}
                 : Box{m.left, m.top, m.left + width, m.bottom};
}

class MonitorsOnXvfb : public ::testing::TestWithParam<Layout> {
protected:
    void SetUp() override {
        const Layout& l = GetParam();
        try {
            server_.Start(l.Width, l.Height, 140);
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        for (std::size_t i = 0; i < l.Monitors.size(); ++i)
            ASSERT_EQ(Xrandr("--setmonitor M" + std::to_string(i) + " " + Geometry(l.Monitors[i]) +
                             (i == 0 ? " screen" : " none")),
                      0);
        char pattern[] = "/tmp/wt-monitors-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        fs::create_directories(dir_ / "config" / "wingtucker");
        fs::create_directories(dir_ / "project");
        std::ofstream(dir_ / "config" / "wingtucker" / "Wingtckr.ini")
            << "[Wingtucker]\ngwHideInspector=True\ngwHideDelphi=True\ngwAnimate=False\n"
               "gwDelay=200\ngwSide="
            << (l.Right ? 1 : 0) << "\n";
        display_ = XOpenDisplay(server_.DisplayName().c_str());
        ASSERT_NE(display_, nullptr);
    }
    void TearDown() override {
        if (display_)
            XCloseDisplay(display_);
        if (!dir_.empty())
            fs::remove_all(dir_);
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

    // The top-level window of that class, and its rectangle as the server has it.
    std::optional<std::pair<Window, Box>> Find(const char* windowClass) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        std::optional<std::pair<Window, Box>> found;
        if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count))
            return found;
        for (unsigned i = 0; i < count && !found; ++i) {
            XClassHint hint{};
            if (!XGetClassHint(display_, children[i], &hint))
                continue;
            XWindowAttributes a{};
            if (std::string(hint.res_class) == windowClass &&
                XGetWindowAttributes(display_, children[i], &a) && a.map_state == IsViewable)
                found = {children[i], {a.x, a.y, a.x + a.width, a.y + a.height}};
            XFree(hint.res_name);
            XFree(hint.res_class);
        }
        XFree(children);
        return found;
    }
    Box RectOf(const char* windowClass) {
        auto found = Find(windowClass);
        return found ? found->second : Box{};
    }
    void Place(const char* windowClass, const Box& at) {
        auto found = Find(windowClass);
        ASSERT_TRUE(found) << "no " << windowClass;
        XMoveWindow(display_, found->first, at.left, at.top);
        XSync(display_, False);
    }
    // Pixels of the window on each monitor.
    std::vector<int> Showing(const Box& window, const std::vector<Box>& monitors) {
        std::vector<int> out;
        for (const Box& m : monitors)
            out.push_back(Overlap(window, m));
        return out;
    }
    bool Marker(const std::string& name) { return run_.WaitForOutput("@" + name + "\n", 20000); }

    test::XvfbServer server_;
    fs::path dir_;
    Display* display_ = nullptr;
    HostideRun run_;
};

std::string Script(const Layout& l, const fs::path& dir, const Box& mainTarget,
                   const Box& inspectorTarget) {
    std::ostringstream s;
    const int mainY = mainTarget.top + 2, mainX = mainTarget.left + 100;
    const int sideX = l.Right ? inspectorTarget.right - 2 : inspectorTarget.left + 1;
    const int sideY = (inspectorTarget.top + inspectorTarget.bottom) / 2;
    const Box& away = l.Monitors[l.MainEdge];
    s << "new-project " << (dir / "project" / "Demo.dpr").string() << "\n"
      << "menu Tools|Wingtucker 1.2d\nwait 1200\necho @ready\nwait 1500\n"
      << "click-button Start\nwait 1500\necho @tucked\nwait 1000\n"
      << "move " << l.Decoy[0] << " " << l.Decoy[1] << "\nwait 800\necho @decoy\nwait 600\n"
      << "move " << mainX << " " << mainY << "\nwait 1000\necho @main\nwait 600\n"
      << "move " << (away.left + away.right) / 2 << " " << away.bottom - 40 << "\nwait 800\n"
      << "move " << sideX << " " << sideY << "\nwait 1000\necho @inspector\nwait 600\n"
      << "move " << (away.left + away.right) / 2 << " " << away.bottom - 40 << "\nwait 800\n";
    if (l.Removed >= 0)
        s << "echo @remove\nwait 2000\necho @moved\nwait 800\n";
    s << "menu Tools|Wingtucker 1.2d\nwait 800\nclick-button Stop\nwait 1500\n"
      << "echo @stopped\nwait 800\nquit\n";
    return s.str();
}

TEST_P(MonitorsOnXvfb, EachWindowHangsFromAnOuterEdgeOfItsMonitor) {
    const Layout& l = GetParam();
    const Box mainMonitor = l.Monitors[l.MainEdge];
    const Box sideMonitor = l.Monitors[l.InspectorEdge];
    const fs::path script = dir_ / "test.script";
    std::ofstream(script) << Script(l, dir_, mainMonitor, sideMonitor);
    ASSERT_TRUE(run_.Start(server_.DisplayName(), (dir_ / "config").string(), script.string()));

    ASSERT_TRUE(Marker("ready")) << run_.Output();
    Place("TAppBuilder", l.MainAt);
    Place("TPropertyInspector", l.InspectorAt);
    const int height = RectOf("TAppBuilder").Height();
    const int width = RectOf("TPropertyInspector").Width();
    ASSERT_GT(height, 0);
    ASSERT_GT(width, 0);

    ASSERT_TRUE(Marker("tucked")) << run_.Output();
    const Box main = RectOf("TAppBuilder"), inspector = RectOf("TPropertyInspector");
    EXPECT_EQ(main, MainHidden(mainMonitor, height));
    EXPECT_EQ(inspector, InspectorHidden(sideMonitor, width, l.Right));
    for (std::size_t i = 0; i < l.Monitors.size(); ++i) {
        const int own = static_cast<int>(i);
        EXPECT_EQ(Showing(main, l.Monitors)[i], own == l.MainEdge ? 5 * mainMonitor.Width() : 0)
            << "main window's pixels on monitor " << i;
        EXPECT_EQ(Showing(inspector, l.Monitors)[i],
                  own == l.InspectorEdge ? 5 * sideMonitor.Height() : 0)
            << "Inspector's pixels on monitor " << i;
    }

    ASSERT_TRUE(Marker("decoy")) << run_.Output();
    EXPECT_EQ(RectOf("TAppBuilder"), main) << "the edge of another monitor revealed it";
    EXPECT_EQ(RectOf("TPropertyInspector"), inspector) << "the edge of another monitor revealed it";
    ASSERT_TRUE(Marker("main")) << run_.Output();
    EXPECT_EQ(RectOf("TAppBuilder"), MainShown(mainMonitor, height));
    ASSERT_TRUE(Marker("inspector")) << run_.Output();
    EXPECT_EQ(RectOf("TPropertyInspector"), InspectorShown(sideMonitor, width, l.Right));
    EXPECT_EQ(RectOf("TAppBuilder"), main) << "the main window tucked again";

    if (l.Removed >= 0) {
        ASSERT_TRUE(Marker("remove")) << run_.Output();
        ASSERT_EQ(Xrandr("--delmonitor M" + std::to_string(l.Removed)), 0);
        ASSERT_TRUE(Marker("moved")) << run_.Output();
        const Box left = l.Monitors[l.Removed == 0 ? 1 : 0];
        EXPECT_EQ(RectOf("TAppBuilder"), MainHidden(left, height));
        EXPECT_EQ(RectOf("TPropertyInspector"), InspectorHidden(left, width, l.Right));
    }
    ASSERT_TRUE(Marker("stopped")) << run_.Output();
    for (auto [cls, at] :
         {std::pair{"TAppBuilder", l.MainAt}, {"TPropertyInspector", l.InspectorAt}}) {
        const Box back = RectOf(cls);
        if (l.Removed < 0) {
            EXPECT_EQ(back.left, at.left) << cls << " back in its place";
            EXPECT_EQ(back.top, at.top) << cls << " back in its place";
        } else {
            const Box left = l.Monitors[l.Removed == 0 ? 1 : 0];
            EXPECT_EQ(Overlap(back, left), back.Width() * back.Height())
                << cls << " " << back << " wholly on the monitor left";
        }
    }
    EXPECT_EQ(run_.Wait(20000), 0) << run_.Output();
}

constexpr Box L{0, 0, 1024, 768}, R{1024, 0, 2048, 768};
constexpr Box Big{0, 0, 1280, 1024}, Small{1280, 256, 2304, 1024};
constexpr Box Up{0, 0, 1024, 768}, Down{0, 768, 1024, 1536};

INSTANTIATE_TEST_SUITE_P(Layouts, MonitorsOnXvfb,
                         ::testing::Values(
                             // The Inspector on the left monitor asked for the right side: that
                             // edge is inner, so it goes across to the right monitor's.
                             Layout{"beside_right",
                                    2048,
                                    768,
                                    {L, R},
                                    true,
                                    {1200, 200, 0, 0},
                                    {100, 200, 0, 0},
                                    1,
                                    1,
                                    {500, 2},
                                    -1},
                             Layout{"beside_left",
                                    2048,
                                    768,
                                    {L, R},
                                    false,
                                    {100, 200, 0, 0},
                                    {1200, 200, 0, 0},
                                    0,
                                    0,
                                    {1500, 2},
                                    -1},
                             Layout{"bottoms_level_right",
                                    2304,
                                    1024,
                                    {Big, Small},
                                    true,
                                    {1400, 400, 0, 0},
                                    {300, 300, 0, 0},
                                    1,
                                    1,
                                    {100, 100},
                                    -1},
                             Layout{"bottoms_level_left",
                                    2304,
                                    1024,
                                    {Big, Small},
                                    false,
                                    {300, 300, 0, 0},
                                    {1400, 400, 0, 0},
                                    0,
                                    0,
                                    {1281, 600},
                                    -1},
                             Layout{"stacked_right",
                                    1024,
                                    1536,
                                    {Up, Down},
                                    true,
                                    {100, 900, 0, 0},
                                    {100, 1000, 0, 0},
                                    0,
                                    1,
                                    {1022, 300},
                                    -1},
                             Layout{"stacked_left",
                                    1024,
                                    1536,
                                    {Up, Down},
                                    false,
                                    {100, 100, 0, 0},
                                    {100, 900, 0, 0},
                                    0,
                                    1,
                                    {1, 300},
                                    -1},
                             Layout{"removed_while_tucked",
                                    2048,
                                    768,
                                    {L, R},
                                    true,
                                    {1200, 200, 0, 0},
                                    {1300, 200, 0, 0},
                                    1,
                                    1,
                                    {500, 2},
                                    1}),
                         [](const ::testing::TestParamInfo<Layout>& info) {
                             return std::string(info.param.Name);
                         });

} // namespace
} // namespace wt::e2e
