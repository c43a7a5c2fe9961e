#include "toolkit/controls/timer.h"

#include "toolkit/forms/application.h"

namespace wt {

TTimer::TTimer(TComponent* owner) : TComponent(owner) { UpdateTimer(); }

TTimer::~TTimer() {
    if (timer_ != 0 && PlatformInstalled()) // none: its timers went with it
        ThePlatform().System().KillTimer(timer_);
}

void TTimer::SetEnabled(bool value) {
    if (value == enabled_)
        return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(int value) {
    if (value == interval_)
        return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (timer_ != 0) {
        ThePlatform().System().KillTimer(timer_);
        timer_ = 0;
    }
    if (enabled_)
        timer_ = ThePlatform().System().SetTimer(interval_, [this] { Tick(); });
}

// A failing handler goes to the error report; the timer keeps running.
void TTimer::Tick() {
    Guarded([this] { Timer(); });
}

void TTimer::Timer() { OnTimer(this); }

} // namespace wt
