// Other programs' windows on a real X server, without and with a window manager.
#include <gtest/gtest.h>

#include "platform/window_rule.h"
#include "platform/x11/x11_desktop.h"
#include "platform/x11/x11_errors.h"
#include "platform/x11/x11_platform.h"
#include "tests/x11/test_client.h"
#include "tests/x11/x_environment.h"

#include <X11/Xatom.h>

#include <atomic>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include <unistd.h>

namespace wt::test {
namespace {

class DesktopTest : public ::testing::TestWithParam<bool> {
protected:
    static Openbox& Manager() {
        static Openbox manager;
        return manager;
    }
    static void TearDownTestSuite() { Manager().Stop(); }

    void SetUp() override {
        if (WithManager()) {
            if (!HasProgram("openbox"))
                GTEST_SKIP() << "openbox is not installed";
            Manager().Start(TestDisplay());
        } else {
            Manager().Stop();
        }
        client_ = std::make_unique<TestClient>();
        platform_ = std::make_unique<X11Platform>(TestDisplay());
    }
    void TearDown() override {
        if (client_)
            for (Window window : live_)
                client_->Destroy(window);
        platform_.reset();
        client_.reset();
    }

    bool WithManager() const { return GetParam(); }
    Window Create(WindowSetup setup) {
        Window window = client_->Create(setup);
        if (setup.Parent == None)
            live_.insert(window);
        return window;
    }
    void Destroy(Window window) {
        client_->Destroy(window);
        live_.erase(window);
    }
    FrameExtents ExtentsOf(Window window) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, remaining = 0;
        unsigned char* data = nullptr;
        FrameExtents extents;
        if (XGetWindowProperty(client_->GetDisplay(), window, client_->Intern("_NET_FRAME_EXTENTS"),
                               0, 4, False, XA_CARDINAL, &type, &format, &count, &remaining,
                               &data) == Success &&
            count == 4) {
            auto* v = reinterpret_cast<unsigned long*>(data);
            extents = {int(v[0]), int(v[1]), int(v[2]), int(v[3])};
        }
        if (data)
            XFree(data);
        return extents;
    }

