// Qt before Xlib: Xlib defines macros (Bool, Status) that Qt's headers refuse.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include "platform/x11/x11_platform.h"

#include "hook/ruvazad1.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/sound.h"
#include "platform/tuck_guard.h"
#include "platform/x11/help_viewer.h"
#include "platform/x11/own_windows.h"
#include "platform/x11/qt_timers.h"
#include "platform/x11/x11_desktop.h"
#include "platform/x11/x11_errors.h"
#include "platform/x11/x11_takeover.h"

#include <X11/Xlib-xcb.h>

#include <cstdlib>
#include <thread>

namespace wt {

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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

void ConnectionLost(Display*, void* lost) {
    *static_cast<bool*>(lost) = true;
}

constexpr char RefusalCaption[] = "Wingtucker";

} // namespace

// The guard's view of the X desktop: moves through the manager, or past it
// for a window taken from it while it stands off screen.
class X11Platform::Desk : public TuckDesk {
public:
    explicit Desk(X11Platform& platform) : p_(platform) {}

    std::string ManagerName() override { return p_.desktop_->ManagerName(); }
    TRect Screen() override {
        Display* display = p_.desktop_->GetDisplay();
        return {0, 0, DisplayWidth(display, DefaultScreen(display)),
                DisplayHeight(display, DefaultScreen(display))};
    }
    std::optional<TRect> Outer(WindowHandle window) override {
        return p_.desktop_->OuterRect(static_cast<Window>(window));
    }
    bool Place(WindowHandle handle, TRect target, TuckWay way) override {
        const auto window = static_cast<Window>(handle);
        // A taken or moved window may make the manager move the focus.
        struct Noted {
            X11Platform& P;
            Noted(X11Platform& p) : P(p) { Note(); }
            ~Noted() { Note(); }
            void Note() {
                if (P.own_)
                    P.own_->NoteOwnChange();
            }
        } noted(p_);
        X11Takeover& takeover = *p_.takeover_;
        if (way == TuckWay::TakeFromManager) {
            if (takeover.Place(window, target))
                return true;
            if (takeover.IsTaken(window))
                return false;
            // Hidden, or a pop-up of its own: moved as any other window.
        } else if (takeover.IsTaken(window)) {
            return takeover.GiveBack(window, target);
        }
        return p_.desktop_->Move(window, target, true);
    }
    void Pause(int milliseconds) override {
        XSync(p_.desktop_->GetDisplay(), False);
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    void Tell(const std::string& text) override {
        // Once the move that found it is over: no modal loop inside a slide.
        auto id = std::make_shared<TimerId>(0);
        *id = p_.timers_->Set(0, [this, id, text] {
            p_.timers_->Kill(*id);
            p_.MessageBox(text, RefusalCaption);
        });
        if (*id == 0)
            p_.MessageBox(text, RefusalCaption);
    }

private:
    X11Platform& p_;
};

X11Platform::X11Platform() : X11Platform(QtDisplayName()) {}

X11Platform::X11Platform(const std::string& displayName)
    : start_(std::chrono::steady_clock::now()) {
    Open(displayName);
}

void X11Platform::Open(const std::string& displayName) {
    display_ = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!display_) {
        const char* env = std::getenv("DISPLAY");
        std::string which = !displayName.empty() ? displayName : env && *env ? env : "";
        throw X11Unavailable("Wingtucker needs an X11 session: " +
                             (which.empty() ? std::string("no X display is set (DISPLAY is empty).")
                                            : "the X display \"" + which + "\" cannot be opened."));
    }
    WatchDisplayErrors(display_);
    // A broken connection makes every window operation fail instead of ending the host.
    XSetIOErrorExitHandler(display_, ConnectionLost, &connectionLost_);
    desktop_ = std::make_unique<X11Desktop>(display_);
    takeover_ = std::make_unique<X11Takeover>(*desktop_);
    desk_ = std::make_unique<Desk>(*this);
    guard_ = std::make_unique<TuckGuard>(*desk_);
    takeover_->OwnWindow = [this](Window window) { return own_ && own_->Known(window); };
    own_ = std::make_unique<OwnWindows>(desktop_->Atoms().WmWatchMouse,
                                        [this] { return ActiveOtherWindow(); });
    timers_ = std::make_unique<QtTimers>();
    if (QCoreApplication::instance()) {
        // Activation requests go to the root for the manager, and to every
        // client listening there; a taken window has no manager to answer.
        // The root's properties tell when another window becomes active.
        XSelectInput(display_, desktop_->Root(), SubstructureNotifyMask | PropertyChangeMask);
        auto* notifier = new QSocketNotifier(ConnectionNumber(display_), QSocketNotifier::Read);
        QObject::connect(notifier, &QSocketNotifier::activated, [this] { HandleOwnEvents(); });
        // Our own round trips read events into Xlib's queue, where the socket
        // no longer shows them: they are handled before the loop sleeps.
        if (auto* dispatcher = QAbstractEventDispatcher::instance())
            QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, notifier, [this] {
                if (XEventsQueued(display_, QueuedAlready) > 0)
                    HandleOwnEvents();
            });
        eventWatch_.reset(notifier);
    }
    help_ = std::make_unique<HelpViewer>();
    sound_ = std::make_unique<WaveSound>();
}

