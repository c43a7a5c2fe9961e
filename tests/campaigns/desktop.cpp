#include "tests/campaigns/desktop.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace wt::campaign {

namespace {

using Clock = std::chrono::steady_clock;

// The campaign's requests about windows that vanish fail; that is expected.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

} // namespace

HostSession::~HostSession() {
    if (pid_ > 0 && !end_)
        Wait(0);
}

void HostSession::WriteSettings(const std::map<std::string, std::string>& keys) const {
    std::map<std::string, std::string> values{
        {"gwHideInspector", "True"},      {"gwHideDelphi", "True"}, {"gwSide", "0"},
        {"gwAnimate", "False"},           {"gwAnimateSpeed", "5"},  {"gwDelay", "100"},
        {"gwDisableOnFocusLoss", "False"}};
    for (const auto& [key, value] : keys)
        values[key] = value;
    std::filesystem::create_directories(dir_ + "/config/wingtucker");
    std::filesystem::create_directories(dir_ + "/project");
    std::string text = "[Wingtucker]\n";
    for (const auto& [key, value] : values)
        text += key + "=" + value + "\n";
    WriteFile(SettingsPath(), text);
}

std::string HostSession::Opening() const {
    return "new-project " + dir_ +
           "/project/Demo.dpr\n"
           "menu Tools|Wingtucker 1.2d\nwait 400\n"
           "echo @before\nrects\nclick-button Start\nwait 500\necho @started\n";
}

bool HostSession::Start(const std::string& script) {
    const std::string scriptFile = dir_ + "/session.script";
    WriteFile(scriptFile, script);
    end_.reset();
    timedOut_ = false;
    pid_ = fork();
    if (pid_ < 0)
        return false;
    if (pid_ == 0) {
        int out = open((dir_ + "/stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open((dir_ + "/stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        setenv("DISPLAY", display_.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        execl(WT_HOSTIDE_PATH, WT_HOSTIDE_PATH, "--addin", WT_ADDIN_PATH, "--script",
              scriptFile.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return true;
}

bool HostSession::Alive() {
    if (pid_ <= 0 || end_)
        return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_)
        return true;
    ChildEnd end;
    end.Exited = WIFEXITED(status);
    end.Code = end.Exited ? WEXITSTATUS(status) : 0;
    end.Signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    end.Core = WIFSIGNALED(status) && WCOREDUMP(status);
    end_ = end;
    return false;
}

bool HostSession::WaitForOutput(const std::string& text, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Output().find(text) == std::string::npos) {
        if (Clock::now() >= deadline || !Alive())
            return Output().find(text) != std::string::npos;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

ChildEnd HostSession::Wait(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Alive()) {
        if (Clock::now() >= deadline) {
            timedOut_ = true;
            kill(pid_, SIGKILL);
            end_ = WaitChild(pid_);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return end_.value_or(ChildEnd{});
}

Observer::Observer(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
    if (!display_)
        throw std::runtime_error("cannot connect to " + display);
    XSetErrorHandler(IgnoreError);
}

Observer::~Observer() { XCloseDisplay(display_); }

std::vector<Window> Observer::TopLevels() {
    Window root = DefaultRootWindow(display_), parent = 0, *children = nullptr;
    unsigned count = 0;
    std::vector<Window> windows;
    if (XQueryTree(display_, root, &root, &parent, &children, &count))
        windows.assign(children, children + count);
    if (children)
        XFree(children);
    return windows;
}

Window Observer::FindByClass(const std::string& windowClass) {
    for (Window window : TopLevels()) {
        XClassHint hint{};
        if (!XGetClassHint(display_, window, &hint))
            continue;
        const bool found = hint.res_class && windowClass == hint.res_class;
        if (hint.res_name)
            XFree(hint.res_name);
        if (hint.res_class)
            XFree(hint.res_class);
        if (found)
            return window;
    }
    return None;
}

Window Observer::FindByTitle(const std::string& titlePrefix) {
    const Atom netName = Intern("_NET_WM_NAME");
    const Atom utf8 = Intern("UTF8_STRING");
    for (Window window : TopLevels()) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, remaining = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, window, netName, 0, 256, False, utf8, &type, &format,
                               &count, &remaining, &data) != Success)
            continue;
        const std::string title = data ? reinterpret_cast<const char*>(data) : "";
        if (data)
            XFree(data);
        if (title.rfind(titlePrefix, 0) == 0)
            return window;
    }
    return None;
}

std::optional<TRect> Observer::RectOf(Window window) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, window, &attributes))
        return std::nullopt;
    // Without a window manager a top-level window's position is its own.
    return TRect{attributes.x, attributes.y, attributes.x + attributes.width,
                 attributes.y + attributes.height};
}

bool Observer::Mapped(Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display_, window, &attributes) &&
           attributes.map_state == IsViewable;
}

std::vector<Window> Observer::MappedTopLevels() {
    std::vector<Window> mapped;
    for (Window window : TopLevels())
        if (Mapped(window))
            mapped.push_back(window);
    return mapped;
}

void Observer::MovePointer(int x, int y) {
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
    XFlush(display_);
}

void Observer::Destroy(Window window) {
    XDestroyWindow(display_, window);
    XSync(display_, False);
}

void Observer::Follow(Window window) {
    XSelectInput(display_, window, StructureNotifyMask);
    XSync(display_, False);
    moves_[window] = 0;
}

int Observer::Moves(Window window) {
    while (XPending(display_)) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == ConfigureNotify && moves_.count(event.xconfigure.window))
            ++moves_[event.xconfigure.window];
    }
    return moves_[window];
}

} // namespace wt::campaign

namespace wt::campaign {

std::optional<TRect> PrintedRect(const std::string& output, const std::string& marker,
                                 const std::string& windowClass) {
    std::size_t at = output.find("@" + marker + "\n");
    if (at == std::string::npos)
        return std::nullopt;
    std::istringstream in(output.substr(at));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line) && line.rfind("window ", 0) == 0) {
        std::istringstream words(line.substr(7));
        std::string name;
        TRect rect;
        if (words >> name >> rect.Left >> rect.Top >> rect.Right >> rect.Bottom &&
            name == windowClass)
            return rect;
    }
    return std::nullopt;
}

std::string Describe(const std::optional<TRect>& rect) {
    if (!rect)
        return "(gone)";
    return "(" + std::to_string(rect->Left) + "," + std::to_string(rect->Top) + "," +
           std::to_string(rect->Right) + "," + std::to_string(rect->Bottom) + ")";
}

} // namespace wt::campaign
