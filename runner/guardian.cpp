#include "runner/guardian.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <unistd.h>

namespace wt {

std::vector<std::string> GuardianCandidates(const std::string& executableDir,
                                            const std::vector<std::string>& addInCandidates) {
    std::vector<std::string> candidates{executableDir + "/wingtucker-guard"};
    for (const std::string& addIn : addInCandidates) {
        const std::string candidate =
            addIn.substr(0, addIn.find_last_of('/') + 1) + "wingtucker-guard";
        if (std::find(candidates.begin(), candidates.end(), candidate) == candidates.end())
            candidates.push_back(candidate);
    }
    return candidates;
}

Guardian::~Guardian() {
    // A clean end: the guardian finds nothing of ours left to put back.
    if (pipe_ >= 0)
        ::close(pipe_);
}

bool Guardian::Start(const std::vector<std::string>& candidates, std::string* error) {
    const auto found = std::find_if(candidates.begin(), candidates.end(), [](const std::string& c) {
        return ::access(c.c_str(), X_OK) == 0;
    });
    if (found == candidates.end()) {
        std::string list;
        for (const std::string& c : candidates)
            list += (list.empty() ? "" : ", ") + c;
        *error = "wingtucker-guard was not found (looked for " + list + ")";
        return false;
    }
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        *error = std::string("no pipe for the guardian: ") + std::strerror(errno);
        return false;
    }
    const std::string& path = *found;
    const std::string runner = std::to_string(::getpid());
    const pid_t pid = ::fork();
    if (pid < 0) {
        *error = std::string("the guardian cannot be started: ") + std::strerror(errno);
        ::close(ends[0]);
        ::close(ends[1]);
        return false;
    }
    if (pid == 0) {
        // Only async-signal-safe calls until exec: the reading end becomes
        // standard input, the runner's end closes with exec.
        ::dup2(ends[0], STDIN_FILENO);
        ::execl(path.c_str(), path.c_str(), runner.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(ends[0]);
    pipe_ = ends[1];
    pid_ = pid;
    return true;
}

} // namespace wt
