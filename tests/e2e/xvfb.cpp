#include "tests/e2e/xvfb.h"

#include <X11/Xlib.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace wt::e2e {

namespace {

constexpr int kAttempts = 60;

// The PID written in the server's lock file, or -1.
pid_t LockOwner(int number) {
    std::ifstream lock("/tmp/.X" + std::to_string(number) + "-lock");
    long pid = -1;
    if (!(lock >> pid)) return -1;
    return static_cast<pid_t>(pid);
}

} // namespace

Xvfb::~Xvfb() { Stop(); }

bool Xvfb::Start() {
    const int first = static_cast<int>(getpid() % 200) + 300;
    for (int i = 0; i < kAttempts; ++i) {
        const int result = TryDisplay(first + i);
        if (result == 1) return true;
        if (result < 0) return false;
    }
    error_ = "no free X display number from :" + std::to_string(first);
    return false;
}

int Xvfb::TryDisplay(int number) {
    const std::string display = ":" + std::to_string(number);
    const pid_t pid = fork();
    if (pid < 0) {
        error_ = "fork failed";
        return -1;
    }
    if (pid == 0) {
        const int devNull = open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            dup2(devNull, STDIN_FILENO);
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1024x768x24",
               "-noreset", "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    // Up when the lock file names our server and a connection succeeds: a
    // connection alone could reach another process's server on that number.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
                error_ = "Xvfb could not be run";
                return -1;
            }
            return 0;
        }
        if (LockOwner(number) == pid) {
            if (::Display* dpy = XOpenDisplay(display.c_str())) {
                XCloseDisplay(dpy);
                pid_ = pid;
                display_ = display;
                return 1;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    error_ = "Xvfb on " + display + " did not come up";
    return -1;
}

void Xvfb::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

} // namespace wt::e2e
