// Our own windows on the real desktop: their message handlers, the queue of
// posted messages (delivered from Qt's event loop), the hook's WM_WATCHMOUSE
// ClientMessages picked out of Qt's xcb events, and WM_ACTIVATEAPP on the
// application's activation changes.
#pragma once

#include "platform/platform.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace wt {

class OwnWindows : public QObject, public QAbstractNativeEventFilter {
public:
    // watchMouseAtom: the atom "WM_WATCHMOUSE" on the display Qt talks to;
    // activeOther: the active window when it is another program's, else none.
    OwnWindows(unsigned long watchMouseAtom,
               std::function<std::optional<unsigned long>()> activeOther);
    ~OwnWindows() override;

    WindowHandle Attach(std::uintptr_t nativeId, std::string_view className,
                        MessageHandler handler);
    void Detach(WindowHandle window);
    bool Known(WindowHandle window) const;
    bool Post(const WindowMessage& message);
    bool Send(const WindowMessage& message);
    // Queues a message with no parameters for every attached window.
    void PostToAll(std::uint32_t msg);
    // Delivers the messages queued so far (not the ones they post in turn).
    void DeliverQueued();
    std::size_t Pending() const;
    // Hears every activation change that is passed on, after our windows.
    void WatchActivation(std::function<void(bool)> listener);
    // The desktop's active window changed: a deactivation that waited for
    // another program's window may now be passed on, and a window of the
    // host's program (an IDE that runs apart from us) activates the host.
    void ActiveWindowChanged(bool hostProgramActive);
    // We hid, moved or took a window: a manager may hand the focus on to
    // another program because of it (xfwm4 does), which is not the user's
    // choice. Our windows' unmaps count by themselves.
    void NoteOwnChange();
    // Whether another program's window is active by the user's choice: not
    // one the manager activated just after a change of ours, for as long as
    // it stays the active one and the host has not been active since.
    bool OtherProgramActive();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void ScheduleDelivery();
    void ActivationChanged(bool active);
    void Call(const WindowMessage& message);
    std::vector<WindowHandle> Attached() const;

    struct Entry {
        std::shared_ptr<MessageHandler> Handler;
        std::string ClassName;
    };
    const unsigned long watchMouseAtom_;
    const std::function<std::optional<unsigned long>()> activeOther_;
    std::chrono::steady_clock::time_point lastOwnChange_{};
    std::optional<unsigned long> excused_; // activated because of a change of ours
    std::vector<std::function<void(bool)>> listeners_;
    mutable std::mutex mutex_;
    std::map<WindowHandle, Entry> windows_;
    std::deque<WindowMessage> queue_;
    bool scheduled_ = false;
    std::uintptr_t nextSyntheticHandle_ = std::uintptr_t{1} << 40; // above every X id
    std::optional<bool> lastActive_;
};

} // namespace wt
