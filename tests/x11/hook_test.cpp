// libruvazad1 on a real X server: XTest motion and warps in, WM_WATCHMOUSE
// ClientMessages out.
#include <gtest/gtest.h>

#include "hook/pointer_watcher.h"
#include "hook/ruvazad1.h"
#include "tests/x11/test_client.h"
#include "tests/x11/x_environment.h"

#include <X11/extensions/XInput2.h>

#include <functional>
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

TEST_F(HookTest, APointerAlreadyAtRestIsReportedWhenTheWatchStarts) {
    client_->FakeMotion(333, 222);
    SetHook(target_);
    auto message = client_->WaitClientMessage(watchMouse_, 2s);
    ASSERT_TRUE(message) << "a pointer that came before the watch was never reported";
    EXPECT_EQ(message->data.l[0], Packed(333, 222));
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

// Jumps the pointer as keyboard-mouse and accessibility tools do: no raw
// motion, only the ordinary and crossing events of the move.
void Warp(Display* display, int x, int y) {
    XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
    XFlush(display);
}

// Another program's windows, which take motion the way toolkits do: Qt
// selects XInput2 motion, older toolkits core motion.
enum class Takes { Nothing, CoreMotion, XiMotion };

Window OtherWindow(Display* display, Window parent, TRect rect, Takes takes) {
    Window window = XCreateSimpleWindow(display, parent, rect.Left, rect.Top,
                                        static_cast<unsigned>(rect.Width()),
                                        static_cast<unsigned>(rect.Height()), 0, 0, 0);
    if (takes == Takes::CoreMotion)
        XSelectInput(display, window, PointerMotionMask);
    if (takes == Takes::XiMotion) {
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(bits, XI_Motion);
        XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
        XISelectEvents(display, window, &mask, 1);
    }
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

TEST_F(HookTest, AWarpIsReportedWithItsPositionOverAnyWindow) {
    TestClient other;
    Display* d = other.GetDisplay();
    const Window root = other.Root();
    // Windows there before the watch starts: the tucked main window's strip
    // and a window beside it.
    OtherWindow(d, root, {0, 0, 1024, 5}, Takes::XiMotion);
    OtherWindow(d, root, {100, 200, 400, 400}, Takes::CoreMotion);
    // Windows that become top-level windows only after it started.
    const Window holder = OtherWindow(d, root, {500, 200, 800, 400}, Takes::Nothing);
    const Window adoptedA = OtherWindow(d, holder, {0, 0, 100, 100}, Takes::CoreMotion);
    const Window adoptedB = OtherWindow(d, holder, {100, 0, 200, 100}, Takes::XiMotion);

    hook::PointerWatcher watcher(hook::DefaultCoalesceInterval);
    watcher.Start(target_);
    ASSERT_TRUE(MoveUntilReported(300, 650));
    LastReport();

    struct Case {
        const char* what;
        std::function<void()> before;
        TPoint from, to;
    };
    const Case cases[] = {
        {"over the root background", [] {}, {300, 650}, {320, 660}},
        {"from the background onto a window that takes XInput2 motion",
         [] {},
         {320, 660},
         {512, 3}},
        {"between two windows that were there before the watch", [] {}, {512, 3}, {200, 300}},
        {"between two windows made after the watch started",
         [&] {
             OtherWindow(d, root, {100, 450, 250, 550}, Takes::CoreMotion);
             OtherWindow(d, root, {250, 450, 400, 550}, Takes::XiMotion);
         },
         {150, 500},
         {300, 500}},
        {"between two windows reparented to the root after the watch started",
         [&] {
             XReparentWindow(d, adoptedA, root, 500, 450);
             XReparentWindow(d, adoptedB, root, 600, 450);
             XSync(d, False);
         },
         {550, 500},
         {650, 500}},
        {"after windows that vanished before the watch could select on them",
         [&] {
             for (int i = 0; i < 30; ++i)
                 XDestroyWindow(d, OtherWindow(d, root, {10, 300, 60, 350}, Takes::CoreMotion));
             XSync(d, False);
         },
         {30, 320},
         {40, 330}},
    };
    for (const Case& c : cases) {
        c.before();
        std::this_thread::sleep_for(50ms); // the watch hears of new windows
        Warp(d, c.from.X, c.from.Y);
        LastReport();
        Warp(d, c.to.X, c.to.Y);
        auto message = client_->WaitClientMessage(watchMouse_, 2s);
        if (!message) {
            ADD_FAILURE() << c.what << ": the warp was not reported";
            continue;
        }
        EXPECT_EQ(message->window, target_) << c.what;
        EXPECT_EQ(message->data.l[0], Packed(c.to.X, c.to.Y)) << c.what;
    }

    LastReport();
    const unsigned long atRest = watcher.PointerReads();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(watcher.PointerReads(), atRest) << "the pointer was read while it rested";
}

// What the watch selects must not take motion from the programs that asked
// for it: core and XInput2 motion stop at the first window where some client
// selected them, so a selection of ours on the way would swallow them.
TEST_F(HookTest, OtherProgramsStillGetTheirMotionWhileTheWatchRuns) {
    TestClient other;
    Display* d = other.GetDisplay();
    const Window root = other.Root();
    const Window topLevel = OtherWindow(d, root, {100, 100, 500, 400}, Takes::Nothing);
    OtherWindow(d, topLevel, {50, 50, 350, 250}, Takes::Nothing);
    SetHook(target_);
    ASSERT_TRUE(MoveUntilReported(300, 650));

    struct Case {
        const char* what;
        Window listenOn; // None: the top-level window above
        Takes takes;
    };
    const Case cases[] = {
        {"core motion on the root", root, Takes::CoreMotion},
        {"XInput2 motion on the root", root, Takes::XiMotion},
        {"core motion on a top-level window, pointer over its child", None, Takes::CoreMotion},
        {"XInput2 motion on a top-level window, pointer over its child", None, Takes::XiMotion},
    };
    int step = 0;
    for (const Case& c : cases) {
        TestClient listener;
        Display* l = listener.GetDisplay();
        const Window on = c.listenOn != None ? c.listenOn : topLevel;
        int opcode = 0, event = 0, error = 0;
        XQueryExtension(l, "XInputExtension", &opcode, &event, &error);
        if (c.takes == Takes::CoreMotion) {
            XSelectInput(l, on, PointerMotionMask);
        } else {
            int major = 2, minor = 2;
            XIQueryVersion(l, &major, &minor);
            unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
            XISetMask(bits, XI_Motion);
            XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
            XISelectEvents(l, on, &mask, 1);
        }
        XSync(l, False);
        for (bool warp : {true, false}) {
            const int x = 200 + 10 * ++step, y = 250;
            if (warp)
                Warp(d, x, y);
            else
                other.FakeMotion(x, y);
            bool heard = false;
            const auto deadline = std::chrono::steady_clock::now() + 2s;
            while (!heard && std::chrono::steady_clock::now() < deadline) {
                while (!heard && XPending(l) > 0) {
                    XEvent e;
                    XNextEvent(l, &e);
                    heard = (e.type == MotionNotify && e.xmotion.x_root == x) ||
                            (e.type == GenericEvent && e.xcookie.extension == opcode &&
                             e.xcookie.evtype == XI_Motion);
                }
                std::this_thread::sleep_for(5ms);
            }
            EXPECT_TRUE(heard) << c.what << (warp ? ", warped" : ", moved");
        }
    }
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
