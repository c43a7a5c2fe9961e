// hostide with the add-in under openbox, at the edges of what a user does: a
// drag across the strip with a button held reveals nothing until the button
// is let go there, a full-screen window in front keeps the edge to itself,
// the reveal key brings the window out, and a maximized main window is
// tucked and maximized again at Stop.
#include "platform/x11/x11_windows.h"
#include "tests/e2e/hostide_run.h"
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

namespace wt::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class UnderOpenbox : public ::testing::Test {
protected:
    void SetUp() override {
        try {
            server_.Start(1024, 768, 160);
            manager_.Start(server_.DisplayName());
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        ASSERT_TRUE(folder_.Made());
        display_ = XOpenDisplay(server_.DisplayName().c_str());
        ASSERT_NE(display_, nullptr);
    }
    void TearDown() override {
        windows_.reset();
        if (display_)
            XCloseDisplay(display_);
        manager_.Stop();
    }

    void Motion(int x, int y) {
        XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
        XSync(display_, False);
    }
    void Button(bool down) {
        XTestFakeButtonEvent(display_, 1, down ? True : False, CurrentTime);
        XSync(display_, False);
    }
    // The main window's outer top after time to react (the reveal delay is
    // 200 ms), read on a connection of the test's own.
    int MainTopAfter(std::chrono::milliseconds wait) {
        std::this_thread::sleep_for(wait);
        const WindowHandle main = Main();
        return main ? windows_->GetWindowRect(main).Top : 1 << 30;
    }
    WindowHandle Main() {
        for (WindowHandle w : windows_->TopLevelWindows())
            if (auto facts = windows_->FactsOf(w); facts && facts->Class == "TAppBuilder")
                return w;
        return 0;
    }
    // A window that asks the manager for full screen before it is shown.
    Window FullScreenWindow() {
        Window w =
            XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 400, 300, 0, 0, 0);
        Atom state = XInternAtom(display_, "_NET_WM_STATE", False);
        Atom full = XInternAtom(display_, "_NET_WM_STATE_FULLSCREEN", False);
        XChangeProperty(display_, w, state, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&full), 1);
        XMapWindow(display_, w);
        XSync(display_, False);
        return w;
    }

    test::XvfbServer server_;
    test::WindowManager manager_{"openbox"};
    // Another program's window becomes active here: the strips stay on.
    RunFolder folder_{"wt-drag", "gwHideInspector=False\ngwHideDelphi=True\ngwAnimate=False\n"
                                 "gwDelay=200\ngwDisableOnFocusLoss=False\n"};
    Display* display_ = nullptr;
    HostideRun run_;
    std::unique_ptr<X11Windows> windows_;
};

TEST_F(UnderOpenbox, AHeldButtonDelaysTheRevealAndAFullScreenWindowKeepsTheEdge) {
    windows_ = std::make_unique<X11Windows>(server_.DisplayName());
    const fs::path script = folder_.Path() / "test.script";
    std::ofstream(script) << "new-project " << folder_.Project() << "\n"
                          << "menu Tools|Wingtucker 1.2d\nwait 1500\nclick-button Start\n"
                          << "wait 10000\nquit\n";
    ASSERT_TRUE(run_.Start(server_.DisplayName(), folder_.ConfigHome(), script.string()));
    const int tucked = MainTopAfter(3500ms);
    ASSERT_LT(tucked, -90) << run_.Output(); // the frame included under openbox

    Motion(500, 400);
    Button(true);
    Motion(500, 300);
    Motion(500, 2);
    EXPECT_EQ(MainTopAfter(700ms), tucked) << "revealed with the button held";
    Button(false);
    EXPECT_EQ(MainTopAfter(700ms), 0) << "not revealed once the button was let go";
    Motion(500, 500);
    ASSERT_EQ(MainTopAfter(500ms), tucked);

    const Window full = FullScreenWindow();
    std::this_thread::sleep_for(800ms);
    Motion(500, 1);
    EXPECT_EQ(MainTopAfter(800ms), tucked) << "revealed over a full-screen window";
    XDestroyWindow(display_, full);
    XSync(display_, False);
    Motion(501, 2);
    EXPECT_EQ(MainTopAfter(800ms), 0) << "the edge stayed the full-screen window's";
    run_.Wait(20000);
}