    std::unique_ptr<TestClient> client_;
    std::unique_ptr<X11Platform> platform_;
    std::set<Window> live_;
};

TEST_P(DesktopTest, FindsTopLevelWindowsByExactClassAndTitle) {
    Window ide = Create({"TAppBuilder", "Delphi 2.0 - Project1", true, {0, 0, 600, 100}});
    Window inspector =
        Create({"TPropertyInspector", "Object Inspector", false, {0, 150, 200, 600}});
    Window other = Create({"TPropertyInspector", "Object Inspector 2", true, {300, 150, 500, 600}});
    WindowSetup hidden{"TUnmappedForm", "Hidden", true, {50, 50, 150, 150}};
    hidden.Map = false;
    Window unmapped = Create(hidden);

    EXPECT_EQ(platform_->Windows().FindWindow("TAppBuilder", std::nullopt), ide);
    EXPECT_EQ(platform_->Windows().FindWindow("TAppBuilder", "Delphi 2.0 - Project1"), ide);
    EXPECT_EQ(platform_->Windows().FindWindow("TPropertyInspector", "Object Inspector"), inspector);
    EXPECT_EQ(platform_->Windows().FindWindow("TPropertyInspector", "Object Inspector 2"), other);
    Window anyInspector = platform_->Windows().FindWindow("TPropertyInspector", std::nullopt);
    EXPECT_TRUE(anyInspector == inspector || anyInspector == other);
    EXPECT_EQ(platform_->Windows().FindWindow("TUnmappedForm", std::nullopt), unmapped);

    // Whole names only, letter case included.
    EXPECT_EQ(platform_->Windows().FindWindow("TAppBuild", std::nullopt), 0u);
    EXPECT_EQ(platform_->Windows().FindWindow("tappbuilder", std::nullopt), 0u);
    EXPECT_EQ(platform_->Windows().FindWindow("TPropertyInspector", "Object"), 0u);
    EXPECT_EQ(platform_->Windows().FindWindow("TAppBuilder", ""), 0u);
    // The instance part of WM_CLASS is not the class.
    EXPECT_EQ(platform_->Windows().FindWindow("wt-test", std::nullopt), 0u);
}

// A second program with the add-in on the same display: its windows of the
// host's classes are not ours, however they are stacked; windows that do not
// name their process still count.
TEST_P(DesktopTest, TheHostsClassesFindOnlyWindowsOfThisProcess) {
    Window ours = Create({"TAppBuilder", "Delphi 2.0 - Mine", true, {0, 0, 600, 100}});
    auto claim = [this](Window window, long pid) {
        XChangeProperty(client_->GetDisplay(), window, client_->Intern("_NET_WM_PID"), XA_CARDINAL,
                        32, PropModeReplace, reinterpret_cast<unsigned char*>(&pid), 1);
        client_->Sync();
    };
    claim(ours, getpid());
    Window theirs = Create({"TAppBuilder", "Delphi 2.0 - Theirs", true, {0, 200, 600, 300}});
    claim(theirs, getpid() + 1);
    Window theirInspector =
        Create({"TPropertyInspector", "Object Inspector", true, {700, 0, 900, 500}});
    claim(theirInspector, getpid() + 1);

    EXPECT_EQ(platform_->Windows().FindWindow("TAppBuilder", std::nullopt), ours);
    EXPECT_EQ(platform_->Windows().FindWindow("TAppBuilder", "Delphi 2.0 - Theirs"), 0u);
    EXPECT_EQ(platform_->Windows().FindWindow("TPropertyInspector", std::nullopt), 0u);
    Window unnamed = Create({"TPropertyInspector", "Object Inspector", true, {0, 150, 200, 600}});
    EXPECT_EQ(platform_->Windows().FindWindow("TPropertyInspector", std::nullopt), unnamed);
}

// What a window rule reads: both parts of WM_CLASS, the title, the role and
// the window type's short name; a rule finds the window by them.
TEST_P(DesktopTest, RulesReadClassInstanceTitleRoleAndType) {
    Window dialog = Create({"Designer", "New Form — Qt Designer", true, {0, 0, 300, 200}});
    Display* display = client_->GetDisplay();
    const std::string role = "newform";
    XChangeProperty(display, dialog, client_->Intern("WM_WINDOW_ROLE"), XA_STRING, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(role.data()),
                    static_cast<int>(role.size()));
    const Atom type = client_->Intern("_NET_WM_WINDOW_TYPE_DIALOG");
    XChangeProperty(display, dialog, client_->Intern("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&type), 1);
    client_->Sync();

    const auto facts = platform_->Windows().FactsOf(dialog);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->Class, "Designer");
    EXPECT_EQ(facts->Instance, "wt-test");
    EXPECT_EQ(facts->Title, "New Form — Qt Designer");
    EXPECT_EQ(facts->Role, "newform");
    EXPECT_EQ(facts->Type, "dialog");
    const auto rule = ParseWindowRule("class=\"^Designer$\" type=\"dialog\" role=\"form\"");
    ASSERT_TRUE(rule);
    EXPECT_EQ(FindWindowByRule(platform_->Windows(), *rule), dialog);
    EXPECT_EQ(FindWindowByRule(platform_->Windows(), *ParseWindowRule("type=\"utility\"")), 0u);
    EXPECT_FALSE(platform_->Windows().FactsOf(0x7FFFFF)) << "a window that is not there";
}

TEST_P(DesktopTest, RectanglesAndMovesAreExactInverses) {
    struct Case {
        int border;
        int gravity;
    };
    for (Case c : {Case{0, NorthWestGravity}, Case{0, StaticGravity}, Case{3, NorthWestGravity},
                   Case{2, CenterGravity}, Case{0, SouthEastGravity}, Case{2, StaticGravity}}) {
        SCOPED_TRACE(::testing::Message() << "border " << c.border << " gravity " << c.gravity);
        WindowSetup setup{"TForm", "form", true, {120, 140, 420, 360}};
        setup.Border = c.border;
        setup.Gravity = c.gravity;
        Window window = Create(setup);

        const TRect before = platform_->Windows().GetWindowRect(window);
        const TRect insideBefore = client_->InsideRect(window);
        ASSERT_FALSE(before.IsAllZero());
        ASSERT_TRUE(platform_->Windows().MoveWindow(window, before.Left, before.Top, before.Width(),
                                                    before.Height(), true));
        EXPECT_EQ(platform_->Windows().GetWindowRect(window), before);
        EXPECT_EQ(client_->InsideRect(window), insideBefore) << "moving onto itself moved it";

        const TRect target{150, 120, 150 + 320, 120 + 240};
        ASSERT_TRUE(platform_->Windows().MoveWindow(window, target.Left, target.Top, target.Width(),
                                                    target.Height(), true));
        EXPECT_EQ(platform_->Windows().GetWindowRect(window), target);
        const TRect inside = client_->InsideRect(window);
        FrameExtents frame = WithManager() ? ExtentsOf(window) : FrameExtents{};
        if (WithManager() && c.border == 0) {
            EXPECT_GT(frame.Top, 0) << "the manager gave the window no frame";
        }
        // The rectangle is the outer one: border and frame lie inside it.
        int border = WithManager() ? 0 : c.border; // a manager takes the border away
        EXPECT_EQ(inside.Left, target.Left + frame.Left + border);
        EXPECT_EQ(inside.Top, target.Top + frame.Top + border);
        EXPECT_EQ(inside.Right, target.Right - frame.Right - border);
        EXPECT_EQ(inside.Bottom, target.Bottom - frame.Bottom - border);
        Destroy(window);
    }
}

TEST_P(DesktopTest, ManagersWithoutNetMoveResizeGetRequestsThroughTheGravity) {
    if (!WithManager())
        GTEST_SKIP();
    // Hide _NET_MOVERESIZE_WINDOW from the list the manager announces.
    Display* d = client_->GetDisplay();
    const Atom supported = client_->Intern("_NET_SUPPORTED");
    const Atom moveResize = client_->Intern("_NET_MOVERESIZE_WINDOW");
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(d, client_->Root(), supported, 0, 4096, False, XA_ATOM, &type,
                                 &format, &count, &remaining, &data),
              Success);
    std::vector<unsigned long> all(reinterpret_cast<unsigned long*>(data),
                                   reinterpret_cast<unsigned long*>(data) + count);
    XFree(data);
    std::vector<unsigned long> without;
    for (unsigned long atom : all)
        if (atom != moveResize)
            without.push_back(atom);
    ASSERT_LT(without.size(), all.size());
    auto announce = [&](std::vector<unsigned long>& atoms) {
        XChangeProperty(d, client_->Root(), supported, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(atoms.data()), int(atoms.size()));
        client_->Sync();
    };
    announce(without);
    // The gravities that openbox reads as the window-manager conventions say
    // (for the centre column it shifts by half the difference of the frame's
    // sides, not half their sum: what _NET_MOVERESIZE_WINDOW is there to avoid).
    for (int gravity : {NorthWestGravity, StaticGravity, SouthEastGravity, SouthWestGravity}) {
        SCOPED_TRACE(gravity);
        WindowSetup setup{"TForm", "form", true, {120, 140, 420, 360}};
        setup.Gravity = gravity;
        Window window = Create(setup);
        const TRect before = platform_->Windows().GetWindowRect(window);
        ASSERT_TRUE(platform_->Windows().MoveWindow(window, before.Left, before.Top, before.Width(),
                                                    before.Height(), true));
        EXPECT_EQ(platform_->Windows().GetWindowRect(window), before);
        ASSERT_TRUE(platform_->Windows().MoveWindow(window, 200, 150, 300, 250, true));
        EXPECT_EQ(platform_->Windows().GetWindowRect(window), (TRect{200, 150, 500, 400}));
        Destroy(window);
    }
    announce(all);
}

TEST_P(DesktopTest, MovesReachOffTheScreenWithoutAManager) {
    if (WithManager())
        GTEST_SKIP() << "how far a manager lets a window go is measured end to end";
    Window window = Create({"TAppBuilder", "IDE", true, {0, 0, 1024, 106}});
    // The tuck of the worked example: top -101, bottom 5.
    ASSERT_TRUE(platform_->Windows().MoveWindow(window, 0, -101, 1024, 106, true));
    EXPECT_EQ(platform_->Windows().GetWindowRect(window), (TRect{0, -101, 1024, 5}));
    ASSERT_TRUE(platform_->Windows().MoveWindow(window, 1019, 0, 200, 750, true));
    EXPECT_EQ(platform_->Windows().GetWindowRect(window), (TRect{1019, 0, 1219, 750}));
}

TEST_P(DesktopTest, ScreenMetricsFollowTheManager) {
    EXPECT_EQ(platform_->Windows().GetSystemMetrics(SM_CXSCREEN), 1024);
    if (!WithManager()) {
        EXPECT_EQ(platform_->Windows().GetSystemMetrics(SM_CYCAPTION), 18);
        EXPECT_EQ(platform_->Windows().GetSystemMetrics(SM_CYFULLSCREEN), 768 - 18);
        return;
    }
    Window window = Create({"TForm", "framed", true, {100, 100, 400, 300}});
    const int caption = ExtentsOf(window).Top;
    ASSERT_GT(caption, 0);
    EXPECT_EQ(platform_->Windows().GetSystemMetrics(SM_CYCAPTION), caption);
    EXPECT_EQ(platform_->Windows().GetSystemMetrics(SM_CYFULLSCREEN), 768 - caption);
}

TEST_P(DesktopTest, AStaleManagerAnnouncementIsIgnored) {
    if (WithManager())
        GTEST_SKIP();
    Window window = Create({"TAppBuilder", "IDE", true, {10, 10, 210, 110}});
    // What a manager that died leaves behind: a check naming a window that is gone,
    // a client list without our window, frame extents on it.
    Window gone = client_->Create({"", "", true, {0, 0, 10, 10}});
    client_->Destroy(gone);
    Display* d = client_->GetDisplay();
    unsigned long check = gone;
    XChangeProperty(d, client_->Root(), client_->Intern("_NET_SUPPORTING_WM_CHECK"), XA_WINDOW, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&check), 1);
    XChangeProperty(d, client_->Root(), client_->Intern("_NET_CLIENT_LIST"), XA_WINDOW, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&check), 1);
    unsigned long extents[4] = {5, 5, 30, 5};
    XChangeProperty(d, window, client_->Intern("_NET_FRAME_EXTENTS"), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(extents), 4);
    client_->Sync();

    EXPECT_EQ(platform_->Windows().FindWindow("TAppBuilder", std::nullopt), window);
    EXPECT_EQ(platform_->Windows().GetWindowRect(window), (TRect{10, 10, 210, 110}));
    EXPECT_EQ(platform_->Windows().GetSystemMetrics(SM_CYCAPTION), 18);

    XDeleteProperty(d, client_->Root(), client_->Intern("_NET_SUPPORTING_WM_CHECK"));
    XDeleteProperty(d, client_->Root(), client_->Intern("_NET_CLIENT_LIST"));
    client_->Sync();
}

