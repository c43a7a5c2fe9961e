// Runs hostide with the add-in and a script on a given display and collects
// what the script prints: `rects` lines grouped under the `echo @NAME` marker
// before them.
#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace wt::e2e {

struct WindowRect {
    std::string windowClass;
    int left = 0, top = 0, right = 0, bottom = 0;
    bool mapped = false;
    bool framed = false; // in a window manager's frame
};

// Parses "window CLASS L T R B mapped|unmapped [framed|bare]"; false for any other line.
bool ParseRectLine(const std::string& line, WindowRect& rect);

class HostideRun {
public:
    HostideRun() = default;
    ~HostideRun();
    HostideRun(const HostideRun&) = delete;
    HostideRun& operator=(const HostideRun&) = delete;

    // An environment variable for the next Start, over the ones it sets itself.
    void SetEnvironment(const std::string& name, const std::string& value) {
        environment_[name] = value;
    }
    // Starts hostide in the background; false when it could not be started.
    bool Start(const std::string& display, const std::string& configHome,
               const std::string& scriptFile);
    // Waits for the end (killing it after timeoutMs) and returns the exit
    // status, or -1 when it had to be killed or died from a signal.
    int Wait(int timeoutMs);

    // What it printed so far; whole once Wait returned.
    std::string Output() const;
    // Waits until the output holds text; false after timeoutMs.
    bool WaitForOutput(const std::string& text, int timeoutMs) const;
    // The rectangle of CLASS printed under marker NAME; nullptr if none.
    const WindowRect* Rect(const std::string& marker, const std::string& windowClass) const;

private:
    void Parse();

    pid_t pid_ = -1;
    int outFd_ = -1;
    std::thread reader_;
    mutable std::mutex outputMutex_; // the reader thread appends to output_
    std::string output_;
    std::map<std::string, std::vector<WindowRect>> rects_;
    std::map<std::string, std::string> environment_;
};

// A run's own folder under /tmp, removed with all in it when it goes:
// config/wingtucker with the settings file given (section Wingtucker, the
// keys as they stand), and project/ for the run's project.
class RunFolder {
public:
    explicit RunFolder(const std::string& prefix, const std::string& settingsKeys = {});
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    bool Made() const { return !path_.empty(); }
    const std::filesystem::path& Path() const { return path_; }
    // What hostide takes as its configuration home.
    std::string ConfigHome() const { return (path_ / "config").string(); }
    std::string Project() const { return (path_ / "project" / "Demo.dpr").string(); }

private:
    std::filesystem::path path_;
};

} // namespace wt::e2e
