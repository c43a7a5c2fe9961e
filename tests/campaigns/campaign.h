// What every fault campaign shares: its figures, the faults it found, a
// seeded random source, a private scratch directory and child processes.
// A campaign prints one line of figures and exits 1 when it found a fault.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <sys/types.h>
#include <vector>

namespace wt::campaign {

class Campaign {
public:
    Campaign(std::string name, std::uint32_t seed);
    ~Campaign();
    Campaign(const Campaign&) = delete;
    Campaign& operator=(const Campaign&) = delete;

    // A count of the figures line ("rounds", "killed before the rename", ...).
    void Count(const std::string& figure, long n = 1) { figures_[figure] += n; }
    // A fault: counted, and its first few descriptions printed.
    void Fault(const std::string& what);
    long Faults() const { return faults_; }
    std::mt19937& Random() { return random_; }
    int Between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    // A directory of its own, removed at the end.
    const std::string& Scratch() const { return scratch_; }

    // Prints "campaign NAME: FIGURE N, ..., faults F, seconds S, seed X" and
    // returns the exit status: 0 without faults.
    int Finish();

private:
    std::string name_;
    std::uint32_t seed_;
    std::mt19937 random_;
    std::string scratch_;
    std::map<std::string, long> figures_;
    long faults_ = 0;
    std::chrono::steady_clock::time_point start_;
};

// The status of a child as waitpid reports it.
struct ChildEnd {
    bool Exited = false;
    int Code = 0;      // exit status when Exited
    int Signal = 0;    // the signal that ended it otherwise
    bool Core = false; // it left a core dump
};
ChildEnd WaitChild(pid_t pid);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
// The names in a directory, without "." and "..".
std::vector<std::string> ListDirectory(const std::string& dir);

} // namespace wt::campaign