// The reveal key, with the focus handling at its default: pressed anywhere,
// it brings the main window out; it goes once the pointer has been over it.
TEST_F(UnderOpenbox, TheRevealKeyBringsTheWindowOutUntilThePointerLeavesIt) {
    windows_ = std::make_unique<X11Windows>(server_.DisplayName());
    std::ofstream(folder_.Path() / "config" / "wingtucker" / "Wingtckr.ini")
        << "[Wingtucker]\ngwHideDelphi=True\ngwAnimate=False\nRevealKey=ctrl+alt+w\n";
    const fs::path script = folder_.Path() / "test.script";
    std::ofstream(script) << "new-project " << folder_.Project() << "\n"
                          << "menu Tools|Wingtucker 1.2d\nwait 1500\nclick-button Start\n"
                          << "wait 7000\nquit\n";
    ASSERT_TRUE(run_.Start(server_.DisplayName(), folder_.ConfigHome(), script.string()));
    const int tucked = MainTopAfter(3500ms);
    ASSERT_LT(tucked, -90) << run_.Output();

    Motion(500, 500);
    const unsigned keys[] = {XKeysymToKeycode(display_, XK_Control_L),
                             XKeysymToKeycode(display_, XK_Alt_L),
                             XKeysymToKeycode(display_, XK_w)};
    for (unsigned key : keys)
        XTestFakeKeyEvent(display_, key, True, CurrentTime);
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
        XTestFakeKeyEvent(display_, *it, False, CurrentTime);
    XSync(display_, False);
    EXPECT_EQ(MainTopAfter(700ms), 0) << "the key did not reveal the main window";
    Motion(500, 480);
    EXPECT_EQ(MainTopAfter(400ms), 0) << "gone before the pointer was over it";
    Motion(500, 60); // a while over it: the hook reads the pointer at most every 15 ms
    std::this_thread::sleep_for(200ms);
    Motion(500, 500);
    EXPECT_EQ(MainTopAfter(700ms), tucked) << "not tucked once the pointer left it";
    run_.Wait(20000);
}

// Maximized by the user before Start: tucked at its normal height, and
// maximized again, over the whole screen, once Stop gives it back.
TEST_F(UnderOpenbox, AMaximizedMainWindowIsTuckedAndMaximizedAgainAtStop) {
    windows_ = std::make_unique<X11Windows>(server_.DisplayName());
    const fs::path script = folder_.Path() / "test.script";
    std::ofstream(script) << "new-project " << folder_.Project() << "\n"
                          << "menu Tools|Wingtucker 1.2d\nwait 800\necho @ready\nwait 2000\n"
                          << "click-button Start\nwait 2000\necho @tucked\nwait 800\n"
                          << "menu Tools|Wingtucker 1.2d\nwait 800\nclick-button Stop\n"
                          << "wait 2000\necho @stopped\nwait 800\nquit\n";
    ASSERT_TRUE(run_.Start(server_.DisplayName(), folder_.ConfigHome(), script.string()));
    ASSERT_TRUE(run_.WaitForOutput("@ready\n", 20000)) << run_.Output();
    const WindowHandle main = Main();
    ASSERT_NE(main, 0u);
    const TRect normal = windows_->GetWindowRect(main);
    ASSERT_TRUE(windows_->ShowWindow(main, SW_MAXIMIZE));
    const TRect maximized = windows_->GetWindowRect(main);
    ASSERT_GT(maximized.Height(), normal.Height() + 300) << "openbox did not maximize it";

    ASSERT_TRUE(run_.WaitForOutput("@tucked\n", 20000)) << run_.Output();
    const TRect tucked = windows_->GetWindowRect(main);
    EXPECT_EQ(tucked.Bottom, 5);
    EXPECT_LT(tucked.Height(), maximized.Height()) << "tucked at its maximized height";
    ASSERT_TRUE(run_.WaitForOutput("@stopped\n", 20000)) << run_.Output();
    EXPECT_EQ(windows_->ShowStateOf(main), TShowState::Maximized);
    EXPECT_EQ(windows_->GetWindowRect(main), maximized);
    run_.Wait(20000);
}

} // namespace
} // namespace wt::e2e
