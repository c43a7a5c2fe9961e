#include "tests/e2e/ide_run.h"

#include "platform/x11/x11_desktop.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wt::e2e {

void Program::Start(const std::vector<std::string>& argv, const Environment& environment,
                    const std::string& logFile) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_ = fork();
    if (pid_ < 0)
        throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        for (const auto& [name, value] : environment)
            setenv(name.c_str(), value.c_str(), 1);
        const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = open("/dev/null", O_RDONLY);
        if (null >= 0)
            dup2(null, 0);
        if (log >= 0) {
            dup2(log, 1);
            dup2(log, 2);
        }
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        execvp(args[0], args.data());
        _exit(127);
    }
}

void Program::Signal(int signal) const {
    if (pid_ > 0)
        kill(pid_, signal);
}

bool Program::Running() {
    if (pid_ <= 0)
        return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
    }
    return true;
}

int Program::Wait(int timeoutMs) {
    if (pid_ <= 0)
        return -1;
    int status = 0;
    const auto done = Await([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, timeoutMs);
    if (!done)
        return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void Program::Stop() {
    if (pid_ <= 0)
        return;
    // The whole group: an IDE's launcher starts the IDE as a child.
    const pid_t group = pid_;
    kill(-group, SIGTERM);
    if (Wait(5000) < 0 && pid_ > 0) {
        kill(-group, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    // What the program started and left behind goes with it.
    kill(-group, SIGKILL);
    pid_ = -1;
}

std::string ReadFile(const std::string& name) {
    std::ifstream in(name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

unsigned long FindByRule(Display* display, const std::string& ruleText) {
    const std::optional<TWindowRule> rule = ParseWindowRule(ruleText);
    if (!rule)
        throw std::runtime_error("bad rule in a test: " + ruleText);
    X11Desktop desktop(display);
    for (Window window : desktop.TopLevelCandidates()) {
        const std::optional<TWindowFacts> facts = desktop.FactsOf(window);
        XWindowAttributes attributes;
        if (facts && rule->Matches(*facts) && XGetWindowAttributes(display, window, &attributes) &&
            attributes.map_state == IsViewable)
            return window;
    }
    return 0;
}

unsigned long AwaitByRule(Display* display, const std::string& rule, int timeoutMs) {
    unsigned long found = 0;
    Await([&] { return (found = FindByRule(display, rule)) != 0; }, timeoutMs);
    return found;
}

std::optional<Placement> PlacementOf(Display* display, unsigned long window) {
    X11Desktop desktop(display);
    const std::optional<TRect> outer = desktop.OuterRect(window);
    XWindowAttributes attributes;
    if (!outer || !XGetWindowAttributes(display, window, &attributes))
        return std::nullopt;
    const Window parent = desktop.ParentWindow(window);
    return Placement{*outer, parent != None && parent != DefaultRootWindow(display),
                     attributes.override_redirect != 0};
}

std::string DescribeWindows(Display* display) {
    X11Desktop desktop(display);
    std::string lines;
    for (Window window : desktop.TopLevelCandidates()) {
        const std::optional<TWindowFacts> facts = desktop.FactsOf(window);
        const std::optional<Placement> at = PlacementOf(display, window);
        XWindowAttributes attributes;
        if (!facts || !at || !XGetWindowAttributes(display, window, &attributes) ||
            attributes.map_state != IsViewable)
            continue;
        lines += "  \"" + facts->Title + "\" (" + facts->Class + ") at " +
                 std::to_string(at->Outer.Left) + "," + std::to_string(at->Outer.Top) + " " +
                 std::to_string(at->Outer.Width()) + "x" + std::to_string(at->Outer.Height()) +
                 "\n";
    }
    return lines;
}

std::optional<Placement> AwaitStill(Display* display, unsigned long window, int timeoutMs) {
    std::optional<Placement> last = PlacementOf(display, window);
    auto since = std::chrono::steady_clock::now();
    Await(
        [&] {
            const std::optional<Placement> now = PlacementOf(display, window);
            const bool same = now && last && now->Outer == last->Outer;
            if (!same) {
                last = now;
                since = std::chrono::steady_clock::now();
            }
            return same && std::chrono::steady_clock::now() - since > std::chrono::seconds(1);
        },
        timeoutMs);
    return last;
}

void PointerTo(Display* display, int x, int y) {
    XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
    XFlush(display);
}

void ClickAt(Display* display, int x, int y) {
    PointerTo(display, x, y);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
}

} // namespace wt::e2e
