#include "xvfb_server.h"

#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace wt::test {

namespace {

constexpr int FirstDisplay = 70;
constexpr int LastDisplay = 130;

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

} // namespace

bool XvfbServer::Start(std::string* error) {
    for (int number = FirstDisplay; number <= LastDisplay; ++number) {
        const std::string name = ":" + std::to_string(number);
        if (Exists("/tmp/.X" + std::to_string(number) + "-lock") ||
            Exists("/tmp/.X11-unix/X" + std::to_string(number)))
            continue;
        const pid_t pid = fork();
        if (pid < 0)
            break;
        if (pid == 0) {
            const int null = open("/dev/null", O_RDWR);
            dup2(null, 1);
            dup2(null, 2);
            execlp("Xvfb", "Xvfb", name.c_str(), "-noreset", "-nolisten", "tcp", "-screen", "0",
                   "1024x768x24", static_cast<char*>(nullptr));
            _exit(127);
        }
        // Ready when a client can connect; gone when another server won the
        // race for this display.
        for (int tries = 0; tries < 200; ++tries) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                break;
            if (Display* display = XOpenDisplay(name.c_str())) {
                XCloseDisplay(display);
                pid_ = pid;
                display_ = name;
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    *error = "no Xvfb could be started on displays :70 to :130";
    return false;
}

void XvfbServer::Stop() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    display_.clear();
}

} // namespace wt::test
