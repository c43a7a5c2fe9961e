#include "platform/x11/own_windows.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>

#include <xcb/xcb.h>

#include <cstdio>
#include <exception>
#include <vector>

namespace wt {

OwnWindows::OwnWindows(unsigned long watchMouseAtom, std::function<bool()> anotherActive)
    : watchMouseAtom_(watchMouseAtom), anotherActive_(std::move(anotherActive)) {
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
    QMetaObject::invokeMethod(this, [this] { DeliverQueued(); }, Qt::QueuedConnection);
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

void OwnWindows::ActivationChanged(bool active) {
    if (lastActive_ == active)
        return;
    // Qt sees no window active once ours lose the input focus, also when it
    // went to no window at all (no manager; or a manager that focuses none
    // when our windows are hidden or taken): the host is inactive only once
    // another program's window is active.
    if (!active && anotherActive_ && !anotherActive_())
        return;
    lastActive_ = active;
    std::vector<WindowHandle> targets;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [handle, entry] : windows_)
            targets.push_back(handle);
    }
    for (WindowHandle target : targets)
        Call({target, WM_ACTIVATEAPP, active ? 1u : 0u, 0});
    const auto listeners = listeners_;
    for (const auto& listener : listeners)
        listener(active);
}

void OwnWindows::WatchActivation(std::function<void(bool)> listener) {
    listeners_.push_back(std::move(listener));
}

void OwnWindows::ActiveWindowChanged() {
    auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (gui && gui->applicationState() != Qt::ApplicationActive)
        ActivationChanged(false);
}

bool OwnWindows::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !message)
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
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
