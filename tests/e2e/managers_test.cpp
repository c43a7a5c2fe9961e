// The add-in in hostide under each window manager it is meant for, on a
// private Xvfb: what the manager itself keeps on screen when a program asks
// (measured, not assumed), then one session as a user has it: Start, exact
// strips of HangOutPixels for both windows, reveal by the pointer, the
// revealed main window's menus by mouse and by Alt+letter, a word typed into
// the revealed Inspector, re-tucks, and Stop putting both back exactly,
// framed as before.
#include "tests/e2e/hostide_run.h"
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool) would break its templates.
#include "platform/tuck_guard.h"
#include "platform/x11/x11_desktop.h"
#include "platform/x11/x11_platform.h"
#include "tests/x11/test_client.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

namespace wt::e2e {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMain = "TAppBuilder";
constexpr const char* kInspector = "TPropertyInspector";
// The session's HangOutPixels: not the default 5, so that a setting that
// was not read would show.
constexpr int kStrip = 3;
// The rows a plain request asks a manager to leave, as docs/USER_GUIDE.md's
// table reports them.
constexpr int kProbeStrip = 5;
constexpr int kRunTimeoutMs = 40000;

struct ManagerCase {
    const char* Program;    // "" for none
    const char* NamePrefix; // how it names itself (_NET_WM_NAME)
};

void PrintTo(const ManagerCase& c, std::ostream* os) { *os << (*c.Program ? c.Program : "none"); }

std::string CaseName(const ::testing::TestParamInfo<ManagerCase>& info) {
    return *info.param.Program ? info.param.Program : "none";
}

class UnderManager : public ::testing::TestWithParam<ManagerCase> {
protected:
    void SetUp() override {
        const ManagerCase& c = GetParam();
        if (*c.Program) {
            manager_ = std::make_unique<test::WindowManager>(c.Program);
            if (!manager_->Installed())
                GTEST_SKIP() << c.Program << " is not installed";
        }
        server_.Start(1024, 768, 140);
        if (manager_)
            manager_->Start(server_.DisplayName());
        char pattern[] = "/tmp/wt-wm-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        fs::create_directories(dir_ / "config" / "wingtucker");
        fs::create_directories(dir_ / "project");
        // The focus handling stays at its default, as a new user has it.
        std::ofstream(dir_ / "config" / "wingtucker" / "Wingtckr.ini")
            << "[Wingtucker]\ngwHideInspector=True\ngwHideDelphi=True\ngwSide=0\n"
               "gwAnimate=False\ngwDelay=200\nHangOutPixels="
            << kStrip << "\n";
    }
    void TearDown() override {
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    const test::WindowManager* Manager() const { return manager_.get(); }
    std::string Display() const { return server_.DisplayName(); }

    void Run(const std::string& script) {
        const fs::path file = dir_ / "test.script";
        std::ofstream(file) << script;
        ASSERT_TRUE(run_.Start(Display(), (dir_ / "config").string(), file.string()));
        EXPECT_EQ(run_.Wait(kRunTimeoutMs), 0) << "hostide output:\n" << run_.Output();
    }
    bool Printed(const std::string& line) const {
        return run_.Output().find(line + "\n") != std::string::npos;
    }
    std::string Project() const { return (dir_ / "project" / "Demo.dpr").string(); }

    test::XvfbServer server_;
    std::unique_ptr<test::WindowManager> manager_;
    fs::path dir_;
    HostideRun run_;
};

std::string Show(const WindowRect* r) {
    if (!r)
        return "(none)";
    std::ostringstream s;
    s << "(" << r->left << ", " << r->top << ", " << r->right << ", " << r->bottom << ")"
      << (r->mapped ? "" : " unmapped") << (r->framed ? " framed" : " bare");
    return s.str();
}

void ExpectRect(const WindowRect* r, int left, int top, int right, int bottom,
                const std::string& what) {
    ASSERT_NE(r, nullptr) << what;
    EXPECT_TRUE(r->left == left && r->top == top && r->right == right && r->bottom == bottom &&
                r->mapped)
        << what << ": " << Show(r) << ", wanted (" << left << ", " << top << ", " << right << ", "
        << bottom << ")";
}

// What the manager does with a plain request to leave kProbeStrip rows of a
// window on screen, next to what the platform's own way makes of it.
TEST_P(UnderManager, TheManagersOwnRuleIsMeasuredAndTheChosenWayLandsExactly) {
    setenv("DISPLAY", Display().c_str(), 1);
    test::TestClient client;
    test::WindowSetup setup;
    setup.ClassName = "Probe";
    setup.Title = "probe";
    setup.Rect = {100, 100, 400, 300};
    const Window window = client.Create(setup);
    X11Platform platform(Display());
    X11Desktop& desktop = platform.Desktop();
    const std::string name = desktop.ManagerName();
    EXPECT_EQ(name.rfind(GetParam().NamePrefix, 0), 0u) << "the manager calls itself " << name;

    const TRect home = *desktop.OuterRect(window);
    const TRect tucked{home.Left, kProbeStrip - home.Height(), home.Right, kProbeStrip};
    desktop.Move(window, tucked, true); // asked through the manager, no more
    const TRect asked = *desktop.OuterRect(window);
    const int kept = asked.Bottom;
    RecordProperty("rows_kept_when_asked", kept);
    std::printf("%s keeps %d of %d rows on screen when asked for %d\n",
                name.empty() ? "no manager" : name.c_str(), kept, home.Height(), kProbeStrip);
    desktop.Move(window, home, true);
    // A manager that clamps must not be left to decide.
    const TuckPlan plan = PlanFor(name);
    if (kept != kProbeStrip) {
        EXPECT_TRUE(plan.First == TuckWay::TakeFromManager || plan.Fallback)
            << name << " clamps, yet its plan only asks it";
    }

    ASSERT_TRUE(platform.Windows().MoveWindow(window, tucked.Left, tucked.Top, tucked.Width(),
                                              tucked.Height(), true));
    EXPECT_EQ(desktop.OuterRect(window), std::optional<TRect>(tucked)) << "the tuck, checked";
    ASSERT_TRUE(platform.Windows().MoveWindow(window, home.Left, home.Top, home.Width(),
                                              home.Height(), true));
    EXPECT_EQ(desktop.OuterRect(window), std::optional<TRect>(home)) << "back home";
    // Managed again: not override-redirect, in the normal state, and, under
    // a manager, in its frame.
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(desktop.GetDisplay(), window, &attributes));
    EXPECT_FALSE(attributes.override_redirect) << "left unmanaged";
    if (Manager()) {
        EXPECT_EQ(desktop.WmStateOf(window), std::optional<unsigned long>(NormalState))
            << "not normal";
        EXPECT_NE(desktop.ParentWindow(window), desktop.Root()) << "not in a frame";
    }
    EXPECT_FALSE(platform.Guard().Refused());
    client.Destroy(window);
}

// The outer rectangle once the manager has framed a window it just mapped
// (openbox reads 12x35 for a moment): the same twice in a row, 20 ms apart.
TRect Settled(X11Desktop& desktop, Window window) {
    TRect now = desktop.OuterRect(window).value_or(TRect{});
    for (int look = 0; look < 100; ++look) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const TRect again = desktop.OuterRect(window).value_or(TRect{});
        if (again == now)
            break;
        now = again;
    }
    return now;
}

