// libruvazad1 on a real X server: XTest motion in, WM_WATCHMOUSE ClientMessages out.
#include <gtest/gtest.h>

#include "hook/pointer_watcher.h"
#include "hook/ruvazad1.h"
#include "tests/x11/test_client.h"
#include "tests/x11/x_environment.h"

#include <thread>

namespace wt::test {
namespace {

using namespace std::chrono_literals;

long Packed(int x, int y) { return static_cast<long>(x | (y << 16)); }

class HookTest : public ::testing::Test {
protected:
    void SetUp() override {
        client_ = std::make_unique<TestClient>();
        watchMouse_ = client_->Intern("WM_WATCHMOUSE");
        target_ = client_->Create({"TfrmMain", "Wingtucker", true, {700, 600, 900, 700}});
    }
    void TearDown() override { ResetHook(); }

    // Moves the pointer until a report arrives (the watcher connects on its
    // own thread, so the first moves may come before it listens).
    std::optional<XClientMessageEvent> MoveUntilReported(int x, int y) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            client_->FakeMotion(x + (attempt % 2), y);
            if (auto message = client_->WaitClientMessage(watchMouse_, 50ms))
                return message;
        }
        return std::nullopt;
    }
    // Every report until none has come for a while; the last one.
    std::optional<XClientMessageEvent> LastReport(int* count = nullptr) {
        std::optional<XClientMessageEvent> last;
        while (auto message = client_->WaitClientMessage(watchMouse_, 300ms)) {
            last = message;
            if (count)
                ++*count;
        }
        return last;
    }

    std::unique_ptr<TestClient> client_;
    Atom watchMouse_ = None;
    Window target_ = None;
};

TEST_F(HookTest, MotionIsReportedToTheWindowWithItsPosition) {
    SetHook(target_);
    ASSERT_TRUE(MoveUntilReported(10, 10)) << "no report after SetHook";
    LastReport();
    client_->FakeMotion(300, 200);
    auto message = client_->WaitClientMessage(watchMouse_, 2s);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->window, target_);
    EXPECT_EQ(message->format, 32);
    EXPECT_EQ(message->data.l[0], Packed(300, 200));
}

TEST_F(HookTest, FastMotionEndsWithTheLastPosition) {
    SetHook(target_);
    ASSERT_TRUE(MoveUntilReported(10, 10));
    for (int i = 0; i < 300; ++i)
        client_->FakeMotion(20 + i * 3, 30 + i * 2);
    int reports = 0;
    auto last = LastReport(&reports);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->data.l[0], Packed(20 + 299 * 3, 30 + 299 * 2));
}

TEST_F(HookTest, ResetHookStopsTheReportsAndIsHarmlessTwice) {
    ResetHook(); // nothing set yet
    SetHook(target_);
    ASSERT_TRUE(MoveUntilReported(50, 50));
    ResetHook();
    ResetHook();
    client_->Drain();
    for (int i = 0; i < 20; ++i)
        client_->FakeMotion(100 + i, 100);
    EXPECT_FALSE(client_->WaitClientMessage(watchMouse_, 300ms));
    // And it starts again.
    SetHook(target_);
    EXPECT_TRUE(MoveUntilReported(60, 60));
}

TEST_F(HookTest, ASecondSetHookRetargets) {
    Window second = client_->Create({"TOther", "other", true, {0, 600, 100, 700}});
    SetHook(target_);
    ASSERT_TRUE(MoveUntilReported(40, 40));
    LastReport();
    SetHook(second);
    client_->FakeMotion(400, 300);
    int reports = 0;
    auto last = LastReport(&reports);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->window, second);
    EXPECT_EQ(last->data.l[0], Packed(400, 300));
    EXPECT_EQ(reports, 1) << "a report went to the old window too, or twice";
}

TEST_F(HookTest, SetHookZeroStops) {
    SetHook(target_);
    ASSERT_TRUE(MoveUntilReported(70, 70));
    SetHook(0);
    client_->Drain();
    client_->FakeMotion(90, 90);
    EXPECT_FALSE(client_->WaitClientMessage(watchMouse_, 300ms));
}

TEST_F(HookTest, ATargetThatVanishesDoesNotEndTheWatch) {
    Window doomed = client_->Create({"TDoomed", "doomed", true, {0, 0, 50, 50}});
    SetHook(doomed);
    ASSERT_TRUE(MoveUntilReported(80, 80));
    client_->Destroy(doomed);
    for (int i = 0; i < 30; ++i) {
        client_->FakeMotion(200 + i, 200);
        std::this_thread::sleep_for(1ms);
    }
    std::this_thread::sleep_for(50ms);
    SetHook(target_); // the same thread, retargeted
    client_->Drain();
    client_->FakeMotion(321, 123);
    auto message = client_->WaitClientMessage(watchMouse_, 2s);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->window, target_);
    EXPECT_EQ(message->data.l[0], Packed(321, 123));
}

TEST_F(HookTest, TheWatcherCoalescesAndReadsNothingAtRest) {
    hook::PointerWatcher watcher(50ms);
    watcher.Start(target_);
    ASSERT_TRUE(MoveUntilReported(15, 15));
    LastReport();
    const unsigned long readsBefore = watcher.PointerReads();
    for (int i = 0; i < 100; ++i)
        client_->FakeMotion(500 + i, 400);
    auto last = LastReport();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->data.l[0], Packed(599, 400));
    const unsigned long burstReads = watcher.PointerReads() - readsBefore;
    EXPECT_GE(burstReads, 1u);
    EXPECT_LT(burstReads, 10u) << "100 motions were not coalesced";

    const unsigned long atRest = watcher.PointerReads();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(watcher.PointerReads(), atRest) << "the pointer was read while it rested";
    watcher.Stop();
    EXPECT_FALSE(watcher.Running());
}

TEST(HookInterval, OnlyPlainMicrosecondCountsUpToATenthOfASecondTuneTheWatch) {
    using std::chrono::microseconds;
    using wt::hook::CoalesceIntervalFrom;
    using wt::hook::DefaultCoalesceInterval;
    EXPECT_EQ(CoalesceIntervalFrom("14000"), microseconds(14000));
    EXPECT_EQ(CoalesceIntervalFrom("0"), microseconds(0));
    EXPECT_EQ(CoalesceIntervalFrom("100000"), microseconds(100000));
    for (const char* bad : {"100001", "-5", "12ms", " 5", "", "99999999999999999999"})
        EXPECT_EQ(CoalesceIntervalFrom(bad), DefaultCoalesceInterval) << bad;
    EXPECT_EQ(CoalesceIntervalFrom(nullptr), DefaultCoalesceInterval);
}

} // namespace
} // namespace wt::test
