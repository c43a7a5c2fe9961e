#include "platform/x11/own_windows.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>

#include <xcb/xcb.h>

#include <cstdio>
#include <exception>
#include <vector>

namespace wt {

OwnWindows::OwnWindows(unsigned long watchMouseAtom,
                       std::function<std::optional<unsigned long>()> activeOther)
    : watchMouseAtom_(watchMouseAtom), activeOther_(std::move(activeOther)) {
    if (auto* app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(gui, &QGuiApplication::applicationStateChanged, this,
                         [this](Qt::ApplicationState state) {
                             ActivationChanged(state == Qt::ApplicationActive);
                         });
    }
}

OwnWindows::~OwnWindows() {
    if (auto* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
}

WindowHandle OwnWindows::Attach(std::uintptr_t nativeId, std::string_view className,
                                MessageHandler handler) {
    std::lock_guard lock(mutex_);
    WindowHandle handle = nativeId != 0 ? nativeId : nextSyntheticHandle_++;
    windows_[handle] = {std::make_shared<MessageHandler>(std::move(handler)),
                        std::string(className)};
    return handle;
}

void OwnWindows::Detach(WindowHandle window) {
    std::lock_guard lock(mutex_);
    windows_.erase(window);
    std::erase_if(queue_, [window](const WindowMessage& m) { return m.Window == window; });
}

bool OwnWindows::Known(WindowHandle window) const {
    std::lock_guard lock(mutex_);
    return windows_.count(window) != 0;
}

std::size_t OwnWindows::Pending() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

bool OwnWindows::Post(const WindowMessage& message) {
    {
        std::lock_guard lock(mutex_);
        if (!windows_.count(message.Window))
            return false;
        queue_.push_back(message);
    }
    ScheduleDelivery();
    return true;
}

bool OwnWindows::Send(const WindowMessage& message) {
    if (!Known(message.Window))
        return false;
    Call(message);
    return true;
}

void OwnWindows::ScheduleDelivery() {
    {
        std::lock_guard lock(mutex_);
        if (scheduled_ || !QCoreApplication::instance())
            return; // without an event loop ProcessMessages delivers
        scheduled_ = true;
    }
    QMetaObject::invokeMethod(
        this, [this] { DeliverQueued(); }, Qt::QueuedConnection);
}

void OwnWindows::DeliverQueued() {
    std::size_t count = 0;
    {
        std::lock_guard lock(mutex_);
        scheduled_ = false;
        count = queue_.size();
    }
    for (; count > 0; --count) {
        WindowMessage message;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty())
                break;
            message = queue_.front();
            queue_.pop_front();
        }
        Call(message);
    }
    if (Pending() > 0)
        ScheduleDelivery();
}

void OwnWindows::Call(const WindowMessage& message) {
    std::shared_ptr<MessageHandler> handler;
    {
        std::lock_guard lock(mutex_);
        auto it = windows_.find(message.Window);
        if (it == windows_.end())
            return; // detached while the message waited
        handler = it->second.Handler;
    }
    if (!handler || !*handler)
        return;
    // A failing handler must not unwind through Qt's event loop.
    try {
        (*handler)(message);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Wingtucker: %s\n", e.what());
    }
}

namespace {
// How long after a change of ours the manager's choice of an active window
// is taken for a consequence of it.
constexpr std::chrono::milliseconds OwnChangeGrace{250};
} // namespace

void OwnWindows::NoteOwnChange() { lastOwnChange_ = std::chrono::steady_clock::now(); }

bool OwnWindows::OtherProgramActive() {
    const std::optional<unsigned long> other = activeOther_ ? activeOther_() : std::nullopt;
    if (!other) {
        excused_.reset();
        return false;
    }
    if (excused_ == other)
        return false;
    if (std::chrono::steady_clock::now() - lastOwnChange_ < OwnChangeGrace) {
        excused_ = other;
        return false;
    }
    excused_.reset();
    return true;
}

void OwnWindows::ActivationChanged(bool active) {
    if (active)
        excused_.reset(); // the user came back: the next program they pick counts
    if (lastActive_ == active)
        return;
    // Qt sees no window active once ours lose the input focus, also when it
    // went to no window at all (no manager; or a manager that focuses none
    // when our windows are hidden or taken), or to the window the manager
    // picked because ours went: the host is inactive only once the user has
    // made another program's window the active one.
    if (!active && !OtherProgramActive())
        return;
    lastActive_ = active;
    const std::vector<WindowHandle> targets = Attached();
    for (WindowHandle target : targets)
        Call({target, WM_ACTIVATEAPP, active ? 1u : 0u, 0});
    const auto listeners = listeners_;
    for (const auto& listener : listeners)
        listener(active);
}

std::vector<WindowHandle> OwnWindows::Attached() const {
    std::vector<WindowHandle> targets;
    std::lock_guard lock(mutex_);
    for (const auto& [handle, entry] : windows_)
        targets.push_back(handle);
    return targets;
}

void OwnWindows::PostToAll(std::uint32_t msg) {
    const std::vector<WindowHandle> targets = Attached();
    for (WindowHandle target : targets)
        Post({target, msg, 0, 0});
}

void OwnWindows::WatchActivation(std::function<void(bool)> listener) {
    listeners_.push_back(std::move(listener));
}

void OwnWindows::ActiveWindowChanged(bool hostProgramActive) {
    auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    // An IDE that runs as another program is the host: its window becoming
    // active is the host's activation, though none of ours has the focus.
    if (gui && gui->applicationState() != Qt::ApplicationActive)
        ActivationChanged(hostProgramActive);
    else
        OtherProgramActive(); // notes whether the change is one of ours
}

bool OwnWindows::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !message)
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) == XCB_UNMAP_NOTIFY) {
        NoteOwnChange(); // one of our windows went: the manager may move the focus
        return false;
    }
    if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
        return false;
    auto* client = reinterpret_cast<xcb_client_message_event_t*>(event);
    if (client->type != watchMouseAtom_ || watchMouseAtom_ == 0)
        return false;
    if (client->format != 32)
        return true; // malformed: dropped
    // The event loop is dispatching this event now, so the message is handled
    // here, as a posted message is when the loop reaches it: queueing it again
    // would wake the user-interface thread a second time for every position.
    const WindowMessage position{client->window, WM_WATCHMOUSE, 0,
                                 static_cast<std::intptr_t>(client->data.data32[0])};
    Send(position); // false for windows that are not ours: nothing to do
    return true;
}

} // namespace wt
