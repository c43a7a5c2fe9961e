// wt_campaign: runs one fault campaign. The short forms run in ctest; the
// long ones through tests/campaigns/run_all.
//   wt_campaign CAMPAIGN ROUNDS [SEED]
#include "tests/campaigns/campaigns.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <random>
#include <string>

namespace {

struct Entry {
    const char* Name;
    int (*Run)(int, std::uint32_t);
    const char* Rounds;
};

const Entry Campaigns[] = {
    {"settings-killed-writers", wt::campaign::SettingsKilledWriters, "writers killed"},
    {"settings-concurrent-writers", wt::campaign::SettingsConcurrentWriters, "keys a writer"},
    {"hostile-messages", wt::campaign::HostileMessages, "bursts of messages"},
    {"display-killed", wt::campaign::DisplayKilled, "servers killed"},
    {"windows-destroyed", wt::campaign::WindowsDestroyed, "rounds of each moment"},
    {"windows-destroyed-slide",
     [](int n, std::uint32_t s) { return wt::campaign::WindowsDestroyedAt("slide", n, s); },
     "rounds"},
    {"windows-destroyed-timer",
     [](int n, std::uint32_t s) { return wt::campaign::WindowsDestroyedAt("timer", n, s); },
     "rounds"},
    {"windows-destroyed-lookup",
     [](int n, std::uint32_t s) { return wt::campaign::WindowsDestroyedAt("lookup", n, s); },
     "rounds"},
};

int Usage() {
    std::fputs("usage: wt_campaign CAMPAIGN ROUNDS [SEED]\ncampaigns:\n", stderr);
    for (const Entry& entry : Campaigns)
        std::fprintf(stderr, "  %-28s ROUNDS: %s\n", entry.Name, entry.Rounds);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4)
        return Usage();
    const std::string name = argv[1];
    char* end = nullptr;
    const long rounds = std::strtol(argv[2], &end, 10);
    if (*end || rounds < 1 || rounds > 1000000)
        return Usage();
    const std::uint32_t seed = argc == 4
                                   ? static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10))
                                   : std::random_device{}();
    for (const Entry& entry : Campaigns) {
        if (name != entry.Name)
            continue;
        try {
            return entry.Run(static_cast<int>(rounds), seed);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "wt_campaign: %s\n", e.what());
            return 1;
        }
    }
    return Usage();
}