// A reveal gives the window back to the manager; a tuck may follow at once
// (the pointer only crossed the strip), before the manager has shown the
// window again: the tuck must still take it and land, and no refusal be told.
TEST_P(UnderManager, ATuckRightAfterARevealLandsAndIsNoRefusal) {
    setenv("DISPLAY", Display().c_str(), 1);
    test::TestClient client;
    test::WindowSetup setup;
    setup.ClassName = "Probe";
    setup.Title = "probe";
    setup.Rect = {0, 0, 1024, 106};
    const Window window = client.Create(setup);
    X11Platform platform(Display());
    X11Desktop& desktop = platform.Desktop();
    const TRect home = Settled(desktop, window);
    const TRect tucked{home.Left, kStrip - home.Height(), home.Right, kStrip};
    for (int round = 0; round < 8; ++round) {
        platform.Windows().MoveWindow(window, tucked.Left, tucked.Top, tucked.Width(),
                                      tucked.Height(), true);
        ASSERT_EQ(desktop.OuterRect(window), std::optional<TRect>(tucked)) << "tuck " << round;
        ASSERT_TRUE(platform.Windows().MoveWindow(window, home.Left, home.Top, home.Width(),
                                                  home.Height(), true));
        ASSERT_EQ(desktop.OuterRect(window), std::optional<TRect>(home)) << "reveal " << round;
    }
    EXPECT_FALSE(platform.Guard().Refused());
    client.Destroy(window);
}

