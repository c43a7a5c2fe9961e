// Follows the IDE's windows on an X connection of its own, without polling:
// the root's client list and its children's creation and mapping tell when
// a window appears, property changes when a title changes (a window that
// did not match may match once titled), and destruction when one goes.
#pragma once

#include "platform/window_rule.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

class QSocketNotifier;
class QTimer;
typedef struct _XDisplay Display;
union _XEvent;

namespace wt {

class X11Desktop;

class IdeWatch : public QObject {
    Q_OBJECT
public:
    IdeWatch(TWindowRule mainRule, TWindowRule inspectorRule, QObject* parent = nullptr);
    ~IdeWatch() override;

    // Opens the connection and looks once the event loop runs; false with a
    // message when the display cannot be opened.
    bool Open(QString* error);

    unsigned long Main() const { return main_; }
    unsigned long Inspector() const { return inspector_; }
    QString MainTitle() const { return mainTitle_; }

    // A main window just shown is taken once it has been still this long:
    // an IDE places its windows itself after showing them (Lazarus moves
    // its main window to the place it remembers), and a tuck made before
    // would be undone. It is taken after MaxSettle however it moves.
    static constexpr std::chrono::milliseconds SettleQuiet{400};
    static constexpr std::chrono::milliseconds MaxSettle{3000};

signals:
    // A window matching the main rule was seen; it counts once settled.
    void MainFound(const QString& title);
    // The main window was found (and settled), was retitled, or went
    // (Main() is then 0).
    void MainChanged();
    void InspectorChanged();

private:
    void ReadEvents();
    void Handle(const _XEvent& event);
    // Matches the rules again where a window is not known yet.
    void Look();
    void Follow(unsigned long window);
    void Settled();
    QString TitleOf(unsigned long window);
    bool Viewable(unsigned long window);

    TWindowRule mainRule_;
    TWindowRule inspectorRule_;
    Display* display_ = nullptr;
    std::unique_ptr<X11Desktop> desktop_;
    std::unique_ptr<QSocketNotifier> notifier_;
    using Clock = std::chrono::steady_clock;
    QTimer* settle_;
    unsigned long settling_ = 0; // a main window found, not yet still
    Clock::time_point settleBy_;
    unsigned long main_ = 0;
    unsigned long inspector_ = 0;
    QString mainTitle_;
};

} // namespace wt
