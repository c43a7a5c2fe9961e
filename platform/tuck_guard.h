// Moves of other programs' windows that are checked against where they
// landed. The way to move (straight, through the window manager, or taking
// the window from the manager while it stands off screen) is chosen by the
// manager's name; a manager that keeps every way from landing a tuck gets one
// message, the windows go back, and nothing is tried again until a new start.
// Backends supply the moves (TuckDesk); the rules live here, once.
#pragma once

#include "platform/types.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wt {

enum class TuckWay {
    Direct,          // no manager: the window goes where it is asked
    AskManager,      // a configure request or _NET_MOVERESIZE_WINDOW, the manager decides
    TakeFromManager, // withdrawn and override-redirect while any of it is off screen
};

std::string_view TuckWayName(TuckWay way);

// The first way to try under a manager, and the one to try when it does not land.
struct TuckPlan {
    TuckWay First = TuckWay::Direct;
    std::optional<TuckWay> Fallback;
    bool Known = false; // a manager this way was measured under
};

// managerName: the manager's _NET_WM_NAME, "" when no manager runs.
TuckPlan PlanFor(std::string_view managerName);

// The one message for a manager that refused every way.
std::string RefusalMessage(std::string_view managerName);

// What a backend offers the guard.
class TuckDesk {
public:
    virtual ~TuckDesk() = default;
    // The running manager's name, "" for none.
    virtual std::string ManagerName() = 0;
    virtual TRect Screen() = 0;
    // Outer rectangle as it is now; nothing for a window that is gone.
    virtual std::optional<TRect> Outer(WindowHandle window) = 0;
    // Carries out one move in that way. A window taken from the manager is
    // given back by any move that is not TakeFromManager. False when the
    // window is gone.
    virtual bool Place(WindowHandle window, TRect target, TuckWay way) = 0;
    // Tells the user, once the current operation is over.
    virtual void Tell(const std::string& text) = 0;
    // Lets a busy manager catch up before a move is judged not to have landed.
    virtual void Pause(int milliseconds) { (void)milliseconds; }
};

class TuckGuard {
public:
    explicit TuckGuard(TuckDesk& desk) : desk_(desk) {}

    // Moves window onto target and checks where it landed. A target that
    // leaves most of the window off screen is a tuck: when no way lands it,
    // every window the guard tucked goes back where it stood before, the
    // user is told once, and tucks are dropped until NewAttempt. A place the
    // window had before a tuck (where the manager may itself have put it
    // partly off screen) goes through the manager, and so does a target wholly
    // on screen: a window taken from the manager is given back then.
    bool Move(WindowHandle window, TRect target);
    // The engine reads a window's place before it slides it: read while the
    // manager holds the window, that place is where a tuck that follows began,
    // not the animation step at which the window first leaves the screen.
    void Seen(WindowHandle window, TRect place);
    // A new start: tucks are tried again, and a refusal is told again.
    void NewAttempt();
    // Every window still tucked goes back where it stood before its tuck,
    // given back to the manager (the add-in is leaving).
    void ReleaseAll();

    bool Refused() const { return refused_; }
    // The way the next move takes (after the manager is looked at again).
    TuckWay CurrentWay();
    const std::string& Manager() const { return manager_; }

private:
    struct Tucked {
        TRect Home; // where the window stood before its tuck began
    };
    void LookAtManager();
    // The way for a place the manager is to hold the window in.
    TuckWay ManagedWay() const;
    bool IsHome(WindowHandle window, TRect target) const;
    bool Lands(WindowHandle window, TRect target, TuckWay way);
    void PutBackAll();

    TuckDesk& desk_;
    std::optional<std::string> manager_seen_;
    std::string manager_;
    TuckPlan plan_;
    TuckWay way_ = TuckWay::Direct;
    std::map<WindowHandle, Tucked> tucked_;
    std::map<WindowHandle, std::vector<TRect>> homes_; // every Home, latest last
    std::map<WindowHandle, TRect> seen_;               // last place read while the manager held it
    bool refused_ = false;
    bool told_ = false;
};

// Whether a window asked onto target, partly off screen, shows exactly the
// part of it that target would (a window that keeps its size lands so).
bool ShowsAsAsked(TRect landed, TRect target, TRect screen);
// Whether r lies wholly inside screen.
bool WhollyOn(TRect r, TRect screen);
// Whether less than half of r's width or height lies on screen.
bool MostlyOff(TRect r, TRect screen);

} // namespace wt
