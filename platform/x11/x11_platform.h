// The real desktop: other programs' windows through Xlib on our own display
// connection, our own windows, timers and the pump through Qt, sounds through
// SDL2, the hook library libruvazad1 for the pointer watch.
#pragma once

#include "platform/platform.h"

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>

struct _XDisplay;
class QObject;

namespace wt {

class X11Desktop;
class X11Takeover;
class TuckGuard;
class OwnWindows;
class QtTimers;
class HelpViewer;
class WaveSound;

// Thrown when there is no X display to work on (a pure Wayland session).
class X11Unavailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class X11Platform : public Platform {
public:
    // Connects to the display Qt runs on (when Qt runs on X11), else to
    // $DISPLAY; throws X11Unavailable when that fails.
    X11Platform();
    // Connects to displayName ("" for $DISPLAY).
    explicit X11Platform(const std::string& displayName);
    ~X11Platform() override;

    X11Desktop& Desktop() { return *desktop_; }
    X11Takeover& Takeover() { return *takeover_; }
    // The checked moves: the way the manager is dealt with, and its refusals.
    TuckGuard& Guard() { return *guard_; }

    WindowHandle FindWindow(std::string_view className,
                            std::optional<std::string_view> title) override;
    bool IsWindow(WindowHandle window) override;
    TRect GetWindowRect(WindowHandle window) override;
    bool MoveWindow(WindowHandle window, int x, int y, int width, int height,
                    bool repaint) override;
    bool BringWindowToTop(WindowHandle window) override;
    void AwaitWithdrawn(WindowHandle window) override;
    void AwaitShown(WindowHandle window) override;
    int GetSystemMetrics(int index) override;
    WindowHandle WindowFromPoint(TPoint point) override;
    WindowHandle GetParent(WindowHandle window) override;
    void MessageBox(std::string_view text, std::string_view caption) override;
    void ReleaseWindows() override;

    WindowHandle AttachWindow(std::uintptr_t nativeId, std::string_view className,
                              MessageHandler handler) override;
    void DetachWindow(WindowHandle window) override;
    bool PostMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    bool SendMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    void ProcessMessages() override;
    bool AnotherProgramActive() override;
    // The active window when it is another program's, else none.
    std::optional<unsigned long> ActiveOtherWindow();
    bool WatchActivation(std::function<void(bool)> listener) override;

    TimerId SetTimer(int intervalMs, std::function<void()> tick) override;
    void KillTimer(TimerId timer) override;
    std::int64_t TickCount() override;

    bool PlaySound(std::string_view fileName, unsigned flags) override;

    std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue, std::size_t bufferSize,
                                        std::string_view path) override;
    bool WritePrivateProfileString(std::string_view section, std::optional<std::string_view> key,
                                   std::optional<std::string_view> value,
                                   std::string_view path) override;

    std::string GetWindowsDirectory() override;
    std::string GetModuleFileName() override;
    std::string GetCurrentDirectory() override;
    bool SetCurrentDirectory(std::string_view path) override;
    FileAttributes GetFileAttributes(std::string_view path) override;
    bool CreateDirectory(std::string_view path) override;
    std::vector<std::string> MountPoints() override;

    bool ShowHelp(std::string_view helpFile, std::string_view topic) override;

    void SetHook(WindowHandle window) override;
    void ResetHook() override;

private:
    void Open(const std::string& displayName);
    // Events of our own connection: activation requests for taken windows.
    void HandleOwnEvents();
    bool Usable() const;

    _XDisplay* display_ = nullptr; // Xlib's Display
    bool connectionLost_ = false;
    class Desk;
    std::unique_ptr<X11Desktop> desktop_;
    std::unique_ptr<X11Takeover> takeover_;
    std::unique_ptr<Desk> desk_;
    std::unique_ptr<TuckGuard> guard_;
    std::unique_ptr<OwnWindows> own_;
    std::unique_ptr<QtTimers> timers_;
    std::unique_ptr<HelpViewer> help_;
    std::unique_ptr<WaveSound> sound_;
    std::unique_ptr<QObject> eventWatch_; // reads our connection from Qt's loop
    std::chrono::steady_clock::time_point start_;
};

} // namespace wt
