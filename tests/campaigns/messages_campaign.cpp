// Another program sends the panel WM_WATCHMOUSE ClientMessages with random
// formats and data, and now and then to the IDE's windows or the root. At
// worst a window is tucked or revealed: each IDE window always stands on its
// shown or its hidden rectangle, no window comes up, the settings file stays
// as it was, and afterwards Stop and Start still work.
#include "tests/campaigns/campaigns.h"

#include "tests/campaigns/desktop.h"
#include "tests/x11/x_server.h"

#include <algorithm>
#include <set>

namespace wt::campaign {

namespace {

struct Target {
    Window Panel = None, Main = None, Inspector = None;
};

void SendRandomMessage(Campaign& campaign, Observer& observer, const Target& target,
                       Atom watchMouse) {
    XEvent event{};
    XClientMessageEvent& message = event.xclient;
    message.type = ClientMessage;
    message.message_type = watchMouse;
    const int pick = campaign.Between(0, 19);
    message.window = pick == 0   ? target.Main
                     : pick == 1 ? target.Inspector
                     : pick == 2 ? DefaultRootWindow(observer.GetDisplay())
                                 : target.Panel;
    if (pick <= 2)
        campaign.Count("messages to other windows");
    const int format = campaign.Between(0, 9);
    message.format = format == 0 ? 8 : format == 1 ? 16 : 32;
    if (message.format != 32)
        campaign.Count("messages of format 8 or 16");
    for (char& byte : message.data.b)
        byte = static_cast<char>(campaign.Between(0, 255));
    // Most name a point on the screen, many of them on a strip, where tucks
    // and reveals happen; the rest are any 32 bits.
    const int place = campaign.Between(0, 5);
    if (message.format == 32 && place < 4) {
        long x = campaign.Between(0, ScreenWidth - 1), y = campaign.Between(0, ScreenHeight - 1);
        if (place == 0)
            y = campaign.Between(0, 5);
        else if (place == 1)
            x = campaign.Between(0, 5);
        message.data.l[0] = x | y << 16;
        campaign.Count("positions on the screen");
    }
    XSendEvent(observer.GetDisplay(), message.window, False, NoEventMask, &event);
    campaign.Count("messages sent");
}

std::set<Window> Mapped(Observer& observer) {
    const std::vector<Window> mapped = observer.MappedTopLevels();
    return {mapped.begin(), mapped.end()};
}

} // namespace

int HostileMessages(int rounds, std::uint32_t seed) {
    Campaign campaign("hostile-messages", seed);
    test::XvfbServer server;
    server.Start(ScreenWidth, ScreenHeight, 130);
    HostSession session(campaign.Scratch(), server.DisplayName());
    session.WriteSettings({});
    const std::string settings = ReadFile(session.SettingsPath());

    std::string script = session.Opening();
    for (int round = 0; round <= rounds; ++round)
        script += "echo @round " + std::to_string(round) + "\nwait 60\n";
    script += "menu Tools|Wingtucker 1.2d\nwait 400\nclick-button Stop\nwait 500\n"
              "echo @stopped\nrects\nclick-button Start\nwait 500\necho @again\nrects\nquit\n";
    if (!session.Start(script) || !session.WaitForOutput("@started", 30000)) {
        campaign.Fault("hostide did not start: " + session.Errors());
        return campaign.Finish();
    }

    Observer observer(server.DisplayName());
    const Target target{observer.FindByTitle("Wingtucker"), observer.FindByClass("TAppBuilder"),
                        observer.FindByClass("TPropertyInspector")};
    const auto mainBefore = PrintedRect(session.Output(), "before", "TAppBuilder");
    const auto inspectorBefore = PrintedRect(session.Output(), "before", "TPropertyInspector");
    const auto mainHidden = observer.RectOf(target.Main);
    const auto inspectorHidden = observer.RectOf(target.Inspector);
    if (!target.Panel || !mainBefore || !inspectorBefore || !mainHidden || !inspectorHidden ||
        mainHidden->Bottom != 5 || inspectorHidden->Right != 5) {
        campaign.Fault("Start did not tuck the windows: main " + Describe(mainHidden) +
                       ", Inspector " + Describe(inspectorHidden));
        return campaign.Finish();
    }
    const TRect mainShown{0, 0, ScreenWidth, mainHidden->Height()};
    const TRect inspectorShown{0, 0, inspectorHidden->Width(), ScreenHeight};
    // As a set: a reveal raises its window, which changes the order.
    const std::set<Window> mappedAtStart = Mapped(observer);
    const Atom watchMouse = observer.Intern("WM_WATCHMOUSE");

    campaign.Count("windows moved", 0);
    std::optional<TRect> lastMain = mainHidden, lastInspector = inspectorHidden;
    for (int round = 0; round < rounds; ++round) {
        if (!session.WaitForOutput("@round " + std::to_string(round) + "\n", 20000)) {
            campaign.Fault("round " + std::to_string(round) +
                           ": hostide no longer runs its script");
            break;
        }
        campaign.Count("rounds");
        for (int i = campaign.Between(1, 12); i > 0; --i)
            SendRandomMessage(campaign, observer, target, watchMouse);
        XSync(observer.GetDisplay(), False);
        // Every move is one step, so any moment must find a window on one of its two places.
        const auto main = observer.RectOf(target.Main);
        const auto inspector = observer.RectOf(target.Inspector);
        if (main != mainShown && main != mainHidden)
            campaign.Fault("round " + std::to_string(round) + ": main window at " + Describe(main));
        if (inspector != inspectorShown && inspector != inspectorHidden)
            campaign.Fault("round " + std::to_string(round) + ": Inspector at " +
                           Describe(inspector));
        campaign.Count("windows moved", (main != lastMain) + (inspector != lastInspector));
        lastMain = main;
        lastInspector = inspector;
        if (Mapped(observer) != mappedAtStart)
            campaign.Fault("round " + std::to_string(round) + ": a window came or went");
    }

    const ChildEnd end = session.Wait(30000);
    const std::string output = session.Output();
    if (session.TimedOut() || !end.Exited || end.Code != 0)
        campaign.Fault("hostide ended with status " + std::to_string(end.Code) + ", signal " +
                       std::to_string(end.Signal) + ": " + session.Errors());
    if (PrintedRect(output, "stopped", "TAppBuilder") != mainBefore ||
        PrintedRect(output, "stopped", "TPropertyInspector") != inspectorBefore)
        campaign.Fault("Stop did not bring the windows back");
    if (PrintedRect(output, "again", "TAppBuilder") != mainHidden ||
        PrintedRect(output, "again", "TPropertyInspector") != inspectorHidden)
        campaign.Fault("Start after the campaign did not tuck the windows");
    if (ReadFile(session.SettingsPath()) != settings)
        campaign.Fault("the settings file changed");
    return campaign.Finish();
}

} // namespace wt::campaign