X11Platform::~X11Platform() {
    try {
        ReleaseWindows();
    } catch (...) {
        // leaving anyway
    }
    eventWatch_.reset();
    sound_.reset();
    help_.reset();
    timers_.reset();
    own_.reset();
    guard_.reset();
    desk_.reset();
    takeover_.reset();
    desktop_.reset();
    if (display_) {
        if (Usable())
            XCloseDisplay(display_);
        UnwatchDisplayErrors(display_);
    }
}

// Once the connection is broken no request may be made on it at all: Xlib
// prints a line for each one.
bool X11Platform::Usable() const {
    return display_ && !connectionLost_ && !xcb_connection_has_error(XGetXCBConnection(display_));
}

// --- Other programs' windows ---------------------------------------------------

WindowHandle X11Platform::FindWindow(std::string_view className,
                                     std::optional<std::string_view> title) {
    if (!Usable())
        return 0;
    const Window window = desktop_->Find(className, title);
    // A run that ended without giving it back left it taken from the manager.
    takeover_->RecoverLeftover(window);
    return window;
}

bool X11Platform::IsWindow(WindowHandle window) {
    return Usable() && desktop_->Exists(static_cast<Window>(window));
}

TRect X11Platform::GetWindowRect(WindowHandle window) {
    if (!Usable())
        return {};
    const auto outer = desktop_->OuterRect(static_cast<Window>(window));
    if (outer)
        guard_->Seen(window, *outer);
    return outer.value_or(TRect{});
}

bool X11Platform::MoveWindow(WindowHandle window, int x, int y, int width, int height,
                             bool repaint) {
    if (!Usable() || window == 0)
        return false;
    (void)repaint; // every move waits for its effect: it is read back at once
    return guard_->Move(window, {x, y, x + width, y + height});
}

bool X11Platform::BringWindowToTop(WindowHandle window) {
    return Usable() && desktop_->Raise(static_cast<Window>(window));
}

void X11Platform::AwaitWithdrawn(WindowHandle window) {
    if (Usable())
        desktop_->AwaitRelease(static_cast<Window>(window));
}

void X11Platform::AwaitShown(WindowHandle window) {
    // A form of ours is about to be hidden: the manager may hand the focus
    // on to another program because of it.
    own_->NoteOwnChange();
    if (Usable())
        desktop_->AwaitShown(static_cast<Window>(window));
}

int X11Platform::GetSystemMetrics(int index) {
    if (!Usable())
        return 0;
    switch (index) {
    case SM_CXSCREEN:
        // Asked for when a start or a desktop load measures the screen: the
        // tucks that follow are a new attempt, even after a refusal.
        guard_->NewAttempt();
        return desktop_->ScreenWidth();
    case SM_CYCAPTION:
        return desktop_->CaptionHeight();
    case SM_CYFULLSCREEN:
        return desktop_->WorkAreaHeight() - desktop_->CaptionHeight();
    default:
        return 0;
    }
}

WindowHandle X11Platform::WindowFromPoint(TPoint point) {
    return Usable() ? desktop_->WindowAt(point) : 0;
}

WindowHandle X11Platform::GetParent(WindowHandle window) {
    return Usable() ? desktop_->ParentOf(static_cast<Window>(window)) : 0;
}

void X11Platform::MessageBox(std::string_view text, std::string_view caption) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return; // no widgets to show it with
    QMessageBox box(QMessageBox::NoIcon, ToQString(caption), ToQString(text), QMessageBox::Ok);
    box.exec();
}

