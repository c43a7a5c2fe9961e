#include "platform/x11/ide_watch.h"

#include "platform/x11/x11_desktop.h"
#include "platform/x11/x11_errors.h"
#include "platform/x11/x11_homes.h"

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <QTimer>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace wt {

IdeWatch::IdeWatch(TWindowRule mainRule, TWindowRule inspectorRule, QObject* parent)
    : QObject(parent), mainRule_(std::move(mainRule)), inspectorRule_(std::move(inspectorRule)),
      settle_(new QTimer(this)) {
    settle_->setSingleShot(true);
    settle_->setInterval(SettleQuiet);
    connect(settle_, &QTimer::timeout, this, &IdeWatch::Settled);
}

void IdeWatch::Settled() {
    if (!settling_)
        return;
    main_ = settling_;
    settling_ = 0;
    mainTitle_ = TitleOf(main_);
    emit MainChanged();
    Look(); // its inspector, now that the main window is known
    XFlush(display_);
}

IdeWatch::~IdeWatch() {
    notifier_.reset();
    desktop_.reset();
    if (display_) {
        XCloseDisplay(display_);
        UnwatchDisplayErrors(display_);
    }
}

bool IdeWatch::Open(QString* error) {
    display_ = XOpenDisplay(nullptr);
    if (!display_) {
        *error = QStringLiteral("the X display \"%1\" cannot be opened")
                     .arg(qEnvironmentVariable("DISPLAY"));
        return false;
    }
    WatchDisplayErrors(display_);
    desktop_ = std::make_unique<X11Desktop>(display_);
    XSelectInput(display_, desktop_->Root(), SubstructureNotifyMask | PropertyChangeMask);
    notifier_ =
        std::make_unique<QSocketNotifier>(ConnectionNumber(display_), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &IdeWatch::ReadEvents);
    // Our own round trips read events into Xlib's queue, where the socket no
    // longer shows them: they are handled before the loop sleeps.
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (XEventsQueued(display_, QueuedAlready) > 0)
                ReadEvents();
        });
    // The first look once the event loop runs: what it sets off (the add-in's
    // dialogs among it) must end when the program is asked to quit.
    QTimer::singleShot(0, this, [this] {
        // Windows a run left tucked whose guardian could not help go home first.
        ReturnOrphans(*desktop_);
        Look();
        XFlush(display_);
    });
    XFlush(display_);
    return true;
}

void IdeWatch::ReadEvents() {
    // Our own requests may have read events into Xlib's queue already.
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        Handle(event);
    }
    XFlush(display_);
}

void IdeWatch::Handle(const XEvent& event) {
    switch (event.type) {
    case DestroyNotify: {
        const Window gone = event.xdestroywindow.window;
        if (gone == settling_) {
            settling_ = 0;
            settle_->stop();
        }
        if (gone == main_) {
            main_ = 0;
            mainTitle_.clear();
            emit MainChanged();
        }
        if (gone == inspector_) {
            inspector_ = 0;
            emit InspectorChanged();
        }
        if (gone == main_ || gone == inspector_ || !main_ || !inspector_)
            Look();
        break;
    }
    case PropertyNotify: {
        const Atom atom = event.xproperty.atom;
        const bool title = atom == XA_WM_NAME || atom == desktop_->Atoms().NetWmName;
        if (title && event.xproperty.window == main_) {
            const QString now = TitleOf(main_);
            if (now != mainTitle_) {
                mainTitle_ = now;
                emit MainChanged();
            }
        } else if ((title || atom == desktop_->Atoms().NetClientList) && (!main_ || !inspector_)) {
            Look();
        }
        break;
    }
    case ConfigureNotify:
        // The IDE still places the window it has just shown: wait for quiet.
        if (event.xconfigure.window == settling_ && Clock::now() < settleBy_)
            settle_->start();
        break;
    case CreateNotify:
    case MapNotify:
    case ReparentNotify:
        if (!main_ || !inspector_)
            Look();
        break;
    default: break;
    }
}

void IdeWatch::Look() {
    for (Window window : desktop_->TopLevelCandidates()) {
        Follow(window);
        if (main_ && inspector_)
            break;
        if (main_ || settling_)
            continue;
        const std::optional<TWindowFacts> facts = desktop_->FactsOf(window);
        // Shown windows only: an IDE may make its windows long before it shows them.
        if (facts && mainRule_.Matches(*facts) && Viewable(window)) {
            settling_ = window;
            settleBy_ = Clock::now() + MaxSettle;
            settle_->start();
            emit MainFound(QString::fromStdString(facts->Title));
        }
    }
    if (main_ && !inspector_) {
        // The IDE's own inspector, once its main window has settled: of the
        // main window's client where it says.
        const std::optional<TWindowFacts> mainFacts = desktop_->FactsOf(main_);
        for (Window window : desktop_->TopLevelCandidates()) {
            const std::optional<TWindowFacts> facts = desktop_->FactsOf(window);
            if (!facts || !inspectorRule_.Matches(*facts) || !Viewable(window))
                continue;
            if (mainFacts && (mainFacts->Leader || mainFacts->Pid) &&
                !SameClient(*mainFacts, *facts))
                continue;
            inspector_ = window;
            emit InspectorChanged();
            break;
        }
    }
}

// Titles and destruction of a top-level window are followed from when it is
// first seen; selecting the same events again costs nothing.
void IdeWatch::Follow(unsigned long window) {
    X11ErrorTrap trap(display_); // the window may be gone already
    XSelectInput(display_, window, PropertyChangeMask | StructureNotifyMask);
}

bool IdeWatch::Viewable(unsigned long window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display_, window, &attributes) &&
           attributes.map_state == IsViewable;
}

QString IdeWatch::TitleOf(unsigned long window) {
    const std::optional<std::string> title = desktop_->TitleOf(window);
    return QString::fromStdString(title.value_or(""));
}

} // namespace wt
