// The X server killed under hostide while the add-in runs: at rest, while
// the reveal timer waits, in the middle of an animated slide. The host must
// leave by itself with a failure status and one line on standard error, not
// die of a signal or hang, and the settings file must be as it was.
#include "tests/campaigns/campaigns.h"

#include "tests/campaigns/desktop.h"
#include "tests/x11/x_server.h"

#include <algorithm>
#include <thread>

namespace wt::campaign {

namespace {

// The pointer goes back and forth between the top strip and the middle of
// the screen, so that the server dies at any point of a reveal or a tuck.
std::string Restless() {
    std::string script;
    for (int i = 0; i < 40; ++i)
        script += "move 512 1\nmove 513 2\nwait 150\nmove 600 500\nmove 601 501\nwait 150\n";
    return script + "wait 60000\nquit\n";
}

long Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

} // namespace

int DisplayKilled(int rounds, std::uint32_t seed) {
    Campaign campaign("display-killed", seed);
    for (const char* figure : {"rounds", "left with one line", "crashed", "hung"})
        campaign.Count(figure, 0);
    for (int round = 0; round < rounds; ++round) {
        const std::string name = "round " + std::to_string(round) + ": ";
        const std::string dir = campaign.Scratch() + "/" + std::to_string(round);
        test::XvfbServer server;
        server.Start(ScreenWidth, ScreenHeight, 130);
        HostSession session(dir, server.DisplayName());
        session.WriteSettings({{"gwAnimate", "True"}, {"gwAnimateSpeed", "30"}});
        const std::string settings = ReadFile(session.SettingsPath());
        if (!session.Start(session.Opening() + Restless()) ||
            !session.WaitForOutput("@started", 30000)) {
            campaign.Fault(name + "hostide did not start: " + session.Errors());
            continue;
        }
        campaign.Count("rounds");
        std::this_thread::sleep_for(std::chrono::milliseconds(campaign.Between(0, 1500)));
        const std::size_t saidBefore = session.Errors().size();
        server.Kill();

        const ChildEnd end = session.Wait(20000);
        const std::string said = session.Errors().substr(saidBefore);
        if (session.TimedOut()) {
            campaign.Count("hung");
            campaign.Fault(name + "hostide did not leave");
        } else if (!end.Exited) {
            campaign.Count("crashed");
            campaign.Fault(name + "hostide died of signal " + std::to_string(end.Signal) +
                           (end.Core ? " (core dumped)" : "") + "; it said: " + said);
        } else if (end.Code == 0) {
            campaign.Fault(name + "hostide left with status 0");
        } else if (Lines(said) != 1 || said.rfind("hostide: ", 0) != 0) {
            campaign.Fault(name + "hostide said " + std::to_string(Lines(said)) +
                           " lines instead of one of its own: " + said);
        } else {
            campaign.Count("left with one line");
        }
        if (ReadFile(session.SettingsPath()) != settings)
            campaign.Fault(name + "the settings file changed");
    }
    return campaign.Finish();
}

} // namespace wt::campaign