TEST_P(DesktopTest, AVanishedWindowActsLikeNoWindow) {
    Window window = Create({"TPropertyInspector", "Object Inspector", true, {0, 0, 200, 500}});
    ASSERT_TRUE(platform_->Windows().IsWindow(window));
    Destroy(window);
    for (WindowHandle handle : {WindowHandle{window}, WindowHandle{0}}) {
        SCOPED_TRACE(handle);
        EXPECT_FALSE(platform_->Windows().IsWindow(handle));
        EXPECT_TRUE(platform_->Windows().GetWindowRect(handle).IsAllZero());
        EXPECT_FALSE(platform_->Windows().MoveWindow(handle, 0, 0, 100, 100, true));
        EXPECT_FALSE(platform_->Windows().BringWindowToTop(handle));
        EXPECT_EQ(platform_->Windows().GetParent(handle), 0u);
    }
    EXPECT_EQ(platform_->Windows().FindWindow("TPropertyInspector", "Object Inspector"), 0u);
}

TEST_P(DesktopTest, WindowsVanishingMidOperationDoNotEndTheProcess) {
    std::atomic<bool> done{false};
    std::thread churn([&] {
        TestClient other;
        for (int i = 0; i < 150; ++i) {
            WindowSetup setup{"TChurn", "churn", true, {10 + i % 50, 10, 210, 210}};
            setup.Map = (i % 2) == 0 || !WithManager(); // keep a manager's work bounded
            Window window = other.Create(setup);
            other.Destroy(window);
        }
        done = true;
    });
    int calls = 0;
    while (!done) {
        WindowHandle window = platform_->Windows().FindWindow("TChurn", std::nullopt);
        if (window == 0)
            window = 0x3FFFFF; // an id that is most likely nobody's
        TRect rect = platform_->Windows().GetWindowRect(window);
        platform_->Windows().MoveWindow(window, rect.Left + 1, rect.Top, 150, 150, true);
        platform_->Windows().BringWindowToTop(window);
        platform_->Windows().GetParent(platform_->Windows().WindowFromPoint({20, 20}));
        ++calls;
    }
    churn.join();
    EXPECT_GT(calls, 0);
    // Still fully working afterwards.
    Window window = Create({"TAfterChurn", "after", true, {200, 200, 400, 400}});
    EXPECT_EQ(platform_->Windows().FindWindow("TAfterChurn", std::nullopt), window);
    EXPECT_TRUE(platform_->Windows().MoveWindow(window, 210, 220, 300, 200, true));
    EXPECT_EQ(platform_->Windows().GetWindowRect(window), (TRect{210, 220, 510, 420}));
}

