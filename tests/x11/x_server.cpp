#include "tests/x11/x_server.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace wt::test {

namespace {

using namespace std::chrono_literals;

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

bool Exited(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == pid;
}

Display* TryOpen(const std::string& name) { return XOpenDisplay(name.c_str()); }

bool WindowManagerAnnounced(Display* display) {
    Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    bool found =
        XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &remaining, &data) == Success &&
        type == XA_WINDOW && count == 1;
    if (data)
        XFree(data);
    return found;
}

// The X server's lock file holds the process id of the server that owns the number.
bool OwnsLock(int number, pid_t pid) {
    std::ifstream lock("/tmp/.X" + std::to_string(number) + "-lock");
    long owner = 0;
    return lock >> owner && owner == pid;
}

bool ManagesNewWindows(Display* display) {
    Window probe = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(display, probe);
    XSync(display, False);
    Atom state = XInternAtom(display, "WM_STATE", False);
    bool managed = false;
    const auto deadline = std::chrono::steady_clock::now() + 300ms;
    while (!managed && std::chrono::steady_clock::now() < deadline) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, remaining = 0;
        unsigned char* data = nullptr;
        managed = XGetWindowProperty(display, probe, state, 0, 0, False, AnyPropertyType, &type,
                                     &format, &count, &remaining, &data) == Success &&
                  type != None;
        if (data)
            XFree(data);
        if (!managed)
            std::this_thread::sleep_for(5ms);
    }
    XDestroyWindow(display, probe);
    XSync(display, False);
    return managed;
}

} // namespace

pid_t SpawnWithDisplay(const std::string& displayName, const char* const argv[]) {
    pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        if (!displayName.empty())
            setenv("DISPLAY", displayName.c_str(), 1);
        int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
        }
        setpgid(0, 0);                    // keep terminal signals to the test away from it
        prctl(PR_SET_PDEATHSIG, SIGTERM); // and end with the test, however it ends
        execvp(argv[0], const_cast<char* const*>(argv));
        _exit(127);
    }
    return pid;
}

bool HasProgram(const char* name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

void StopChild(pid_t& pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + 3s;
    while (!Exited(pid)) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(5ms);
    }
    pid = -1;
}

void XvfbServer::Start(int width, int height, int firstNumber) {
    if (Running())
        return;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    for (int number = firstNumber; number < firstNumber + 60; ++number) {
        const std::string n = std::to_string(number);
        if (Exists("/tmp/.X" + n + "-lock") || Exists("/tmp/.X11-unix/X" + n))
            continue;
        const std::string name = ":" + n;
        const char* const argv[] = {"Xvfb",    name.c_str(), "-noreset",     "-nolisten", "tcp",
                                    "-screen", "0",          screen.c_str(), nullptr};
        pid_t pid = SpawnWithDisplay("", argv);
        const auto deadline = std::chrono::steady_clock::now() + 15s;
        bool exited = false;
        while (std::chrono::steady_clock::now() < deadline) {
            if (Exited(pid)) {
                exited = true; // lost a race for this number: try the next
                break;
            }
            // The server that answers must be ours: two runs may start Xvfb on
            // the same number at once, and the loser must not use the winner's.
            if (OwnsLock(number, pid) && !Exited(pid)) {
                Display* display = TryOpen(name);
                if (!display) {
                    std::this_thread::sleep_for(10ms);
                    continue;
                }
                XCloseDisplay(display);
                pid_ = pid;
                name_ = name;
                return;
            }
            std::this_thread::sleep_for(10ms);
        }
        if (!exited)
            StopChild(pid);
    }
    throw std::runtime_error("Xvfb could not be started on any display from :" +
                             std::to_string(firstNumber));
}

void XvfbServer::Stop() {
    StopChild(pid_);
    name_.clear();
}

void XvfbServer::Kill() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    const std::string number = name_.substr(1);
    unlink(("/tmp/.X" + number + "-lock").c_str());
    unlink(("/tmp/.X11-unix/X" + number).c_str());
    name_.clear();
}

bool WindowManager::Installed() const {
    return HasProgram(program_.c_str()) && (program_ != "xfwm4" || HasProgram("dbus-run-session"));
}

void WindowManager::Start(const std::string& displayName) {
    if (Running())
        return;
    Display* display = TryOpen(displayName);
    if (!display)
        throw std::runtime_error(program_ + ": no display " + displayName);
    // Each as a user's session starts it; xfwm4 wants a session bus.
    std::vector<const char*> argv;
    std::string home;
    if (program_ == "fluxbox") {
        // A home of its own, whose style sets no wallpaper: without a
        // wallpaper setter installed, fluxbox says so in a window that
        // would stand over the test's windows.
        char pattern[] = "/tmp/wt-fluxbox-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("fluxbox: no home directory");
        home_ = pattern;
        mkdir((home_ + "/.fluxbox").c_str(), 0700);
        std::ofstream(home_ + "/.fluxbox/overlay") << "background: none\n";
        home = "HOME=" + home_;
        argv = {"env", home.c_str(), "fluxbox", nullptr};
    } else if (program_ == "xfwm4")
        argv = {"dbus-run-session", "xfwm4", "--compositor=off", nullptr};
    else if (program_ == "openbox" || program_ == "metacity")
        argv = {program_.c_str(), "--sm-disable", nullptr};
    else
        argv = {program_.c_str(), nullptr};
    pid_ = SpawnWithDisplay(displayName, argv.data());
    name_ = displayName;
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (Exited(pid_)) {
            pid_ = -1;
            break;
        }
        // Managers announce themselves before they take over the root window:
        // a window mapped in between is never managed. Only a managed probe tells.
        if (WindowManagerAnnounced(display) && ManagesNewWindows(display)) {
            XCloseDisplay(display);
            return;
        }
        std::this_thread::sleep_for(10ms);
    }
    XCloseDisplay(display);
    Stop();
    throw std::runtime_error(program_ + " did not start on " + displayName);
}

void WindowManager::Pause() {
    if (Running())
        kill(pid_, SIGSTOP);
}

void WindowManager::Resume() {
    if (Running())
        kill(pid_, SIGCONT);
}

void WindowManager::Stop() {
    if (!Running())
        return;
    kill(pid_, SIGCONT); // a paused manager would not see the request to end
    // dbus-run-session's children (the manager, the bus) are in its group.
    const pid_t group = pid_;
    StopChild(pid_);
    kill(-group, SIGTERM);
    if (!home_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
        home_.clear();
    }
    // Wait until the server has seen the manager go (its check window vanishes).
    if (Display* display = TryOpen(name_)) {
        Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
        XDeleteProperty(display, DefaultRootWindow(display), check);
        XCloseDisplay(display);
    }
}

} // namespace wt::test
