// Window-message timers on Qt's event loop: repeating, ticking on the thread
// that created them; an interval of 0 or less ticks on every loop pass.
#pragma once

#include "platform/platform.h"

#include <functional>
#include <map>
#include <memory>

class QTimer;

namespace wt {

class QtTimers {
public:
    QtTimers();
    ~QtTimers();
    // 0 when there is no Qt application to run timers.
    TimerId Set(int intervalMs, std::function<void()> tick);
    void Kill(TimerId timer);
    bool Active(TimerId timer) const { return timers_.count(timer) != 0; }

private:
    std::map<TimerId, QTimer*> timers_;
    TimerId next_ = 1;
};

} // namespace wt