TEST_P(DesktopTest, WindowFromPointAndGetParent) {
    Window back = Create({"TBack", "back", true, {100, 100, 400, 300}});
    Window front = Create({"TFront", "front", true, {250, 200, 550, 450}});
    WindowSetup childSpec{"", "", true, {20, 20, 80, 80}};
    childSpec.Parent = front;
    Window child = client_->Create(childSpec);
    WindowSetup dialogSpec{"TDialog", "dialog", true, {600, 100, 800, 300}};
    dialogSpec.TransientFor = back;
    Window dialog = Create(dialogSpec);
    WindowSetup popupSpec{"TPopup", "", true, {600, 500, 700, 600}};
    popupSpec.OverrideRedirect = true;
    popupSpec.TransientFor = back;
    Window popup = Create(popupSpec);

    const TRect frontRect = platform_->Windows().GetWindowRect(front);
    const TRect childRect = client_->InsideRect(child);
    // Inside the front window, away from its child.
    const TPoint overlap{frontRect.Left + 150, frontRect.Bottom - 20};
    EXPECT_EQ(platform_->Windows().WindowFromPoint(overlap), front);
    EXPECT_EQ(platform_->Windows().WindowFromPoint({childRect.Left + 5, childRect.Top + 5}), child);
    EXPECT_EQ(platform_->Windows().WindowFromPoint({650, 550}), popup);
    EXPECT_EQ(platform_->Windows().WindowFromPoint({120, 120}), back);
    if (WithManager()) { // on the title bar
        EXPECT_EQ(platform_->Windows().WindowFromPoint({frontRect.Left + 40, frontRect.Top + 2}),
                  front);
    }
    EXPECT_EQ(platform_->Windows().GetParent(platform_->Windows().WindowFromPoint({1010, 20})), 0u);

    EXPECT_EQ(platform_->Windows().GetParent(child), front);
    EXPECT_EQ(platform_->Windows().GetParent(dialog), back);
    EXPECT_EQ(platform_->Windows().GetParent(popup), back);
    EXPECT_EQ(platform_->Windows().GetParent(front), 0u);
    EXPECT_EQ(platform_->Windows().GetParent(back), 0u);

    // A window whose owner vanished has none.
    Destroy(back);
    EXPECT_EQ(platform_->Windows().GetParent(dialog), 0u);
}

