// The simulated desktop: an in-memory window system with a virtual clock,
// a message queue, a recording sound device and help viewer, a configuration
// directory a test chooses and a current directory of its own. Tests script
// it. One world serves as every driver: its clock fires the timers, delivers
// the messages and times the sounds.
#pragma once

#include "platform/platform.h"
#include "platform/tuck_guard.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wt {

class SimPlatform : public Platform,
                    public WindowsDriver,
                    public SystemDriver,
                    public SoundDriver,
                    public HelpDriver,
                    public HookDriver {
public:
    struct Window {
        WindowHandle Handle = 0;
        std::string ClassName;
        std::string Title;
        TRect Rect;
        WindowHandle Parent = 0; // child windows: the window they sit in
        WindowHandle Owner = 0;  // pop-ups: the window that owns them
        bool Visible = true;
        // What a window rule reads besides the class (ClassName) and title.
        std::string Instance;
        std::string Role;
        std::string Type;
        unsigned long Leader = 0; // client leader, 0 for none
        long Pid = 0;
    };
    struct MoveCall {
        WindowHandle Window = 0;
        int X = 0, Y = 0, Width = 0, Height = 0;
        bool Repaint = false;
        bool Moved = false; // false for 0 or unknown handles
        TRect Rect() const { return {X, Y, X + Width, Y + Height}; }
    };
    struct SoundRequest {
        std::string FileName;
        unsigned Flags = 0;
        std::int64_t At = 0;
        bool Played = false;
    };
    struct HelpRequest {
        std::string HelpFile;
        std::string Topic;
    };
    struct MessageBoxCall {
        std::string Text;
        std::string Caption;
    };

    // configDir: the configuration directory (the role of the Windows directory).
    explicit SimPlatform(std::string configDir = {});
    ~SimPlatform() override;

    // --- Scripting the desktop ---------------------------------------------
    // Adds a top-level window on top of the z-order.
    WindowHandle AddWindow(std::string className, std::string title, TRect rect);
    // Adds a child window inside parent, on top of its siblings.
    WindowHandle AddChildWindow(WindowHandle parent, std::string className, TRect rect);
    // Adds a pop-up owned by owner, on top of the z-order.
    WindowHandle AddPopup(WindowHandle owner, std::string className, std::string title, TRect rect);
    // Removes a window and its children; the handle is never reused.
    void DestroyWindow(WindowHandle window);
    void SetWindowRect(WindowHandle window, TRect rect);
    // Sets what a window rule reads of the window besides class and title.
    void SetWindowFacts(WindowHandle window, std::string instance, std::string role,
                        std::string type);
    // Says which client made the window (its leader and process).
    void SetWindowClient(WindowHandle window, unsigned long leader, long pid);
    const Window* FindById(WindowHandle window) const;
    // Top-level windows from the top of the z-order down.
    std::vector<WindowHandle> ZOrder() const;
    void SetSystemMetric(int index, int value);
    void SetScreen(int width, int fullScreenHeight, int captionHeight);
    // Sets the monitors (none: the screen alone) and tells our windows, as
    // a desktop does when a monitor is added, removed or moved.
    void SetMonitors(std::vector<TRect> monitors);
    // How a window is shown; a maximized one fills the screen and goes back
    // to normalRect when restored.
    void SetShowState(WindowHandle window, TShowState state, TRect normalRect = {});
    // Keys another program holds: registering them fails.
    std::vector<THotKey> HotKeysHeldElsewhere;
    // The user presses key: the window that registered it gets WM_HOTKEY.
    // False when none did.
    bool PressHotKey(const THotKey& key);
    bool HotKeyRegistered(const THotKey& key) const;
    // A pointer button held; another program's full-screen window in front.
    bool ButtonDown = false;
    // Windows on a workspace other than the one shown.
    std::vector<WindowHandle> OnOtherWorkspace;
    std::optional<TRect> FullScreen;

    const std::vector<MoveCall>& MoveCalls() const { return moves_; }
    void ClearMoveCalls() { moves_.clear(); }
    const std::vector<WindowHandle>& BringToTopCalls() const { return bringToTop_; }
    const std::vector<SoundRequest>& SoundRequests() const { return sounds_; }
    const std::vector<HelpRequest>& HelpRequests() const { return help_; }
    const std::vector<MessageBoxCall>& MessageBoxCalls() const { return messageBoxes_; }
    void ClearRecords();
    // Called inside MessageBox, so a test can act while the "modal" box is up.
    std::function<void(const MessageBoxCall&)> OnMessageBox;
    // Called on every MoveWindow, before it takes effect (for tests of
    // windows that vanish mid-slide or of work done between steps).
    std::function<void(const MoveCall&)> OnMoveWindow;

    // --- A window manager ----------------------------------------------------
    // Without one, every move lands as asked. With one, moves of top-level
    // windows go through the same checks as on the real desktop
    // (tuck_guard.h): asked through the manager, a window keeps KeepOnScreen
    // pixels of each direction on screen (-1: all of it); taken from it, a
    // window goes anywhere when AllowsTakeOver, else it is kept as asked
    // through the manager.
    struct Manager {
        std::string Name;
        int KeepOnScreen = -1;
        bool AllowsTakeOver = false;
    };
    void SetManager(std::optional<Manager> manager);
    // Whether the window stands taken from the manager now.
    bool TakenFromManager(WindowHandle window) const;
    // Moves the guard carried out, in each way, in order.
    struct Placement {
        WindowHandle Window = 0;
        TRect Target;
        TuckWay Way = TuckWay::Direct;
    };
    const std::vector<Placement>& Placements() const { return placements_; }

    // --- The virtual clock ---------------------------------------------------
    // Moves the clock forward, firing due timers in due order, each at its
    // interval; posted messages are delivered as the clock passes.
    void Advance(std::int64_t ms);
    std::int64_t Now() const { return now_; }
    bool TimerActive(TimerId timer) const;
    std::size_t ActiveTimerCount() const { return timers_.size(); }

    // --- Messages --------------------------------------------------------------
    std::size_t PendingMessages() const { return queue_.size(); }

    // --- Hook library ----------------------------------------------------------
    WindowHandle HookWindow() const { return hookWindow_; }
    int SetHookCalls() const { return setHookCalls_; }
    int ResetHookCalls() const { return resetHookCalls_; }
    // What the real hook does on a pointer move: posts WM_WATCHMOUSE to the
    // hooked window (nothing while no hook is set). Returns whether it posted.
    bool MovePointer(int x, int y);

    // --- Help viewer -----------------------------------------------------------
    // Registers a topic as existing in a help file (ShowHelp fails for others).
    void AddHelpTopic(std::string helpFile, std::string topic);

    // --- The drivers ------------------------------------------------------------
    WindowHandle FindWindow(std::string_view className,
                            std::optional<std::string_view> title) override;
    bool IsWindow(WindowHandle window) override;
    TRect GetWindowRect(WindowHandle window) override;
    bool MoveWindow(WindowHandle window, int x, int y, int width, int height,
                    bool repaint) override;
    bool BringWindowToTop(WindowHandle window) override;
    int GetSystemMetrics(int index) override;
    std::vector<TRect> Monitors() override { return monitors_; }
    TShowState ShowStateOf(WindowHandle window) override;
    bool ShowWindow(WindowHandle window, int command) override;
    bool PointerButtonDown() override { return ButtonDown; }
    bool IsWindowOnCurrentVirtualDesktop(WindowHandle window) override {
        return std::find(OnOtherWorkspace.begin(), OnOtherWorkspace.end(), window) ==
               OnOtherWorkspace.end();
    }
    bool FullScreenOver(TRect monitor) override {
        return FullScreen && FullScreen->Contains((monitor.Left + monitor.Right) / 2,
                                                  (monitor.Top + monitor.Bottom) / 2);
    }
    WindowHandle WindowFromPoint(TPoint point) override;
    WindowHandle GetParent(WindowHandle window) override;
    std::vector<WindowHandle> TopLevelWindows() override;
    std::optional<TWindowFacts> FactsOf(WindowHandle window) override;
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
    bool RegisterHotKey(WindowHandle window, int id, const THotKey& key) override;
    void UnregisterHotKey(WindowHandle window, int id) override;

    TimerId SetTimer(int intervalMs, std::function<void()> tick) override;
    void KillTimer(TimerId timer) override;
    std::int64_t TickCount() override { return now_; }

    bool PlaySound(std::string_view fileName, unsigned flags) override;

    bool ShowHelp(std::string_view helpFile, std::string_view topic) override;

    void SetHook(WindowHandle window) override;
    void ResetHook() override;

private:
    class Desk;
    TRect ScreenRect() const;
    TRect Kept(TRect target) const; // where the manager lets target land

    struct Timer {
        int Interval = 0;
        std::int64_t Due = 0;
        std::uint64_t Order = 0; // tie-break: older timers first
        bool Running = false;    // a tick never re-enters itself
        std::function<void()> Tick;
    };
    struct OwnWindow {
        MessageHandler Handler;
    };

    bool Deliver(const WindowMessage& message);
    void DeliverQueued();
    void FireZeroIntervalTimers();
    WindowHandle NewHandle() { return nextHandle_++; }
    WindowHandle TopmostAt(const std::vector<WindowHandle>& layer, TPoint p) const;
    std::vector<WindowHandle> ChildrenOf(WindowHandle parent) const; // topmost first

    std::map<WindowHandle, Window> windows_;
    std::vector<WindowHandle> zOrder_; // every window, bottom first
    std::map<int, int> metrics_;
    std::vector<MoveCall> moves_;
    std::vector<WindowHandle> bringToTop_;
    std::vector<SoundRequest> sounds_;
    std::vector<HelpRequest> help_;
    std::vector<MessageBoxCall> messageBoxes_;
    std::map<std::string, std::vector<std::string>> helpTopics_;
    std::int64_t soundBusyUntil_ = 0;

    std::int64_t now_ = 0;
    std::map<TimerId, Timer> timers_;
    TimerId nextTimer_ = 1;
    std::uint64_t timerOrder_ = 0;

    std::map<WindowHandle, OwnWindow> own_;
    std::vector<TRect> monitors_;
    struct HotKeyEntry {
        WindowHandle Window;
        int Id;
        THotKey Key;
    };
    std::vector<HotKeyEntry> hotKeys_;
    struct Shown {
        TShowState State;
        TRect Normal;
    };
    std::map<WindowHandle, Shown> showStates_;
    std::deque<WindowMessage> queue_;

    WindowHandle hookWindow_ = 0;
    int setHookCalls_ = 0;
    int resetHookCalls_ = 0;

    std::optional<Manager> manager_;
    std::unique_ptr<Desk> desk_;
    std::unique_ptr<TuckGuard> guard_;
    std::map<WindowHandle, bool> taken_;
    std::vector<Placement> placements_;

    WindowHandle nextHandle_ = 0x100;
};

} // namespace wt
