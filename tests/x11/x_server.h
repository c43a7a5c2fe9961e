// A private X server for tests and benchmarks: Xvfb on a free display number
// (searched from :90 up), with an optional window manager (openbox, fluxbox,
// xfwm4, metacity or icewm); both are stopped by their process ids.
#pragma once

#include <string>
#include <sys/types.h>
#include <utility>

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
    // Ends the server at once with SIGKILL, as a crash would, and removes the
    // lock and socket it leaves so that the number can be used again.
    void Kill();
    const std::string& DisplayName() const { return name_; }
    bool Running() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

class WindowManager {
public:
    // program: "openbox", "fluxbox", "xfwm4" (run under dbus-run-session),
    // "metacity" or "icewm".
    explicit WindowManager(std::string program) : program_(std::move(program)) {}
    ~WindowManager() { Stop(); }
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    // Starts the manager on displayName and waits until it manages new
    // windows; throws on failure.
    void Start(const std::string& displayName);
    // Stops it, and whatever it started, by its process group.
    void Stop();
    bool Running() const { return pid_ > 0; }
    // Stops and resumes the manager's process, so that a test can have the
    // server carry out requests the manager has not yet come to.
    void Pause();
    void Resume();
    const std::string& Program() const { return program_; }
    // Whether the programs it needs are installed.
    bool Installed() const;

private:
    std::string program_;
    pid_t pid_ = -1;
    std::string name_;
    std::string home_; // fluxbox's own home, removed when it stops
};

class Openbox : public WindowManager {
public:
    Openbox() : WindowManager("openbox") {}
};

// Stops a child: SIGTERM, then SIGKILL after a grace period; reaps it.
void StopChild(pid_t& pid);
// Runs a program with DISPLAY set; returns its pid.
pid_t SpawnWithDisplay(const std::string& displayName, const char* const argv[]);
bool HasProgram(const char* name);

} // namespace wt::test
