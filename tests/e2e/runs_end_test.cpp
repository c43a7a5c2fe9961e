// Every way a run of the engine ends, under every window manager we serve,
// animated or not, with the Inspector going to either edge: Stop, Save
// Desktop while running, Close Project, unloading. After each, both windows
// are managed (framed) again exactly where they stood before Start, and five
// Start, Stop and Save cycles leave the project's desktop file byte for byte
// as it was. The focus handling is left at its default, so a reveal by the
// pointer also shows that the add-in's own hiding and tucking do not count
// as another program becoming active.
#include "tests/e2e/hostide_run.h"
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool) would break its templates.
#include "tests/e2e/top_windows.h"
#include "tests/x11/test_client.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace wt::e2e {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMain = "TAppBuilder";
constexpr const char* kInspector = "TPropertyInspector";
constexpr int kRunTimeoutMs = 90000;
constexpr int kCycles = 5;

struct RunsCase {
    const char* Manager; // "" for none
    bool Animate;
    int Side;
};

std::string Name(const RunsCase& c) {
    return std::string(*c.Manager ? c.Manager : "none") + (c.Animate ? "_animated" : "_still") +
           (c.Side == 1 ? "_right" : "_left");
}

void PrintTo(const RunsCase& c, std::ostream* os) { *os << Name(c); }

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Show(const WindowRect* r) {
    if (!r)
        return "(none)";
    std::ostringstream s;
    s << r->left << " " << r->top << " " << r->right << " " << r->bottom
      << (r->mapped ? " mapped" : " unmapped") << (r->framed ? " framed" : " bare");
    return s.str();
}

class RunsEnd : public ::testing::TestWithParam<RunsCase> {
protected:
    void SetUp() override {
        const RunsCase& c = GetParam();
        if (*c.Manager) {
            manager_ = std::make_unique<test::WindowManager>(c.Manager);
            if (!manager_->Installed())
                GTEST_SKIP() << c.Manager << " is not installed";
        }
        server_.Start(1024, 768, 150);
        if (manager_)
            manager_->Start(server_.DisplayName());
        char pattern[] = "/tmp/wt-runs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        fs::create_directories(dir_ / "config" / "wingtucker");
        fs::create_directories(dir_ / "project");
        // gwDisableOnFocusLoss is left out: its default is what users have.
        std::ofstream(dir_ / "config" / "wingtucker" / "Wingtckr.ini")
            << "[Wingtucker]\ngwHideInspector=True\ngwHideDelphi=True\ngwDelay=100\n"
            << "gwAnimate=" << (c.Animate ? "True" : "False") << "\ngwSide=" << c.Side << "\n";
    }
    void TearDown() override {
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    fs::path Project() const { return dir_ / "project" / "Demo.dpr"; }
    fs::path Desktop() const { return dir_ / "project" / "Demo.dsk"; }

    // Each way shows where both windows stand under its marker.
    void ExpectHome(const std::string& marker) {
        for (const char* cls : {kMain, kInspector}) {
            const WindowRect* before = run_.Rect("before", cls);
            const WindowRect* after = run_.Rect(marker, cls);
            ASSERT_TRUE(before && after) << marker << "\n" << run_.Output();
            EXPECT_EQ(Show(after), Show(before)) << cls << " after " << marker;
            EXPECT_EQ(after->framed, manager_ != nullptr) << cls << " after " << marker;
        }
    }

    test::XvfbServer server_;
    std::unique_ptr<test::WindowManager> manager_;
    fs::path dir_;
    HostideRun run_;
};

constexpr const char* kPanel = "menu Tools|Wingtucker 1.2d\nwait 400\n";
constexpr const char* kStart = "click-button Start\nwait 700\n";
constexpr const char* kStop = "menu Tools|Wingtucker 1.2d\nwait 400\nclick-button Stop\nwait 700\n";

TEST_P(RunsEnd, EveryWayBackLeavesBothWindowsManagedWhereTheyWere) {
    std::ostringstream s;
    s << "new-project " << Project().string() << "\n"
      << kPanel
      << "save-desktop\necho @saved\necho @before\nrects\n"
      // Stop, after a reveal by the pointer and a tuck.
      << kStart << "move 512 1\nmove 513 2\nwait 900\necho @revealed\nrects\n"
      << "move 600 500\nmove 601 501\nwait 900\n"
      << kStop << "echo @stop\nrects\nsave-desktop\n";
    for (int cycle = 1; cycle < kCycles; ++cycle)
        s << kStart << kStop << "save-desktop\n";
    // Save Desktop while running brings the windows back and saves them.
    s << kStart << "save-desktop\nwait 500\necho @saved-running\nrects\n"
      << kStop
      // Close Project while running.
      << kStart << "close-project\nwait 900\necho @closed\nrects\n"
      << "open-project " << Project().string()
      << "\nwait 300\n"
      // Unloading the add-in while running, as the host does at exit.
      << kPanel << kStart << "unload\nwait 900\necho @unloaded\nrects\nquit\n";
    const fs::path script = dir_ / "runs.script";
    std::ofstream(script) << s.str();
    ASSERT_TRUE(run_.Start(server_.DisplayName(), (dir_ / "config").string(), script.string()));
    ASSERT_TRUE(run_.WaitForOutput("@saved\n", kRunTimeoutMs)) << run_.Output();
    const std::string saved = ReadFile(Desktop());
    EXPECT_EQ(run_.Wait(kRunTimeoutMs), 0) << run_.Output();

    const WindowRect* tucked = run_.Rect("before", kMain);
    ASSERT_NE(tucked, nullptr) << run_.Output();
    const WindowRect* revealed = run_.Rect("revealed", kMain);
    ASSERT_NE(revealed, nullptr) << run_.Output();
    EXPECT_EQ(revealed->top, 0) << "the strip revealed nothing with the default focus handling: "
                                << Show(revealed);
    for (const char* marker : {"stop", "saved-running", "closed", "unloaded"})
        ExpectHome(marker);
    EXPECT_FALSE(saved.empty());
    EXPECT_EQ(ReadFile(Desktop()), saved) << "the desktop file drifted over the cycles";
    EXPECT_EQ(run_.Output().find("keeps the IDE's windows on the screen"), std::string::npos);
}

std::vector<RunsCase> AllCases() {
    std::vector<RunsCase> cases;
    for (const char* manager : {"", "fluxbox", "openbox", "xfwm4", "metacity", "icewm"})
        for (bool animate : {false, true})
            for (int side : {0, 1})
                cases.push_back({manager, animate, side});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Matrix, RunsEnd, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<RunsCase>& info) {
                             return Name(info.param);
                         });

