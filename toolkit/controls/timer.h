// TTimer: a component that raises OnTimer every Interval milliseconds while
// Enabled, through the platform's timer service (so tests run it on the
// simulated clock). An interval of 0 or less fires on every message-loop pass.
#pragma once

#include "platform/platform.h"
#include "toolkit/core/classes.h"
#include "toolkit/core/component.h"
#include "toolkit/core/event.h"

namespace wt {

class TTimer : public TComponent {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(int Interval READ Interval WRITE SetInterval)
    Q_CLASSINFO("Default.Enabled", "True")
    Q_CLASSINFO("Default.Interval", "1000")

public:
    explicit TTimer(TComponent* owner = nullptr);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    // Enabling a running timer does not restart it.
    void SetEnabled(bool value);
    int Interval() const { return interval_; }
    // A new interval restarts the count.
    void SetInterval(int value);
    // Whether a platform timer is set for this component.
    bool Running() const { return timer_ != 0; }

    TNotifyEvent OnTimer{this, "OnTimer"};

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    void Tick();

    bool enabled_ = true;
    int interval_ = 1000;
    TimerId timer_ = 0;
};

WT_REGISTER_CLASS(TTimer);

} // namespace wt
