// Starts wingtucker-guard, the process that puts the IDE's windows back if
// the runner dies without doing so. It waits on a pipe whose other end only
// the runner holds: the end of the pipe is the end of the runner, however
// it ends (a signal that cannot be caught, a crash, a lost connection).
#pragma once

#include <string>
#include <vector>

namespace wt {

class Guardian {
public:
    Guardian() = default;
    ~Guardian();
    Guardian(const Guardian&) = delete;
    Guardian& operator=(const Guardian&) = delete;

    // Starts the first of the candidate programs that can be run; false with
    // a message when none can be started.
    bool Start(const std::vector<std::string>& candidates, std::string* error);
    long Pid() const { return pid_; }

private:
    int pipe_ = -1; // the runner's end; closed at exit
    long pid_ = 0;
};

// Where wingtucker-guard is looked for: beside the runner, then in each
// folder the add-in is looked for in.
std::vector<std::string> GuardianCandidates(const std::string& executableDir,
                                            const std::vector<std::string>& addInCandidates);

} // namespace wt
