// One of our windows hidden and shown again under a window manager (fluxbox)
// that is slow to come to it: a showing waits until the manager has shown
// the window before it is hidden, and a hidden window waits until the
// manager has let it go before it is shown again, so that it is shown.
// The manager is paused to have the server carry out our requests first.
#include <gtest/gtest.h>

#include "platform/x11/x11_desktop.h"
#include "platform/x11/x11_platform.h"
#include "tests/x11/test_client.h"
#include "tests/x11/x_environment.h"

#include <X11/Xutil.h>

#include <chrono>
#include <memory>
#include <thread>

namespace wt::test {
namespace {

using namespace std::chrono_literals;

class ShowHideTest : public ::testing::Test {
protected:
    static WindowManager& Manager() {
        static WindowManager manager("fluxbox");
        return manager;
    }
    static void TearDownTestSuite() { Manager().Stop(); }

    void SetUp() override {
        if (!Manager().Installed())
            GTEST_SKIP() << "fluxbox is not installed";
        Manager().Start(TestDisplay());
        client_ = std::make_unique<TestClient>();
        window_ = client_->Create({"TfrmMain", "panel", true, {200, 200, 400, 300}});
        platform_ = std::make_unique<X11Platform>(TestDisplay());
    }
    void TearDown() override {
        if (!client_)
            return;
        Manager().Resume();
        platform_.reset();
        if (window_)
            client_->Destroy(window_);
    }

    // Runs await() while the paused manager comes back after a while, as a
    // busy one does, and tells what check() finds as soon as it returned.
    template <class Await, class Check>
    bool WhileTheManagerComesBack(Await await, Check check) {
        std::thread resume([] {
            std::this_thread::sleep_for(100ms);
            Manager().Resume();
        });
        await();
        const bool found = check();
        resume.join();
        return found;
    }
    bool Viewable() {
        XWindowAttributes attributes;
        return XGetWindowAttributes(client_->GetDisplay(), window_, &attributes) &&
               attributes.map_state == IsViewable;
    }
    bool Released() {
        X11Desktop& desktop = platform_->Desktop();
        auto state = desktop.WmStateOf(window_);
        return desktop.ParentWindow(window_) == desktop.Root() &&
               (!state || *state == WithdrawnState);
    }
    bool ShownWithin(std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!Viewable() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(5ms);
        return Viewable();
    }

    std::unique_ptr<TestClient> client_;
    std::unique_ptr<X11Platform> platform_;
    Window window_ = None;
};

TEST_F(ShowHideTest, AHidingWaitsUntilTheManagerHasShownTheWindow) {
    XWithdrawWindow(client_->GetDisplay(), window_, DefaultScreen(client_->GetDisplay()));
    client_->Sync();
    platform_->Windows().AwaitWithdrawn(window_);
    ASSERT_TRUE(Released());
    Manager().Pause();
    XMapWindow(client_->GetDisplay(), window_);
    client_->Sync();
    EXPECT_TRUE(WhileTheManagerComesBack([&] { platform_->Windows().AwaitShown(window_); },
                                         [&] { return Viewable(); }))
        << "hidden before the manager came to the showing";
}

TEST_F(ShowHideTest, AShowingWaitsUntilTheManagerHasLetTheHiddenWindowGo) {
    Manager().Pause();
    XWithdrawWindow(client_->GetDisplay(), window_, DefaultScreen(client_->GetDisplay()));
    client_->Sync();
    EXPECT_TRUE(WhileTheManagerComesBack([&] { platform_->Windows().AwaitWithdrawn(window_); },
                                         [&] { return Released(); }))
        << "still held by the manager";
    XMapWindow(client_->GetDisplay(), window_);
    client_->Sync();
    EXPECT_TRUE(ShownWithin(2000ms)) << "the manager withdrew the new showing";
}

} // namespace
} // namespace wt::test
