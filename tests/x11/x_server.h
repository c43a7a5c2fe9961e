// A private X server for tests and benchmarks: Xvfb on a free display number
// (searched from :90 up), with an optional openbox window manager; both are
// stopped by their process ids.
#pragma once

#include <string>
#include <sys/types.h>

namespace wt::test {

class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer() { Stop(); }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts Xvfb with one screen of width x height; throws on failure.
    void Start(int width = 1024, int height = 768, int firstNumber = 90);
    void Stop();
    const std::string& DisplayName() const { return name_; }
    bool Running() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

class Openbox {
public:
    Openbox() = default;
    ~Openbox() { Stop(); }
    Openbox(const Openbox&) = delete;
    Openbox& operator=(const Openbox&) = delete;

    // Starts openbox on displayName and waits until it announces itself; throws on failure.
    void Start(const std::string& displayName);
    void Stop();
    bool Running() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

// Stops a child: SIGTERM, then SIGKILL after a grace period; reaps it.
void StopChild(pid_t& pid);
// Runs a program with DISPLAY set; returns its pid.
pid_t SpawnWithDisplay(const std::string& displayName, const char* const argv[]);
bool HasProgram(const char* name);

} // namespace wt::test
