#include "tests/e2e/hostide_run.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace wt::e2e {

RunFolder::RunFolder(const std::string& prefix, const std::string& settingsKeys) {
    std::string pattern = "/tmp/" + prefix + "-XXXXXX";
    if (!mkdtemp(pattern.data()))
        return;
    path_ = pattern;
    std::filesystem::create_directories(path_ / "config" / "wingtucker");
    std::filesystem::create_directories(path_ / "project");
    if (!settingsKeys.empty())
        std::ofstream(path_ / "config" / "wingtucker" / "Wingtckr.ini") << "[Wingtucker]\n"
                                                                        << settingsKeys;
}

RunFolder::~RunFolder() {
    std::error_code ignored;
    if (Made())
        std::filesystem::remove_all(path_, ignored);
}

bool ParseRectLine(const std::string& line, WindowRect& rect) {
    std::istringstream in(line);
    std::string word, state;
    if (!(in >> word) || word != "window")
        return false;
    if (!(in >> rect.windowClass >> rect.left >> rect.top >> rect.right >> rect.bottom >> state))
        return false;
    if (state != "mapped" && state != "unmapped")
        return false;
    rect.mapped = state == "mapped";
    std::string frame;
    rect.framed = (in >> frame) && frame == "framed";
    return true;
}

HostideRun::~HostideRun() {
    if (pid_ > 0)
        Wait(0);
}

bool HostideRun::Start(const std::string& display, const std::string& configHome,
                       const std::string& scriptFile) {
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    pid_ = fork();
    if (pid_ < 0) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid_ == 0) {
        dup2(fds[1], STDOUT_FILENO);
        dup2(fds[1], STDERR_FILENO);
        close(fds[0]);
        close(fds[1]);
        setenv("DISPLAY", display.c_str(), 1);
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        // The test runner asks Qt for the offscreen platform; hostide needs X.
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        for (const auto& [name, value] : environment_)
            setenv(name.c_str(), value.c_str(), 1);
        execl(WT_HOSTIDE_PATH, WT_HOSTIDE_PATH, "--addin", WT_ADDIN_PATH, "--script",
              scriptFile.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    outFd_ = fds[0];
    reader_ = std::thread([this] {
        char buffer[4096];
        ssize_t n;
        while ((n = read(outFd_, buffer, sizeof buffer)) > 0) {
            std::lock_guard lock(outputMutex_);
            output_.append(buffer, static_cast<size_t>(n));
        }
    });
    return true;
}

std::string HostideRun::Output() const {
    std::lock_guard lock(outputMutex_);
    return output_;
}

bool HostideRun::WaitForOutput(const std::string& text, int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Output().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        usleep(10000);
    }
    return true;
}

int HostideRun::Wait(int timeoutMs) {
    if (pid_ <= 0)
        return -1;
    int status = 0;
    bool killed = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (waitpid(pid_, &status, WNOHANG) != pid_) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            killed = true;
            break;
        }
        usleep(10000);
    }
    pid_ = -1;
    if (reader_.joinable())
        reader_.join();
    close(outFd_);
    outFd_ = -1;
    Parse();
    if (killed || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

void HostideRun::Parse() {
    std::istringstream in(output_);
    std::string line, marker;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '@') {
            marker = line.substr(1);
            continue;
        }
        WindowRect rect;
        if (ParseRectLine(line, rect))
            rects_[marker].push_back(rect);
    }
}

const WindowRect* HostideRun::Rect(const std::string& marker,
                                   const std::string& windowClass) const {
    const auto it = rects_.find(marker);
    if (it == rects_.end())
        return nullptr;
    for (const WindowRect& rect : it->second)
        if (rect.windowClass == windowClass)
            return &rect;
    return nullptr;
}

} // namespace wt::e2e
