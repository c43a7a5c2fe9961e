// The application object: owner of the forms, its help file and help calls,
// the owner window all forms stay in front of (a window of the host), the
// message pump, the application's activation delivered to forms as
// WM_ACTIVATEAPP, screen cursors by number, and the default error report.
#pragma once

#include "toolkit/core/component.h"
#include "toolkit/core/enums.h"
#include "toolkit/core/event.h"

#include "platform/types.h"

#include <QCursor>
#include <QString>

#include <exception>
#include <map>
#include <vector>

class QWidget;

namespace wt {

class TForm;

using TExceptionEvent = TEvent<TObject*, const std::exception&>;

class TApplication : public TComponent {
    Q_OBJECT
public:
    explicit TApplication(TComponent* owner = nullptr);
    ~TApplication() override;

    QString HelpFile() const { return helpFile_; }
    void SetHelpFile(const QString& file) { helpFile_ = file; }
    // Shows the help file at a topic (a jump identifier); false when the help
    // viewer knows no such file or topic.
    bool HelpJump(const QString& topic);
    // Topic numbers are shown as their decimal text.
    bool HelpContext(int context);

    QString Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }

    // The host window that owns every form (0: none). A window of this
    // process becomes the forms' transient parent.
    WindowHandle OwnerWindow() const { return ownerWindow_; }
    void SetOwnerWindow(WindowHandle window) { ownerWindow_ = window; }
    QWidget* OwnerWidget() const;

    // Handles what is waiting (Qt events, posted messages, due timers).
    void ProcessMessages();
    // Waits for at least one event, then handles what is waiting.
    void HandleMessage();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

    // The default error report: OnException if assigned, else a message box
    // with the failure's text. Never throws.
    void HandleException(const std::exception& e);
    TExceptionEvent OnException{this, "OnException"};

    // Delivers WM_ACTIVATEAPP (wParam 1 active, 0 inactive) to every form
    // with a window; runs on Qt's application state changes.
    void Activate(bool active);
    bool Active() const { return active_; }

    // Screen cursors by number; numbers without a cursor give the arrow.
    void SetCursor(int id, const QCursor& cursor) { cursors_[id] = cursor; }
    QCursor CursorOf(TCursor id) const;

    // Every existing form, in creation order.
    const std::vector<TForm*>& Forms() const { return forms_; }
    void AddForm(TForm* form);
    void RemoveForm(TForm* form);

private:
    // Qt's application state changes become Activate calls (once a Qt
    // application object exists).
    void HookApplicationState();

    QString helpFile_;
    QString title_ = QStringLiteral("Wingtucker");
    WindowHandle ownerWindow_ = 0;
    bool terminated_ = false;
    bool active_ = true;
    bool stateHooked_ = false;
    std::map<int, QCursor> cursors_;
    std::vector<TForm*> forms_;
};

// The one application object, made on first use.
TApplication* Application();

// Runs f; a failure goes to the application's error report instead of
// escaping into the window system (use around every event handler call made
// from a Qt signal or a platform callback).
template <class F>
void Guarded(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        Application()->HandleException(e);
    }
}

} // namespace wt
