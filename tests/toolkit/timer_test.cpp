// Timers on the simulated clock: ticks at the interval while enabled, none
// while disabled, zero intervals on the next pass of the message loop, and
// failing handlers reported without stopping the timer.
#include "form_support.h"

#include "toolkit/forms/application.h"
#include "toolkit/controls/timer.h"

#include <vector>

namespace wt::test {
namespace {

class TimerTest : public FormTest {
protected:
    std::vector<std::int64_t> ticks;
    void Watch(TTimer& timer) {
        timer.OnTimer = [this, &timer](TObject* sender) {
            EXPECT_EQ(sender, &timer);
            ticks.push_back(Sim().Now());
        };
    }
};

TEST_F(TimerTest, FiresEveryIntervalWhileEnabled) {
    TTimer timer;
    timer.SetInterval(250);
    Watch(timer);
    Sim().Advance(1000);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{250, 500, 750, 1000}));
    timer.SetEnabled(false);
    Sim().Advance(1000);
    EXPECT_EQ(ticks.size(), 4u);
    EXPECT_FALSE(timer.Running());
}

TEST_F(TimerTest, EnablingAnEnabledTimerDoesNotRestartItButANewIntervalDoes) {
    TTimer timer; // 1000 ms, enabled from the start
    Watch(timer);
    Sim().Advance(600);
    timer.SetEnabled(true);
    timer.SetInterval(1000);
    Sim().Advance(400);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{1000}));
    timer.SetInterval(300); // counts from now
    Sim().Advance(300);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{1000, 1300}));
}

TEST_F(TimerTest, ADisabledTimerStartsCountingWhenEnabled) {
    TTimer timer;
    timer.SetEnabled(false);
    timer.SetInterval(1000);
    Watch(timer);
    Sim().Advance(5000);
    EXPECT_TRUE(ticks.empty());
    timer.SetEnabled(true);
    Sim().Advance(1000);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{6000}));
}

TEST_F(TimerTest, ZeroOrNegativeIntervalFiresOnTheNextPassOfTheMessageLoop) {
    for (int interval : {0, -5}) {
        ticks.clear();
        TTimer timer;
        timer.SetInterval(interval);
        Watch(timer);
        EXPECT_TRUE(ticks.empty()); // not before the loop runs
        Sim().ProcessMessages();
        EXPECT_EQ(ticks.size(), 1u) << interval;
        Sim().ProcessMessages();
        EXPECT_EQ(ticks.size(), 2u) << interval;
    }
}

TEST_F(TimerTest, AFailingTickIsReportedAndTheTimerGoesOn) {
    TTimer timer;
    timer.SetInterval(100);
    int calls = 0;
    timer.OnTimer = [&](TObject*) {
        ++calls;
        throw std::runtime_error("Tick failed");
    };
    Sim().Advance(200);
    EXPECT_EQ(calls, 2);
    ASSERT_EQ(Sim().MessageBoxCalls().size(), 2u);
    EXPECT_EQ(Sim().MessageBoxCalls()[0].Text, "Tick failed.");
}

TEST_F(TimerTest, AFreedTimerNoLongerTicksAndAHandlerMayFreeItsTimer) {
    auto* timer = new TTimer;
    timer->SetInterval(100);
    Watch(*timer);
    delete timer;
    Sim().Advance(500);
    EXPECT_TRUE(ticks.empty());
    EXPECT_EQ(Sim().ActiveTimerCount(), 0u);

    auto* self = new TTimer;
    self->SetInterval(100);
    int calls = 0;
    self->OnTimer = [&](TObject*) {
        ++calls;
        delete self;
    };
    Sim().Advance(500);
    EXPECT_EQ(calls, 1);
}

} // namespace
} // namespace wt::test
