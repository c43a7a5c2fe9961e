// Takes another program's window from the window manager while it stands
// off screen, where managers that keep windows on screen cannot clamp it:
// withdrawn, made override-redirect and mapped again, it goes exactly where
// it is put. Given back, it is mapped for the manager again with its frame
// where it is asked, its window state and desktop as before. A taken window
// carries _WINGTUCKER_TAKEN (its frame and its place before), so a later run
// can give back a window that a run which ended badly left taken.
#pragma once

#include "platform/types.h"
#include "platform/x11/x11_desktop.h"

#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace wt {

class X11Takeover {
public:
    explicit X11Takeover(X11Desktop& desktop) : desktop_(desktop) {}

    bool IsTaken(Window window) const { return taken_.count(window) != 0; }
    // Our own windows (the panel): a window taken while one of them has the
    // focus gets it, so the host stays the active program when they hide.
    std::function<bool(Window)> OwnWindow;
    static constexpr unsigned long AllWorkspaces = 0xFFFFFFFF;
    // A request to activate a taken window (_NET_ACTIVE_WINDOW, as Qt sends
    // for a click), which no manager answers: the focus goes to it.
    bool Activate(Window window);
    // The manager hands the focus on when a focused window is taken, and may
    // do so after the take already gave it back: called when the active
    // window changes, this gives it back once more if that happened just now.
    void KeepFocus();
    std::vector<Window> TakenWindows() const;
    // Takes the window (when not taken yet) and puts its outer rectangle on outer.
    bool Place(Window window, const TRect& outer);
    // Maps a taken window for the manager again, its frame on outer; then
    // checks where it landed and moves it through the manager if it did not.
    bool GiveBack(Window window, const TRect& outer);
    // The workspace the manager shows now (_NET_CURRENT_DESKTOP): a taken
    // window of another one is unmapped, as the manager would hide it, and
    // mapped again when its own is shown. Sticky windows stay.
    void ShowWorkspace(std::optional<unsigned long> current);
    // Whether a taken window's workspace is the one shown; true for a
    // window that is not taken or names none.
    bool OnShownWorkspace(Window window) const;
    // Every taken window, given back where it stood before it was taken.
    void GiveBackAll();
    // A window that carries the mark of a taken window but is not one of ours:
    // given back to the manager where it stood before it was taken.
    bool RecoverLeftover(Window window);

    // How long taking and giving back wait for the manager.
    static constexpr std::chrono::milliseconds ManagerTime{500};

private:
    struct Taken {
        FrameExtents Frame;
        TRect Before; // outer rectangle before it was taken
        std::optional<std::vector<unsigned long>> NetState;
        std::optional<std::vector<unsigned long>> Desktop;
        bool HadFocus = false; // kept: the host must not count as left for another program
    };
    bool Take(Window window);
    void Mark(Window window, const Taken& taken);
    std::optional<Taken> ReadMark(Window window);
    bool MapForManager(Window window, const Taken& taken, const TRect& outer);
    // Polls until done() holds or ManagerTime passed.
    template <class Done>
    bool WaitFor(Done done);

    X11Desktop& desktop_;
    std::optional<unsigned long> workspace_; // the one shown, as last told
    std::map<Window, Taken> taken_;
    // The window a take left with the focus, until when the manager's late
    // hand-over is undone.
    Window focusKept_ = None;
    std::chrono::steady_clock::time_point focusKeptUntil_;
};

} // namespace wt
