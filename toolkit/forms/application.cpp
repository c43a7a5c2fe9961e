#include "toolkit/forms/application.h"

#include "toolkit/forms/form.h"

#include "platform/platform.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace wt {

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    SetName(QStringLiteral("Application"));
}

TApplication::~TApplication() { SetState(ComponentState::Destroying, true); }

bool TApplication::HelpJump(const QString& topic) {
    return ThePlatform().Help().ShowHelp(ToStd(helpFile_), ToStd(topic));
}

bool TApplication::HelpContext(int context) { return HelpJump(QString::number(context)); }

QWidget* TApplication::OwnerWidget() const {
    if (ownerWindow_ == 0 || !qApp)
        return nullptr;
    // Only a window of this process can be a Qt parent; the sim desktop's
    // handles never match one.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->internalWinId() != 0 &&
            static_cast<WindowHandle>(w->internalWinId()) == ownerWindow_)
            return w;
    return nullptr;
}

void TApplication::HookApplicationState() {
    if (stateHooked_ || !qGuiApp)
        return;
    stateHooked_ = true;
    // Only another program's window becoming active is a deactivation; a
    // platform that watches the desktop says when.
    QPointer<TApplication> self(this);
    if (ThePlatform().System().WatchActivation([self](bool active) {
            if (self && active != self->active_)
                self->Activate(active);
        }))
        return;
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
                     [this](Qt::ApplicationState state) {
                         const bool active = state == Qt::ApplicationActive;
                         if (!active && !ThePlatform().System().AnotherProgramActive())
                             return;
                         if (active != active_)
                             Activate(active);
                     });
}

void TApplication::ProcessMessages() {
    HookApplicationState();
    try {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        ThePlatform().System().ProcessMessages();
    } catch (const std::exception& e) {
        HandleException(e);
    }
}

void TApplication::HandleMessage() {
    HookApplicationState();
    try {
        // Posted platform messages first: they may be waiting without any
        // Qt event to wake the loop.
        ThePlatform().System().ProcessMessages();
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        ThePlatform().System().ProcessMessages();
    } catch (const std::exception& e) {
        HandleException(e);
    }
}

void TApplication::HandleException(const std::exception& e) {
    try {
        if (OnException) {
            OnException(this, e);
            return;
        }
        QString text = QString::fromUtf8(e.what());
        // The class library's report ends every message with a full stop.
        if (!text.isEmpty() && text.back() > u'.')
            text += u'.';
        ThePlatform().System().MessageBox(ToStd(text), ToStd(title_));
    } catch (...) {
        // The report itself must never fail the caller.
    }
}

void TApplication::Activate(bool active) {
    active_ = active;
    const std::vector<TForm*> forms = forms_;
    for (TForm* form : forms) {
        if (std::find(forms_.begin(), forms_.end(), form) == forms_.end() ||
            !form->HandleAllocated())
            continue;
        Guarded([&] { form->Perform(WM_ACTIVATEAPP, active ? 1 : 0, 0); });
    }
}

QCursor TApplication::CursorOf(TCursor id) const {
    auto it = cursors_.find(id);
    if (it != cursors_.end())
        return it->second;
    return QCursor(Qt::ArrowCursor);
}

void TApplication::AddForm(TForm* form) {
    HookApplicationState();
    if (std::find(forms_.begin(), forms_.end(), form) == forms_.end())
        forms_.push_back(form);
}

void TApplication::RemoveForm(TForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

TApplication* Application() {
    static TApplication* app = new TApplication(nullptr);
    return app;
}

} // namespace wt