void X11Platform::HandleOwnEvents() {
    if (!Usable())
        return;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == ClientMessage &&
            event.xclient.message_type == desktop_->Atoms().NetActiveWindow)
            takeover_->Activate(event.xclient.window);
        else if (event.type == PropertyNotify &&
                 event.xproperty.atom == desktop_->Atoms().NetActiveWindow) {
            takeover_->KeepFocus();
            own_->ActiveWindowChanged();
        }
    }
    XFlush(display_);
}

void X11Platform::ReleaseWindows() {
    if (!Usable())
        return;
    guard_->ReleaseAll();
    takeover_->GiveBackAll(); // any still taken: where they stood before
}

// --- Our own windows, messages and the pump --------------------------------------

WindowHandle X11Platform::AttachWindow(std::uintptr_t nativeId, std::string_view className,
                                       MessageHandler handler) {
    return own_->Attach(nativeId, className, std::move(handler));
}

void X11Platform::DetachWindow(WindowHandle window) {
    own_->Detach(window);
}

bool X11Platform::PostMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                              std::intptr_t lParam) {
    return own_->Post({window, msg, wParam, lParam});
}

bool X11Platform::SendMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                              std::intptr_t lParam) {
    return own_->Send({window, msg, wParam, lParam});
}

void X11Platform::ProcessMessages() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    own_->DeliverQueued();
}

std::optional<unsigned long> X11Platform::ActiveOtherWindow() {
    if (!Usable() || !desktop_->ActiveWindowKnown())
        return std::nullopt;
    const auto active = desktop_->ActiveWindow();
    if (!active || own_->Known(*active) || takeover_->IsTaken(*active))
        return std::nullopt;
    // The host's own windows are Qt's windows of this process.
    for (QWindow* window : QGuiApplication::allWindows())
        if (window->handle() && window->winId() == *active)
            return std::nullopt;
    return *active;
}

bool X11Platform::AnotherProgramActive() {
    return own_->OtherProgramActive();
}

bool X11Platform::WatchActivation(std::function<void(bool)> listener) {
    own_->WatchActivation(std::move(listener));
    return true;
}

// --- Timers ------------------------------------------------------------------------

TimerId X11Platform::SetTimer(int intervalMs, std::function<void()> tick) {
    return timers_->Set(intervalMs, std::move(tick));
}

void X11Platform::KillTimer(TimerId timer) {
    timers_->Kill(timer);
}

std::int64_t X11Platform::TickCount() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

// --- Sound, profiles, files, help, hook ----------------------------------------------

bool X11Platform::PlaySound(std::string_view fileName, unsigned flags) {
    return sound_->Play(fileName, flags);
}

std::string X11Platform::GetPrivateProfileString(std::string_view section, std::string_view key,
                                                 std::string_view defaultValue,
                                                 std::size_t bufferSize, std::string_view path) {
    return ProfileReadString(section, key, defaultValue, bufferSize, path);
}

bool X11Platform::WritePrivateProfileString(std::string_view section,
                                            std::optional<std::string_view> key,
                                            std::optional<std::string_view> value,
                                            std::string_view path) {
    return ProfileWriteString(section, key, value, path);
}

std::string X11Platform::GetWindowsDirectory() {
    return DefaultConfigurationDirectory();
}
std::string X11Platform::GetModuleFileName() {
    return RunningProgramFileName();
}
std::string X11Platform::GetCurrentDirectory() {
    return CurrentWorkingDirectory();
}
bool X11Platform::SetCurrentDirectory(std::string_view path) {
    return ChangeWorkingDirectory(path);
}
FileAttributes X11Platform::GetFileAttributes(std::string_view path) {
    return QueryFileAttributes(path);
}
bool X11Platform::CreateDirectory(std::string_view path) {
    return MakeOneDirectory(path);
}
std::vector<std::string> X11Platform::MountPoints() {
    return ListMountPoints();
}

bool X11Platform::ShowHelp(std::string_view helpFile, std::string_view topic) {
    // As a help engine does: a page or topic that is not there is said once.
    std::string problem;
    if (help_->Show(helpFile, topic, &problem))
        return true;
    if (!problem.empty())
        MessageBox(problem, "Wingtucker Help");
    return false;
}

void X11Platform::SetHook(WindowHandle window) {
    ::SetHook(static_cast<unsigned long>(window));
}

void X11Platform::ResetHook() {
    ::ResetHook();
}

} // namespace wt
