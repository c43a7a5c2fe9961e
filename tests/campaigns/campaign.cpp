#include "tests/campaigns/campaign.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace wt::campaign {

namespace {
constexpr long FaultsPrinted = 10;
}

Campaign::Campaign(std::string name, std::uint32_t seed)
    : name_(std::move(name)), seed_(seed), random_(seed), start_(std::chrono::steady_clock::now()) {
    char pattern[] = "/tmp/wt-campaign-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("no scratch directory in /tmp");
    scratch_ = pattern;
}

Campaign::~Campaign() {
    if (!scratch_.empty() && !std::getenv("WT_CAMPAIGN_KEEP"))
        std::system(("rm -rf '" + scratch_ + "'").c_str());
}

void Campaign::Fault(const std::string& what) {
    if (++faults_ <= FaultsPrinted)
        std::fprintf(stderr, "%s: fault: %s\n", name_.c_str(), what.c_str());
}

int Campaign::Finish() {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    std::string line = "campaign " + name_ + ":";
    for (const auto& [figure, n] : figures_)
        line += " " + figure + " " + std::to_string(n) + ",";
    char tail[96];
    std::snprintf(tail, sizeof tail, " faults %ld, seconds %.1f, seed %u", faults_, seconds, seed_);
    std::printf("%s%s\n", line.c_str(), tail);
    std::fflush(stdout);
    return faults_ == 0 ? 0 : 1;
}

ChildEnd WaitChild(pid_t pid) {
    int status = 0;
    ChildEnd end;
    if (waitpid(pid, &status, 0) != pid)
        return end;
    end.Exited = WIFEXITED(status);
    end.Code = end.Exited ? WEXITSTATUS(status) : 0;
    end.Signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    end.Core = WIFSIGNALED(status) && WCOREDUMP(status);
    return end;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::string> ListDirectory(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        closedir(d);
    }
    return names;
}

} // namespace wt::campaign
