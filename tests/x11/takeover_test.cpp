// Windows taken from a window manager (openbox) while they stand off screen:
// given back where they stood and as they were when the platform goes, and
// recovered by the next run when a run ended without giving them back; a
// mark that is not ours is left alone.
#include <gtest/gtest.h>

#include "platform/tuck_guard.h"
#include "platform/x11/x11_desktop.h"
#include "platform/x11/x11_errors.h"
#include "platform/x11/x11_platform.h"
#include "platform/x11/x11_takeover.h"
#include "tests/x11/test_client.h"
#include "tests/x11/x_environment.h"

#include <QEventLoop>
#include <QTimer>

#include <X11/Xatom.h>

#include <chrono>
#include <memory>
#include <thread>

namespace wt::test {
namespace {

class TakeoverTest : public ::testing::Test {
protected:
    static Openbox& Manager() {
        static Openbox manager;
        return manager;
    }
    static void TearDownTestSuite() { Manager().Stop(); }

    void SetUp() override {
        if (!HasProgram("openbox"))
            GTEST_SKIP() << "openbox is not installed";
        Manager().Start(TestDisplay());
        client_ = std::make_unique<TestClient>();
        WindowSetup setup{"TForm", "form", true, {120, 140, 420, 360}};
        window_ = client_->Create(setup);
    }
    void TearDown() override {
        if (client_ && window_)
            client_->Destroy(window_);
    }

    bool Managed(X11Desktop& desktop) {
        XWindowAttributes attributes;
        XGetWindowAttributes(client_->GetDisplay(), window_, &attributes);
        auto state = desktop.WmStateOf(window_);
        return !attributes.override_redirect && state && *state == NormalState &&
               desktop.ParentWindow(window_) != desktop.Root();
    }
    bool Marked() {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, remaining = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(client_->GetDisplay(), window_, client_->Intern("_WINGTUCKER_TAKEN"), 0,
                           16, False, AnyPropertyType, &type, &format, &count, &remaining, &data);
        if (data)
            XFree(data);
        return type != None;
    }

