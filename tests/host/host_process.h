// Runs hostide as a child process with its own environment, collecting its
// exit status and what it wrote; kills it if it outlives a time limit.
#pragma once

#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace wt::test {

struct HostRun {
    int ExitCode = -1; // -1 when it did not exit normally
    bool TimedOut = false;
    std::string Out;
    std::string Err;
};

class HostProcess {
public:
    // Variables given here replace those of the test's environment; an empty
    // value removes one.
    HostProcess(std::vector<std::string> arguments, std::map<std::string, std::string> environment,
                std::string outputDir);
    ~HostProcess();

    bool Start();
    // Sends SIGTERM, as a session manager would.
    void Terminate();
    HostRun Wait(int timeoutMs);
    pid_t Pid() const { return pid_; }

private:
    std::vector<std::string> arguments_;
    std::map<std::string, std::string> environment_;
    std::string outputDir_;
    pid_t pid_ = -1;
};

// Start, wait, collect.
HostRun RunHost(const std::vector<std::string>& arguments,
                const std::map<std::string, std::string>& environment, const std::string& outputDir,
                int timeoutMs = 30000);

} // namespace wt::test
