// Our own windows on the real desktop: their message handlers, the queue of
// posted messages (delivered from Qt's event loop), the hook's WM_WATCHMOUSE
// ClientMessages picked out of Qt's xcb events, and WM_ACTIVATEAPP on the
// application's activation changes.
#pragma once

#include "platform/platform.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace wt {

class OwnWindows : public QObject, public QAbstractNativeEventFilter {
public:
    // watchMouseAtom: the atom "WM_WATCHMOUSE" on the display Qt talks to;
    // activeKnown: whether the desktop can say which application is active.
    OwnWindows(unsigned long watchMouseAtom, std::function<bool()> activeKnown);
    ~OwnWindows() override;

    WindowHandle Attach(std::uintptr_t nativeId, std::string_view className,
                        MessageHandler handler);
    void Detach(WindowHandle window);
    bool Known(WindowHandle window) const;
    bool Post(const WindowMessage& message);
    bool Send(const WindowMessage& message);
    // Delivers the messages queued so far (not the ones they post in turn).
    void DeliverQueued();
    std::size_t Pending() const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void ScheduleDelivery();
    void ActivationChanged(bool active);
    void Call(const WindowMessage& message);

    struct Entry {
        std::shared_ptr<MessageHandler> Handler;
        std::string ClassName;
    };
    const unsigned long watchMouseAtom_;
    const std::function<bool()> activeKnown_;
    mutable std::mutex mutex_;
    std::map<WindowHandle, Entry> windows_;
    std::deque<WindowMessage> queue_;
    bool scheduled_ = false;
    std::uintptr_t nextSyntheticHandle_ = std::uintptr_t{1} << 40; // above every X id
    std::optional<bool> lastActive_;
};

} // namespace wt