    std::unique_ptr<TestClient> client_;
    Window window_ = None;
};

TEST_F(TakeoverTest, ATuckTakesTheWindowAndTheGoingPlatformGivesItBackAsItWas) {
    TRect home;
    {
        X11Platform platform(TestDisplay());
        home = platform.Windows().GetWindowRect(window_);
        const TRect tucked{home.Left, 5 - home.Height(), home.Right, 5};
        ASSERT_TRUE(platform.Windows().MoveWindow(window_, tucked.Left, tucked.Top, tucked.Width(),
                                                  tucked.Height(), true));
        EXPECT_EQ(platform.Windows().GetWindowRect(window_), tucked)
            << "openbox would keep a tenth";
        EXPECT_TRUE(platform.Takeover().IsTaken(window_));
        EXPECT_TRUE(Marked());
    }
    X11Platform after(TestDisplay());
    EXPECT_EQ(after.Windows().GetWindowRect(window_), home);
    EXPECT_TRUE(Managed(after.Desktop())) << "left unmanaged";
    EXPECT_FALSE(Marked());
}

TEST_F(TakeoverTest, AWindowARunLeftTakenIsGivenBackWhenTheNextRunFindsIt) {
    TRect home;
    {
        // A run whose end never came: the window stays taken, the mark on it.
        Display* lost = XOpenDisplay(TestDisplay().c_str());
        ASSERT_NE(lost, nullptr);
        WatchDisplayErrors(lost);
        {
            X11Desktop desktop(lost);
            X11Takeover takeover(desktop);
            home = *desktop.OuterRect(window_);
            ASSERT_TRUE(
                takeover.Place(window_, {-290, 100, home.Width() - 290, 100 + home.Height()}));
            XSync(lost, False);
        }
        UnwatchDisplayErrors(lost);
        XCloseDisplay(lost);
    }
    X11Platform next(TestDisplay());
    ASSERT_FALSE(Managed(next.Desktop()));
    EXPECT_EQ(next.Windows().FindWindow("TForm", std::nullopt), window_);
    EXPECT_TRUE(Managed(next.Desktop())) << "still unmanaged after the next run found it";
    EXPECT_EQ(next.Windows().GetWindowRect(window_), home);
    EXPECT_FALSE(Marked());
}

TEST_F(TakeoverTest, AMarkThatIsNotOursChangesNothing) {
    X11Platform platform(TestDisplay());
    const TRect before = platform.Windows().GetWindowRect(window_);
    const Atom mark = client_->Intern("_WINGTUCKER_TAKEN");
    struct Case {
        Atom Type;
        int Count;
        long Values[8];
    } cases[] = {
        {XA_CARDINAL, 3, {1, 2, 3}},                       // too short
        {XA_STRING, 8, {1, 1, 20, 5, 0, 0, 300, 200}},     // of another type
        {XA_CARDINAL, 8, {1, 1, 20, 5, 300, 200, 0, 0}},   // an empty place
        {XA_CARDINAL, 8, {1, 1, 20, 5, 10, 10, 300, 200}}, // a managed window
    };
    for (const Case& c : cases) {
        XChangeProperty(client_->GetDisplay(), window_, mark, c.Type, c.Type == XA_STRING ? 8 : 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(c.Values),
                        c.Type == XA_STRING ? 8 : c.Count);
        client_->Sync();
        EXPECT_EQ(platform.Windows().FindWindow("TForm", std::nullopt), window_);
        EXPECT_EQ(platform.Windows().GetWindowRect(window_), before);
        EXPECT_TRUE(Managed(platform.Desktop()));
    }
}

TEST_F(TakeoverTest, ARevealGivesTheWindowBackFramedAndFocusable) {
    X11Platform platform(TestDisplay());
    const TRect home = platform.Windows().GetWindowRect(window_);
    ASSERT_TRUE(
        platform.Windows().MoveWindow(window_, -295, home.Top, home.Width(), home.Height(), true));
    ASSERT_TRUE(platform.Takeover().IsTaken(window_));
    const TRect shown{0, 0, home.Width(), home.Height()};
    ASSERT_TRUE(platform.Windows().MoveWindow(window_, 0, 0, home.Width(), home.Height(), true));
    EXPECT_EQ(platform.Windows().GetWindowRect(window_), shown);
    EXPECT_TRUE(Managed(platform.Desktop()));
    EXPECT_FALSE(platform.Takeover().IsTaken(window_));
    EXPECT_EQ(platform.Guard().CurrentWay(), TuckWay::TakeFromManager);

    // Focusable: asked as a pager or a click asks, the manager gives it the
    // keyboard focus.
    Display* display = client_->GetDisplay();
    RequestActivation(display, window_);
    Window focus = None;
    for (int look = 0; look < 100 && focus != window_; ++look) {
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        if (focus != window_)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(focus, window_) << "the given-back window never got the focus";
}

// The manager hands the focus on when it lets a focused window go, at times
// after the take gave it back: right after a take the window gets it again;
// later another window's activation is someone's choice and stands.
TEST_F(TakeoverTest, ATakenWindowKeepsTheFocusTheManagerHandsOnJustAfterTheTake) {
    WindowSetup setup{"TOther", "other", true, {500, 140, 700, 300}};
    const Window other = client_->Create(setup);
    Display* display = client_->GetDisplay();
    X11Platform platform(TestDisplay());
    // Activates a window as the manager does and lets the platform see it.
    auto activateThenFocus = [&](Window target) {
        RequestActivation(display, target);
        for (int look = 0; look < 100 && platform.Desktop().ActiveWindow() != target; ++look)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        QEventLoop loop; // as the host's loop runs: the platform reads the root's events
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
        Window focus = None;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        return focus;
    };
    ASSERT_EQ(activateThenFocus(window_), window_);
    const TRect home = platform.Windows().GetWindowRect(window_);
    ASSERT_TRUE(
        platform.Windows().MoveWindow(window_, -295, home.Top, home.Width(), home.Height(), true));
    EXPECT_EQ(activateThenFocus(other), window_) << "the hand-over after the take stood";

    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(activateThenFocus(other), other) << "a later choice was undone";
    client_->Destroy(other);
}

} // namespace
} // namespace wt::test
