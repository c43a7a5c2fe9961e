// hostide with the add-in under managers with workspaces (openbox, xfwm4):
// a tucked window's strip shows only on its own workspace, a strip on
// another one reveals nothing and switches nothing, the strip is back when
// its workspace is, and Stop on another workspace gives every window back
// on its own.
#include "tests/e2e/hostide_run.h"
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool) would break its templates.
#include "platform/x11/x11_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

namespace wt::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class WorkspacesOnXvfb : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (!manager_.Installed())
            GTEST_SKIP() << GetParam() << " is not installed";
        try {
            server_.Start(1024, 768, 170);
            manager_.Start(server_.DisplayName());
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        ASSERT_TRUE(folder_.Made());
        display_ = XOpenDisplay(server_.DisplayName().c_str());
        ASSERT_NE(display_, nullptr);
        windows_ = std::make_unique<X11Windows>(server_.DisplayName());
    }
    void TearDown() override {
        windows_.reset();
        if (display_)
            XCloseDisplay(display_);
        manager_.Stop();
    }

    long Property(Window window, const char* name) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, rest = 0;
        unsigned char* data = nullptr;
        long value = -1;
        if (XGetWindowProperty(display_, window, XInternAtom(display_, name, False), 0, 1, False,
                               XA_CARDINAL, &type, &format, &count, &rest, &data) == Success &&
            data && count == 1)
            value = *reinterpret_cast<long*>(data);
        if (data)
            XFree(data);
        return value;
    }
    // What a pager does: asks the manager to show that workspace.
    void ShowWorkspace(long number) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = DefaultRootWindow(display_);
        event.xclient.message_type = XInternAtom(display_, "_NET_CURRENT_DESKTOP", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = number;
        XSendEvent(display_, DefaultRootWindow(display_), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XSync(display_, False);
        std::this_thread::sleep_for(600ms);
    }
    long ShownWorkspace() { return Property(DefaultRootWindow(display_), "_NET_CURRENT_DESKTOP"); }
    Window Find(const char* windowClass) {
        for (WindowHandle w : windows_->TopLevelWindows())
            if (auto facts = windows_->FactsOf(w); facts && facts->Class == windowClass)
                return static_cast<Window>(w);
        return 0;
    }
    bool Viewable(Window window) {
        XWindowAttributes a{};
        return XGetWindowAttributes(display_, window, &a) && a.map_state == IsViewable;
    }
    void Motion(int x, int y) {
        XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
        XSync(display_, False);
    }

    test::XvfbServer server_;
    test::WindowManager manager_{GetParam()};
    // The focus handling at its default, as a new user has it.
    RunFolder folder_{"wt-workspaces", "gwHideInspector=True\ngwHideDelphi=True\n"
                                       "gwAnimate=False\ngwDelay=200\n"};
    Display* display_ = nullptr;
    std::unique_ptr<X11Windows> windows_;
    HostideRun run_;
};

TEST_P(WorkspacesOnXvfb, StripsShowOnTheirOwnWorkspaceAndStopKeepsEachOnIt) {
    const fs::path script = folder_.Path() / "test.script";
    std::ofstream(script) << "new-project " << folder_.Project() << "\n"
                          << "menu Tools|Wingtucker 1.2d\nwait 1200\nclick-button Start\n"
                          << "wait 1500\necho @tucked\nwait 6000\n"
                          << "menu Tools|Wingtucker 1.2d\nwait 800\nclick-button Stop\n"
                          << "wait 1500\necho @stopped\nwait 800\nquit\n";
    ASSERT_TRUE(run_.Start(server_.DisplayName(), folder_.ConfigHome(), script.string()));
    ASSERT_TRUE(run_.WaitForOutput("@tucked\n", 20000)) << run_.Output();
    const Window main = Find("TAppBuilder"), inspector = Find("TPropertyInspector");
    ASSERT_TRUE(main && inspector);
    const long home = ShownWorkspace();
    ASSERT_GE(home, 0) << GetParam() << " has no workspaces";
    ASSERT_TRUE(Viewable(main) && Viewable(inspector));

    ShowWorkspace(home + 1);
    ASSERT_EQ(ShownWorkspace(), home + 1);
    EXPECT_FALSE(Viewable(main)) << "the main window's strip shows on another workspace";
    EXPECT_FALSE(Viewable(inspector)) << "the Inspector's strip shows on another workspace";
    Motion(500, 2);
    std::this_thread::sleep_for(800ms);
    EXPECT_EQ(ShownWorkspace(), home + 1) << "a strip switched the workspace";
    EXPECT_FALSE(Viewable(main)) << "revealed on a workspace not its own";

    Motion(500, 400);
    ShowWorkspace(home);
    EXPECT_TRUE(Viewable(main) && Viewable(inspector)) << "strips gone on their own workspace";
    Motion(500, 2);
    std::this_thread::sleep_for(800ms);
    EXPECT_EQ(windows_->GetWindowRect(main).Top, 0) << "no reveal on its own workspace";
    EXPECT_EQ(Property(main, "_NET_WM_DESKTOP"), home) << "revealed onto another workspace";
    Motion(500, 500);
    std::this_thread::sleep_for(500ms);

    ShowWorkspace(home + 1); // Stop comes while another workspace is shown
    ASSERT_TRUE(run_.WaitForOutput("@stopped\n", 20000)) << run_.Output();
    EXPECT_EQ(ShownWorkspace(), home + 1) << "Stop switched the workspace";
    EXPECT_EQ(Property(main, "_NET_WM_DESKTOP"), home);
    EXPECT_EQ(Property(inspector, "_NET_WM_DESKTOP"), home);
    EXPECT_FALSE(Viewable(main)) << "given back onto the workspace shown";
    EXPECT_EQ(run_.Wait(20000), 0) << run_.Output();
}

INSTANTIATE_TEST_SUITE_P(Managers, WorkspacesOnXvfb, ::testing::Values("openbox", "xfwm4"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
} // namespace wt::e2e
