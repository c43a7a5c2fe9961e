// Qt before Xlib: Xlib defines macros (Bool, Status) that Qt's headers refuse.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QtGui/qguiapplication_platform.h>

#include "platform/x11/x11_platform.h"

#include "hook/ruvazad1.h"
#include "platform/sound.h"
#include "platform/x11/help_viewer.h"
#include "platform/x11/own_windows.h"
#include "platform/x11/qt_system.h"
#include "platform/x11/x11_desktop.h"

#include <X11/Xlib.h>

namespace wt {

namespace {

// The display Qt talks to, so that window ids and atoms are the same server's.
std::string QtDisplayName() {
    auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!gui)
        return {};
    if (auto* x11 = gui->nativeInterface<QNativeInterface::QX11Application>())
        if (Display* display = x11->display())
            return DisplayString(display);
    return {};
}

constexpr char RefusalCaption[] = "Wingtucker";

} // namespace

// Help pages in our viewer; a page or topic that is not there is said once,
// as a help engine does.
class X11Platform::ViewerHelp : public HelpDriver {
public:
    explicit ViewerHelp(SystemDriver& system) : system_(system) {}
    bool ShowHelp(std::string_view helpFile, std::string_view topic) override {
        std::string problem;
        if (viewer_.Show(helpFile, topic, &problem))
            return true;
        if (!problem.empty())
            system_.MessageBox(problem, "Wingtucker Help");
        return false;
    }

private:
    SystemDriver& system_;
    HelpViewer viewer_;
};

class X11Platform::PointerHook : public HookDriver {
public:
    void SetHook(WindowHandle window) override { ::SetHook(static_cast<unsigned long>(window)); }
    void ResetHook() override { ::ResetHook(); }
};

X11Platform::X11Platform() : X11Platform(QtDisplayName()) {}

X11Platform::X11Platform(const std::string& displayName, std::string configDir)
    : Platform(std::move(configDir)) {
    windows_ = std::make_unique<X11Windows>(displayName);
    X11Windows& windows = *windows_;
    system_ = std::make_unique<QtSystem>(windows.Desktop().Atoms().WmWatchMouse,
                                         [&windows] { return windows.ActiveOtherWindow(); });
    QtSystem& system = *system_;
    windows.SetHooks({
        [&system] { system.Own().NoteOwnChange(); },
        [&system](const std::string& text) { system.TellLater(text, RefusalCaption); },
        [&system](unsigned long window) { return system.Own().Known(window); },
        [](unsigned long window) { return QtSystem::IsHostWindow(window); },
        [&system, &windows] { system.Own().ActiveWindowChanged(windows.HostProgramActive()); },
        [&system] { system.Own().PostToAll(WM_DISPLAYCHANGE); },
    });
    if (QCoreApplication::instance()) {
        windows.WatchRoot();
        auto* notifier =
            new QSocketNotifier(ConnectionNumber(windows.GetDisplay()), QSocketNotifier::Read);
        QObject::connect(notifier, &QSocketNotifier::activated,
                         [&windows] { windows.HandleEvents(); });
        // Our own round trips read events into Xlib's queue, where the socket
        // no longer shows them: they are handled before the loop sleeps.
        if (auto* dispatcher = QAbstractEventDispatcher::instance())
            QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, notifier,
                             [&windows] {
                                 if (windows.EventsQueued())
                                     windows.HandleEvents();
                             });
        eventWatch_.reset(notifier);
    }
    help_ = std::make_unique<ViewerHelp>(system);
    sound_ = std::make_unique<WaveSound>();
    hook_ = std::make_unique<PointerHook>();
    UseDrivers({windows_.get(), system_.get(), sound_.get(), help_.get(), hook_.get()});
}

X11Platform::~X11Platform() {
    try {
        windows_->ReleaseWindows();
    } catch (...) {
        // leaving anyway
    }
    eventWatch_.reset();
    hook_.reset();
    sound_.reset();
    help_.reset();
    system_.reset();
    windows_.reset();
}

} // namespace wt
