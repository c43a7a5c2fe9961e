#include "platform/x11/qt_timers.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <exception>

namespace wt {

QtTimers::QtTimers() = default;

QtTimers::~QtTimers() {
    for (auto& [id, timer] : timers_)
        delete timer;
}

TimerId QtTimers::Set(int intervalMs, std::function<void()> tick) {
    if (!QCoreApplication::instance())
        return 0;
    auto* timer = new QTimer;
    timer->setInterval(intervalMs > 0 ? intervalMs : 0);
    timer->setTimerType(Qt::PreciseTimer);
    auto callback = std::make_shared<std::function<void()>>(std::move(tick));
    QObject::connect(timer, &QTimer::timeout, [callback] {
        // A failing tick must not unwind through Qt's event loop.
        try {
            if (*callback)
                (*callback)();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "Wingtucker: %s\n", e.what());
        }
    });
    TimerId id = next_++;
    if (next_ == 0)
        next_ = 1;
    timers_[id] = timer;
    timer->start();
    return id;
}

void QtTimers::Kill(TimerId timer) {
    auto it = timers_.find(timer);
    if (it == timers_.end())
        return;
    it->second->stop();
    // The tick may be the one killing its own timer: delete once it has returned.
    it->second->deleteLater();
    timers_.erase(it);
}

} // namespace wt
