// The IDE's windows destroyed from outside, as another program (or the
// IDE re-creating a window) would: in the middle of an animated slide,
// while the reveal timer waits, and around the timer's tick, where the
// Inspector is looked up and then moved. With each destruction a window of
// the same class and title takes its place, as a re-created IDE window
// would; the panel must then still stop and start the engine on it, and the
// host must never crash.
#include "tests/campaigns/campaigns.h"

#include "tests/campaigns/desktop.h"
#include "tests/x11/x_server.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstring>
#include <thread>

namespace wt::campaign {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int RevealDelayMs = 200;
constexpr int SlideSteps = 30;

enum class Moment { Slide, Timer, Lookup };
const char* NameOf(Moment moment) {
    return moment == Moment::Slide ? "slide" : moment == Moment::Timer ? "timer" : "lookup";
}

struct Victim {
    const char* Class;
    const char* Title;
    TRect Restore; // where the host puts it, and where its stand-in comes up
    int StripX, StripY;
};
const Victim Inspector{"TPropertyInspector", "Object Inspector", {0, 130, 220, 580}, 1, 400};
const Victim Main{"TAppBuilder", "hostide", {0, 0, ScreenWidth, 106}, 512, 1};

// A window of the victim's class and title, as the IDE would make it again.
Window StandIn(Observer& observer, const Victim& victim) {
    Display* display = observer.GetDisplay();
    const TRect& r = victim.Restore;
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), r.Left, r.Top,
                                        static_cast<unsigned>(r.Width()),
                                        static_cast<unsigned>(r.Height()), 0, 0, 0xFFFFFF);
    XClassHint hint{const_cast<char*>("standin"), const_cast<char*>(victim.Class)};
    XSetClassHint(display, window, &hint);
    XStoreName(display, window, victim.Title);
    XChangeProperty(display, window, observer.Intern("_NET_WM_NAME"),
                    observer.Intern("UTF8_STRING"), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(victim.Title),
                    static_cast<int>(std::strlen(victim.Title)));
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

// Waits until the window has made `count` more moves; false after timeoutMs.
bool WaitForMoves(Observer& observer, Window window, int count, int timeoutMs) {
    const int target = observer.Moves(window) + count;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (observer.Moves(window) < target) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    return true;
}

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// One destruction of the victim's window at the chosen moment.
void Strike(Campaign& campaign, Observer& observer, Moment moment, const Victim& victim,
            Window window) {
    observer.Follow(window);
    observer.MovePointer(victim.StripX, victim.StripY);
    observer.MovePointer(victim.StripX + 1, victim.StripY + 1);
    switch (moment) {
    case Moment::Slide: {
        // Half of the time the slide that is cut short is the tuck after a reveal.
        const bool tuck = campaign.Between(0, 1) == 1;
        if (tuck) {
            if (!WaitForMoves(observer, window, SlideSteps + 1, 5000)) {
                campaign.Count("reveals that did not come");
                break;
            }
            observer.MovePointer(600, 500);
            observer.MovePointer(601, 501);
        }
        if (WaitForMoves(observer, window, campaign.Between(1, SlideSteps - 1), 5000))
            campaign.Count(tuck ? "destroyed in a tuck" : "destroyed in a reveal");
        else
            campaign.Count("slides that did not come");
        break;
    }
    case Moment::Timer: Sleep(campaign.Between(0, RevealDelayMs - 40)); break;
    case Moment::Lookup:
        Sleep(RevealDelayMs + campaign.Between(-10, 30));
        campaign.Count(observer.Moves(window) == 0 ? "destroyed before the first move"
                                                   : "destroyed after the first move");
        break;
    }
    observer.Destroy(window);
    observer.MovePointer(600, 500);
    observer.MovePointer(601, 501);
}

// The round's script: the panel stops and starts the engine, then the
// campaign strikes.
std::string Round(int round) {
    return "menu Tools|Wingtucker 1.2d\nwait 250\nclick-button Stop\nwait 250\n"
           "click-button Start\nwait 400\necho @round " +
           std::to_string(round) + "\nwait 1200\n";
}

int RunMoment(Campaign& campaign, Moment moment, int rounds) {
    const std::string name = NameOf(moment);
    test::XvfbServer server;
    server.Start(ScreenWidth, ScreenHeight, 130);
    HostSession session(campaign.Scratch() + "/" + name, server.DisplayName());
    session.WriteSettings({{"gwAnimate", "True"},
                           {"gwAnimateSpeed", std::to_string(SlideSteps)},
                           {"gwDelay", std::to_string(RevealDelayMs)}});
    std::string script = session.Opening();
    for (int round = 0; round < rounds; ++round)
        script += Round(round);
    script += "menu Tools|Wingtucker 1.2d\nwait 250\nclick-button Stop\nwait 300\nquit\n";
    if (!session.Start(script) || !session.WaitForOutput("@started", 30000)) {
        campaign.Fault(name + ": hostide did not start: " + session.Errors());
        return 0;
    }
    Observer observer(server.DisplayName());
    for (int round = 0; round < rounds; ++round) {
        const std::string where = name + " round " + std::to_string(round) + ": ";
        if (!session.WaitForOutput("@round " + std::to_string(round) + "\n", 30000)) {
            campaign.Fault(where + "hostide no longer runs its script");
            break;
        }
        campaign.Count("rounds");
        const Victim& victim = round % 2 ? Main : Inspector;
        const Window window = observer.FindByClass(victim.Class);
        const auto rect = observer.RectOf(window);
        // Start just tucked the window that stood in for the last one destroyed.
        const bool tucked = rect && (&victim == &Main ? rect->Bottom == 5 : rect->Right == 5);
        if (!tucked) {
            campaign.Fault(where + std::string(victim.Class) +
                           " not tucked by Start: " + Describe(rect));
            continue;
        }
        // The new window is there before the old one goes: the host's next
        // lookup must not depend on how fast this campaign is.
        StandIn(observer, victim);
        Strike(campaign, observer, moment, victim, window);
    }
    const ChildEnd end = session.Wait(30000);
    if (session.TimedOut())
        campaign.Fault(name + ": hostide did not end");
    else if (!end.Exited)
        campaign.Fault(name + ": hostide died of signal " + std::to_string(end.Signal) + ": " +
                       session.Errors());
    else if (end.Code != 0)
        campaign.Fault(name + ": hostide ended with status " + std::to_string(end.Code) + ": " +
                       session.Errors());
    if (!end.Exited)
        campaign.Count("crashes");
    return 0;
}

} // namespace

int WindowsDestroyed(int rounds, std::uint32_t seed) {
    Campaign campaign("windows-destroyed", seed);
    campaign.Count("crashes", 0);
    for (Moment moment : {Moment::Slide, Moment::Timer, Moment::Lookup})
        RunMoment(campaign, moment, rounds);
    return campaign.Finish();
}

int WindowsDestroyedAt(const std::string& moment, int rounds, std::uint32_t seed) {
    Campaign campaign("windows-destroyed-" + moment, seed);
    campaign.Count("crashes", 0);
    for (Moment m : {Moment::Slide, Moment::Timer, Moment::Lookup})
        if (moment == NameOf(m))
            RunMoment(campaign, m, rounds);
    return campaign.Finish();
}

} // namespace wt::campaign
