#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QWindow>

#include "platform/x11/qt_system.h"

#include "platform/x11/hot_keys.h"
#include "platform/x11/own_windows.h"
#include "platform/x11/qt_timers.h"

namespace wt {

namespace {
QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

QtSystem::QtSystem(unsigned long watchMouseAtom,
                   std::function<std::optional<unsigned long>()> activeOther)
    : own_(std::make_unique<OwnWindows>(watchMouseAtom, std::move(activeOther))),
      timers_(std::make_unique<QtTimers>()), start_(std::chrono::steady_clock::now()) {
    hotKeys_ = std::make_unique<HotKeys>([this](WindowHandle window, int id) {
        PostMessage(window, WM_HOTKEY, static_cast<std::uintptr_t>(id), 0);
    });
}

QtSystem::~QtSystem() {
    hotKeys_.reset();
    timers_.reset();
    own_.reset();
}

void QtSystem::TellLater(const std::string& text, const std::string& caption) {
    auto id = std::make_shared<TimerId>(0);
    *id = timers_->Set(0, [this, id, text, caption] {
        timers_->Kill(*id);
        MessageBox(text, caption);
    });
    if (*id == 0)
        MessageBox(text, caption);
}

bool QtSystem::IsHostWindow(unsigned long window) {
    for (QWindow* qtWindow : QGuiApplication::allWindows())
        if (qtWindow->handle() && qtWindow->winId() == window)
            return true;
    return false;
}

WindowHandle QtSystem::AttachWindow(std::uintptr_t nativeId, std::string_view className,
                                    MessageHandler handler) {
    return own_->Attach(nativeId, className, std::move(handler));
}

void QtSystem::DetachWindow(WindowHandle window) { own_->Detach(window); }

bool QtSystem::PostMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                           std::intptr_t lParam) {
    return own_->Post({window, msg, wParam, lParam});
}

bool QtSystem::SendMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                           std::intptr_t lParam) {
    return own_->Send({window, msg, wParam, lParam});
}

void QtSystem::ProcessMessages() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    own_->DeliverQueued();
}

void QtSystem::MessageBox(std::string_view text, std::string_view caption) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return; // no widgets to show it with
    QMessageBox box(QMessageBox::NoIcon, ToQString(caption), ToQString(text), QMessageBox::Ok);
    box.exec();
}

bool QtSystem::AnotherProgramActive() { return own_->OtherProgramActive(); }

bool QtSystem::WatchActivation(std::function<void(bool)> listener) {
    own_->WatchActivation(std::move(listener));
    return true;
}

TimerId QtSystem::SetTimer(int intervalMs, std::function<void()> tick) {
    return timers_->Set(intervalMs, std::move(tick));
}

void QtSystem::KillTimer(TimerId timer) { timers_->Kill(timer); }

std::int64_t QtSystem::TickCount() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

bool QtSystem::RegisterHotKey(WindowHandle window, int id, const THotKey& key) {
    return hotKeys_->Register(window, id, key);
}

void QtSystem::UnregisterHotKey(WindowHandle window, int id) { hotKeys_->Unregister(window, id); }

} // namespace wt