// xfwm4 focuses no window once the panel hides and the windows are taken:
// the host stays active. Another program's window becoming active later
// still switches the strips off, and a click on a strip brings them back.
TEST(FocusUnderXfwm4, OnlyAnotherProgramBecomingActiveSwitchesTheStripsOff) {
    test::WindowManager manager("xfwm4");
    if (!manager.Installed())
        GTEST_SKIP() << "xfwm4 is not installed";
    test::XvfbServer server;
    server.Start(1024, 768, 170);
    manager.Start(server.DisplayName());
    char pattern[] = "/tmp/wt-focus-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    fs::create_directories(dir / "config" / "wingtucker");
    fs::create_directories(dir / "project");
    std::ofstream(dir / "config" / "wingtucker" / "Wingtckr.ini")
        << "[Wingtucker]\ngwHideInspector=True\ngwHideDelphi=True\ngwDelay=100\n";
    std::ofstream(dir / "focus.script")
        << "new-project " << (dir / "project" / "Demo.dpr").string() << "\n"
        << kPanel << kStart << "echo @started\nrects\nfocus\n"
        << "move 512 1\nmove 513 2\nwait 900\necho @active\nrects\n"
        // Working in the revealed IDE makes it the active program again.
        << "click 900 100\nwait 300\n"
        << "move 600 600\nmove 601 601\nwait 900\nrects\nwait 600\necho @ready\nwait 1500\n"
        << "move 512 1\nmove 513 2\nwait 900\necho @elsewhere\nrects\n"
        << "click 512 3\nwait 300\nmove 513 4\nmove 512 3\nwait 900\necho @back\nrects\nquit\n";
    setenv("DISPLAY", server.DisplayName().c_str(), 1);
    test::TestClient other;
    test::WindowSetup setup;
    setup.ClassName = "Other";
    setup.Title = "Another program";
    setup.Rect = {300, 300, 600, 500};
    const Window window = other.Create(setup);
    HostideRun run;
    ASSERT_TRUE(run.Start(server.DisplayName(), (dir / "config").string(),
                          (dir / "focus.script").string()));
    ASSERT_TRUE(run.WaitForOutput("@ready", kRunTimeoutMs)) << run.Output();
    test::RequestActivation(other.GetDisplay(), window);
    EXPECT_EQ(run.Wait(kRunTimeoutMs), 0) << run.Output();
    fs::remove_all(dir);

    EXPECT_NE(run.Output().find("@started\n"), std::string::npos);
    const WindowRect* tucked = run.Rect("started", kMain);
    ASSERT_NE(tucked, nullptr) << run.Output();
    EXPECT_EQ(Show(run.Rect("active", kMain)).rfind("0 0 1024 ", 0), 0u)
        << "no reveal while no window had the focus\n"
        << run.Output();
    EXPECT_EQ(Show(run.Rect("elsewhere", kMain)), Show(tucked))
        << "revealed while another program was active";
    EXPECT_EQ(Show(run.Rect("back", kMain)).rfind("0 0 1024 ", 0), 0u)
        << "no reveal once the host was active again\n"
        << run.Output();
}

} // namespace
} // namespace wt::e2e