TEST_P(DesktopTest, BringWindowToTopRaisesIt) {
    if (WithManager())
        GTEST_SKIP() << "a manager decides on its own whom it raises";
    Window back = Create({"TBack", "back", true, {100, 100, 400, 300}});
    Window front = Create({"TFront", "front", true, {250, 200, 550, 450}});
    const TPoint overlap{300, 250};
    ASSERT_EQ(platform_->Windows().WindowFromPoint(overlap), front);
    EXPECT_TRUE(platform_->Windows().BringWindowToTop(back));
    EXPECT_EQ(platform_->Windows().WindowFromPoint(overlap), back);
}

INSTANTIATE_TEST_SUITE_P(Desktop, DesktopTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Openbox" : "NoManager"; });

std::atomic<Display*> lastForwarded{nullptr};
int CountingHandler(Display* display, XErrorEvent*) {
    lastForwarded = display;
    return 0;
}

TEST(DesktopErrors, OtherConnectionsErrorsReachTheHandlerBeforeOurs) {
    if (DisplayErrorHandlerInstalled())
        GTEST_SKIP() << "our handler is already in the chain; run this test on its own";
    XErrorHandler before = XSetErrorHandler(CountingHandler);
    {
        X11Platform platform(TestDisplay());
        TestClient client;
        XWindowAttributes attributes;
        // A bad window on the test's own connection: its handler hears of it.
        XGetWindowAttributes(client.GetDisplay(), 0x3FFFFE, &attributes);
        EXPECT_EQ(lastForwarded.load(), client.GetDisplay());
        lastForwarded = nullptr;
        // The same on the platform's connection: recorded, not forwarded.
        EXPECT_TRUE(platform.Windows().GetWindowRect(0x3FFFFE).IsAllZero());
        EXPECT_EQ(lastForwarded.load(), nullptr);
    }
    // The platform gone, its handler is out of the chain again.
    XErrorHandler current = XSetErrorHandler(before);
    EXPECT_EQ(current, CountingHandler);
}

TEST(DesktopErrors, NoDisplayIsAClearFailure) {
    try {
        X11Platform platform(":987");
        FAIL() << "a platform without a display was made";
    } catch (const X11Unavailable& e) {
        EXPECT_NE(std::string(e.what()).find("Wingtucker needs an X11 session"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find(":987"), std::string::npos);
    }
}

} // namespace
} // namespace wt::test