TEST_P(UnderManager, TucksLandExactlyAndTheRevealedWindowsWork) {
    std::ostringstream s;
    s << "new-project " << Project() << "\n"
      << "menu Tools|Wingtucker 1.2d\nwait 700\necho @before\nrects\n"
      << "click-button Start\nwait 1500\necho @started\nrects\n"
      // The main window: the pointer rests on its strip, then its menus.
      << "move 512 1\nmove 513 2\nwait 1200\necho @revealed\nrects\n"
      << "click-menu View\nwait 400\necho @mouse-menu\nfocus\nkey Escape\nwait 200\n"
      << "key alt+f\nwait 400\necho @alt-menu\nfocus\nkey Escape\nwait 200\n"
      << "move 600 500\nmove 601 501\nwait 1200\necho @retucked\nrects\n"
      // The Inspector: revealed, a value typed in, tucked again.
      << "move 1 400\nmove 0 401\nwait 1200\necho @inspector\nrects\n"
      << "click-property Caption\nwait 400\ntype hello\nkey Return\nwait 300\n"
      << "echo @typed\nproperty Caption\nfocus\n"
      << "move 600 500\nmove 601 501\nwait 1200\necho @inspector-retucked\nrects\n"
      // Stop, from the panel.
      << "menu Tools|Wingtucker 1.2d\nwait 700\nclick-button Stop\nwait 1500\n"
      << "echo @stopped\nrects\nquit\n";
    Run(s.str());

    const WindowRect* main = run_.Rect("before", kMain);
    const WindowRect* inspector = run_.Rect("before", kInspector);
    ASSERT_TRUE(main && inspector) << run_.Output();
    EXPECT_EQ(main->framed, Manager() != nullptr) << Show(main);
    const int h = main->bottom - main->top, w = inspector->right - inspector->left;

    ExpectRect(run_.Rect("started", kMain), 0, kStrip - h, 1024, kStrip, "main window tucked");
    const WindowRect* tucked = run_.Rect("started", kInspector);
    ASSERT_NE(tucked, nullptr);
    ExpectRect(tucked, kStrip - w, 0, kStrip, tucked->bottom, "Inspector tucked");
    EXPECT_GT(tucked->bottom, 400) << "the Inspector stands as high as the work area";

    ExpectRect(run_.Rect("revealed", kMain), 0, 0, 1024, h, "main window revealed");
    EXPECT_EQ(run_.Rect("revealed", kMain)->framed, main->framed) << "decorated as before";
    // While a menu is open the menu holds the focus: only the menu is asked for.
    EXPECT_NE(run_.Output().find("@mouse-menu\nfocus "), std::string::npos);
    EXPECT_NE(run_.Output().find(" popup View\n@alt-menu"), std::string::npos) << run_.Output();
    EXPECT_TRUE(Printed("@alt-menu\nfocus TAppBuilder popup File")) << run_.Output();
    ExpectRect(run_.Rect("retucked", kMain), 0, kStrip - h, 1024, kStrip, "main window re-tucked");

    ExpectRect(run_.Rect("inspector", kInspector), 0, 0, w, tucked->bottom, "Inspector revealed");
    EXPECT_TRUE(Printed("@typed\nproperty Caption hello")) << run_.Output();
    EXPECT_TRUE(Printed("focus TPropertyInspector popup none")) << run_.Output();
    ExpectRect(run_.Rect("inspector-retucked", kInspector), kStrip - w, 0, kStrip, tucked->bottom,
               "Inspector re-tucked");

    for (const auto& [cls, before] : {std::pair{kMain, main}, std::pair{kInspector, inspector}}) {
        const WindowRect* after = run_.Rect("stopped", cls);
        ExpectRect(after, before->left, before->top, before->right, before->bottom,
                   std::string(cls) + " after Stop");
        ASSERT_NE(after, nullptr);
        EXPECT_EQ(after->framed, before->framed) << cls << " decorated as before Start";
    }
    EXPECT_EQ(run_.Output().find("keeps the IDE's windows on the screen"), std::string::npos)
        << "a refusal under a manager that should have been passed";
}

INSTANTIATE_TEST_SUITE_P(Desktops, UnderManager,
                         ::testing::Values(ManagerCase{"", ""}, ManagerCase{"fluxbox", "Fluxbox"},
                                           ManagerCase{"openbox", "Openbox"},
                                           ManagerCase{"xfwm4", "Xfwm4"},
                                           ManagerCase{"metacity", "Metacity"},
                                           ManagerCase{"icewm", "IceWM"}),
                         CaseName);

} // namespace
} // namespace wt::e2e
