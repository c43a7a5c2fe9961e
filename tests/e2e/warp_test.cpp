// hostide with the add-in on a private Xvfb, the pointer moved by warps
// (XWarpPointer, as keyboard-mouse and accessibility tools move it): they
// make no raw motion, yet a warp onto the strip reveals the main window and
// one away from it tucks the window again.
#include "tests/e2e/configure_watch.h"
#include "tests/e2e/hostide_run.h"
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace wt::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kMain = "TAppBuilder";

class WarpOnXvfb : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = new test::XvfbServer;
        try {
            server_->Start(1024, 768, 120);
        } catch (const std::exception& e) {
            serverError_ = e.what();
        }
    }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(serverError_.empty()) << serverError_;
        char pattern[] = "/tmp/wt-warp-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        fs::create_directories(dir_ / "config" / "wingtucker");
        fs::create_directories(dir_ / "project");
        std::ofstream(dir_ / "config" / "wingtucker" / "Wingtckr.ini")
            << "[Wingtucker]\ngwHideInspector=False\ngwHideDelphi=True\ngwAnimate=False\n"
               "gwDelay=200\ngwDisableOnFocusLoss=False\n";
        warper_ = XOpenDisplay(server_->DisplayName().c_str());
        ASSERT_NE(warper_, nullptr);
    }
    void TearDown() override {
        if (warper_)
            XCloseDisplay(warper_);
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    void Warp(int x, int y) {
        XWarpPointer(warper_, None, DefaultRootWindow(warper_), 0, 0, 0, 0, x, y);
        XFlush(warper_);
    }

    // Waits for a configure event of the main window with this top and
    // bottom, from the events not looked at yet. With a point given, warps
    // the pointer there and to the next pixel by turns, 100 ms apart, while
    // waiting: the hook connects on its own thread after the tuck, so the
    // first warps may come before it listens.
    bool WaitForPlace(ConfigureWatch& watch, int top, int bottom, int x = -1, int y = -1) {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        auto nextWarp = std::chrono::steady_clock::now();
        int warps = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            if (x >= 0 && std::chrono::steady_clock::now() >= nextWarp) {
                Warp(x + warps % 2, y);
                ++warps;
                nextWarp += 100ms;
            }
            watch.Drain();
            for (; seen_ < watch.Events().size(); ++seen_) {
                if (watch.Events()[seen_].top == top && watch.Events()[seen_].bottom == bottom)
                    return true;
            }
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

    static test::XvfbServer* server_;
    static std::string serverError_;
    fs::path dir_;
    Display* warper_ = nullptr;
    std::size_t seen_ = 0;
    HostideRun run_;
};

test::XvfbServer* WarpOnXvfb::server_ = nullptr;
std::string WarpOnXvfb::serverError_;

TEST_F(WarpOnXvfb, AWarpOntoTheStripRevealsTheMainWindowAndOneAwayTucksIt) {
    ConfigureWatch watch(server_->DisplayName());
    ASSERT_TRUE(watch.Connected());
    // The pointer only ever moves by warps: the click on Start is the one
    // device motion, and it lands on the panel.
    const fs::path script = dir_ / "test.script";
    std::ofstream(script) << "new-project " << (dir_ / "project" / "Demo.dpr").string() << "\n"
                          << "menu Tools|Wingtucker 1.2d\nwait 1500\n"
                          << "click 593 393\nwait 6000\necho @end\nrects\nquit\n";
    ASSERT_TRUE(run_.Start(server_->DisplayName(), (dir_ / "config").string(), script.string()));
    ASSERT_TRUE(watch.Attach(kMain, 5000)) << "no " << kMain << " window";

    const bool tucked = WaitForPlace(watch, -101, 5);
    EXPECT_TRUE(tucked) << "Start did not tuck the main window";
    bool revealed = false, tuckedAgain = false;
    if (tucked) {
        revealed = WaitForPlace(watch, 0, 106, 512, 3);
        EXPECT_TRUE(revealed) << "warps onto the strip did not reveal the main window";
    }
    if (revealed) {
        tuckedAgain = WaitForPlace(watch, -101, 5, 600, 500);
        EXPECT_TRUE(tuckedAgain) << "warps away from the main window did not tuck it";
    }
    EXPECT_EQ(run_.Wait(15000), 0) << "hostide output:\n" << run_.Output();
    const WindowRect* end = run_.Rect("end", kMain);
    ASSERT_NE(end, nullptr) << run_.Output();
    if (tuckedAgain) {
        EXPECT_EQ(end->top, -101) << "main window at the end";
    }
}

} // namespace
} // namespace wt::e2e
