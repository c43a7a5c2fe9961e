// The settings file under fire: writers of wingtucker-config killed with
// SIGKILL at random points of their write, and two processes adding
// distinct keys to one file at the same time. The file must always be the
// old one or the new one, whole, and no key may go missing.
#include "tests/campaigns/campaigns.h"

#include "platform/profile.h"
#include "tests/campaigns/campaign.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace wt::campaign {

namespace {

using Clock = std::chrono::steady_clock;

// A hand-written comment long enough that a write takes a while to make.
std::string Filler() {
    std::string filler;
    for (int i = 0; i < 3000; ++i)
        filler += "; note " + std::to_string(i) + " kept by hand between the two sections\n";
    return filler;
}

// The two values of round n: short and long names alternate, so that a
// file torn between two writes would not even have the right size.
std::string DelayOf(int n) { return std::to_string(n % 1001); }
std::string SoundOf(int n) {
    return "/sounds/" + std::to_string(n) + std::string(n % 2 ? 60 : 0, 'x') + ".wav";
}

std::string FileOf(int n, const std::string& filler) {
    return "[Wingtucker]\ngwHideInspector=True\ngwDelay=" + DelayOf(n) +
           "\nMoveOutSound=" + SoundOf(n) + "\n" + filler + "[HELP]\nFindLostWindows=1\n";
}

// Runs wingtucker-config set for round n; its output is of no interest.
pid_t StartSet(const std::string& dir, int n) {
    const std::string delay = "gwDelay=" + DelayOf(n);
    const std::string sound = "MoveOutSound=" + SoundOf(n);
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execl(WT_CONFIG_TOOL_PATH, WT_CONFIG_TOOL_PATH, "set", "--dir", dir.c_str(), delay.c_str(),
              sound.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// Lock files go to a runtime directory of the campaign's own.
void UsePrivateRuntime(Campaign& campaign) {
    const std::string run = campaign.Scratch() + "/run";
    mkdir(run.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
}

} // namespace

int SettingsKilledWriters(int rounds, std::uint32_t seed) {
    Campaign campaign("settings-killed-writers", seed);
    UsePrivateRuntime(campaign);
    const std::string dir = campaign.Scratch() + "/config";
    const std::string path = dir + "/Wingtckr.ini";
    mkdir(dir.c_str(), 0755);
    const std::string filler = Filler();
    WriteFile(path, FileOf(0, filler));

    // How long a whole set takes here once the tool is in the page cache:
    // the kills are spread over that time, most of them late, where it writes.
    std::vector<long> took;
    int last = 0;
    for (int i = 0; i < 11; ++i) {
        const auto start = Clock::now();
        ChildEnd end = WaitChild(StartSet(dir, ++last));
        took.push_back(
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
        if (!end.Exited || end.Code != 0 || ReadFile(path) != FileOf(last, filler)) {
            campaign.Fault("an undisturbed set did not write the file");
            return campaign.Finish();
        }
    }
    took.erase(took.begin(), took.begin() + 2);
    std::sort(took.begin(), took.end());
    const int median = static_cast<int>(took[took.size() / 2]);
    campaign.Count("set microseconds (median)", median);
    for (const char* outcome : {"finished before the kill", "killed after the rename",
                                "killed before the rename", "killed while writing its new file"})
        campaign.Count(outcome, 0);

    for (int round = 0; round < rounds; ++round) {
        const int next = last + 1;
        const pid_t writer = StartSet(dir, next);
        std::this_thread::sleep_for(
            std::chrono::microseconds(campaign.Between(median / 3, median * 11 / 10)));
        kill(writer, SIGKILL);
        const ChildEnd end = WaitChild(writer);
        campaign.Count("rounds");
        const std::string now = ReadFile(path);
        const bool old = now == FileOf(last, filler);
        const bool written = now == FileOf(next, filler);
        // Its temporary file left beside the settings file: it died writing it.
        const std::string itsTemp = "Wingtckr.ini.tmp." + std::to_string(writer) + ".";
        for (const std::string& name : ListDirectory(dir))
            if (name.rfind(itsTemp, 0) == 0)
                campaign.Count("killed while writing its new file");
        if (end.Exited)
            campaign.Count("finished before the kill");
        else
            campaign.Count(written ? "killed after the rename" : "killed before the rename");
        if (end.Exited && end.Code != 0)
            campaign.Fault("round " + std::to_string(round) + ": set failed with status " +
                           std::to_string(end.Code));
        if (!old && !written) {
            campaign.Fault("round " + std::to_string(round) +
                           ": the file is neither the old nor the new one (" +
                           std::to_string(now.size()) + " bytes)");
            WriteFile(path, FileOf(next, filler)); // the next rounds start from a known file
        }
        if (written || !old)
            last = next;
    }
    // The next undisturbed write clears what the killed ones left behind.
    if (WaitChild(StartSet(dir, last + 1)).Code != 0 || ReadFile(path) != FileOf(last + 1, filler))
        campaign.Fault("the set after the campaign did not write the file");
    for (const std::string& name : ListDirectory(dir))
        if (name != "Wingtckr.ini")
            campaign.Fault("left in the configuration directory: " + name);
    return campaign.Finish();
}

int SettingsConcurrentWriters(int keys, std::uint32_t seed) {
    Campaign campaign("settings-concurrent-writers", seed);
    UsePrivateRuntime(campaign);
    const std::string path = campaign.Scratch() + "/Wingtckr.ini";
    const std::string original = "; edited by hand\n[Wingtucker]\ngwHideInspector=True\n"
                                 "myOwnKey=kept\n\n[HELP]\nFindLostWindows=1\n";
    WriteFile(path, original);
    campaign.Count("keys lost", 0);

    int go[2];
    if (pipe(go) != 0)
        return campaign.Finish();
    auto writer = [&](char name) {
        pid_t pid = fork();
        if (pid == 0) {
            char c;
            close(go[1]);
            if (read(go[0], &c, 1) != 0) // both start when the pipe closes
                _exit(2);
            for (int i = 0; i < keys; ++i)
                if (!ProfileWriteString("Wingtucker", name + std::to_string(i), std::to_string(i),
                                        path))
                    _exit(1);
            _exit(0);
        }
        return pid;
    };
    const pid_t a = writer('a');
    const pid_t b = writer('b');
    close(go[0]);
    close(go[1]);
    for (pid_t pid : {a, b}) {
        const ChildEnd end = WaitChild(pid);
        if (!end.Exited || end.Code != 0)
            campaign.Fault("a writer failed (status " + std::to_string(end.Code) + ", signal " +
                           std::to_string(end.Signal) + ")");
    }
    for (int i = 0; i < keys; ++i) {
        for (char name : {'a', 'b'}) {
            campaign.Count("keys written");
            const std::string key = name + std::to_string(i);
            if (ProfileReadString("Wingtucker", key, "", 256, path) != std::to_string(i)) {
                campaign.Count("keys lost");
                campaign.Fault("key " + key + " is lost");
            }
        }
    }
    if (ProfileReadString("Wingtucker", "myOwnKey", "", 256, path) != "kept" ||
        ProfileReadString("HELP", "FindLostWindows", "", 256, path) != "1")
        campaign.Fault("a line no writer touched is gone");
    if (ReadFile(path).rfind("; edited by hand\n[Wingtucker]\ngwHideInspector=True\n", 0) != 0)
        campaign.Fault("the file no longer begins with its own lines");
    return campaign.Finish();
}

} // namespace wt::campaign
