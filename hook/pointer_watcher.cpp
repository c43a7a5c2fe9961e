#include "hook/pointer_watcher.h"

#include "hook/x_error_guard.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

namespace wt::hook {

namespace {

using Clock = std::chrono::steady_clock;

// Without XInput2 the pointer is read this often instead.
constexpr std::chrono::microseconds PollInterval{16667};

void SayOnce(std::atomic<bool>& said, const char* text) {
    if (!said.exchange(true))
        std::fprintf(stderr, "libruvazad1: %s\n", text);
}
std::atomic<bool> saidNoDisplay{false};
std::atomic<bool> saidNoXInput{false};
std::atomic<bool> saidLost{false};

bool SelectRawMotion(Display* display, int& opcode) {
    int event = 0, error = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error))
        return false;
    int major = 2, minor = 2;
    if (XIQueryVersion(display, &major, &minor) != Success)
        return false;
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawMotion);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XFlush(display);
    return true;
}

// Called by Xlib instead of exit() when the connection breaks.
void ConnectionLost(Display*, void* lost) { static_cast<std::atomic<bool>*>(lost)->store(true); }

} // namespace

PointerWatcher::PointerWatcher(std::chrono::microseconds coalesce) : coalesce_(coalesce) {}

PointerWatcher::~PointerWatcher() { Stop(); }

void PointerWatcher::Start(unsigned long window) {
    std::lock_guard lock(control_);
    if (window == 0) {
        StopLocked();
        return;
    }
    target_.store(window);
    generation_.fetch_add(1);
    if (thread_.joinable() && alive_.load())
        return; // retargeted; the thread picks the new window up at its next send
    StopLocked(); // a thread that ended on its own (connection lost) is joined first
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
    stop_.store(false);
    alive_.store(true);
    thread_ = std::thread(&PointerWatcher::Run, this);
}

void PointerWatcher::Stop() {
    std::lock_guard lock(control_);
    StopLocked();
}

void PointerWatcher::StopLocked() {
    if (thread_.joinable()) {
        stop_.store(true);
        const char byte = 1;
        while (write(wakeWrite_, &byte, 1) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
    if (wakeRead_ >= 0)
        close(wakeRead_);
    if (wakeWrite_ >= 0)
        close(wakeWrite_);
    wakeRead_ = wakeWrite_ = -1;
    alive_.store(false);
}

void PointerWatcher::Run() {
    pthread_setname_np(pthread_self(), "ruvazad1");
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        SayOnce(saidNoDisplay, "cannot open the X display; no pointer positions are reported");
        alive_.store(false);
        return;
    }
    GuardDisplay(display);
    std::atomic<bool> lost{false};
    XSetIOErrorExitHandler(display, ConnectionLost, &lost);

    const Window root = DefaultRootWindow(display);
    const Atom watchMouse = XInternAtom(display, "WM_WATCHMOUSE", False);
    int opcode = 0;
    const bool rawMotion = SelectRawMotion(display, opcode);
    if (!rawMotion)
        SayOnce(saidNoXInput, "the X server has no XInput2; reading the pointer 60 times a second");

    unsigned seenGeneration = generation_.load() - 1;
    bool haveLast = false;
    int lastX = 0, lastY = 0;
    bool moved = !rawMotion; // polling reads on every tick
    Clock::time_point nextRead = Clock::now();
    const int xfd = ConnectionNumber(display);

    auto readAndSend = [&] {
        Window rootReturn = 0, child = 0;
        int x = 0, y = 0, wx = 0, wy = 0;
        unsigned mask = 0;
        reads_.fetch_add(1, std::memory_order_relaxed);
        if (!XQueryPointer(display, root, &rootReturn, &child, &x, &y, &wx, &wy, &mask))
            return; // the pointer is on another screen
        const unsigned generation = generation_.load();
        if (generation != seenGeneration) {
            seenGeneration = generation;
            haveLast = false; // a new target gets the next position whatever it is
        }
        if (haveLast && x == lastX && y == lastY)
            return;
        XClientMessageEvent message{};
        message.type = ClientMessage;
        message.window = target_.load();
        message.message_type = watchMouse;
        message.format = 32;
        message.data.l[0] = static_cast<long>((static_cast<std::uint32_t>(x) & 0xFFFFu) |
                                              ((static_cast<std::uint32_t>(y) & 0xFFFFu) << 16));
        // Sent to the window's creator; a vanished target is an error the guard swallows.
        XSendEvent(display, message.window, False, NoEventMask, reinterpret_cast<XEvent*>(&message));
        XFlush(display);
        sent_.fetch_add(1, std::memory_order_relaxed);
        haveLast = true;
        lastX = x;
        lastY = y;
    };

    while (!stop_.load() && !lost.load()) {
        while (XPending(display) > 0 && !lost.load()) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == GenericEvent && event.xcookie.extension == opcode &&
                event.xcookie.evtype == XI_RawMotion)
                moved = true;
        }
        if (lost.load())
            break;
        auto now = Clock::now();
        if (moved && now >= nextRead) {
            readAndSend();
            nextRead = now + (rawMotion ? coalesce_ : PollInterval);
            moved = !rawMotion;
            if (rawMotion && coalesce_.count() > 0) {
                // Sleep out the interval deaf to the server: the motion of the
                // interval waits in the socket and is drained in one go, so fast
                // motion wakes the thread once per interval, not once per event.
                // The pipe still ends the sleep at once.
                auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(nextRead - Clock::now());
                if (wait.count() > 0) {
                    timespec until{static_cast<time_t>(wait.count() / 1000000000),
                                   static_cast<long>(wait.count() % 1000000000)};
                    pollfd pipeOnly{wakeRead_, POLLIN, 0};
                    ppoll(&pipeOnly, 1, &until, nullptr);
                }
                continue;
            }
            if (XQLength(display) > 0)
                continue; // the reply brought events along
        }
        // At rest there is no timeout: the thread sleeps until the server or the pipe speaks.
        timespec timeout{};
        timespec* timeoutPointer = nullptr;
        if (moved) {
            auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(nextRead - Clock::now());
            if (wait.count() > 0) {
                timeout.tv_sec = static_cast<time_t>(wait.count() / 1000000000);
                timeout.tv_nsec = static_cast<long>(wait.count() % 1000000000);
            }
            timeoutPointer = &timeout;
        }
        pollfd fds[2] = {{xfd, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (ppoll(fds, 2, timeoutPointer, nullptr) < 0 && errno != EINTR)
            break;
        if (fds[1].revents) {
            char buffer[16];
            while (read(wakeRead_, buffer, sizeof buffer) > 0) {
            }
        }
        if (fds[0].revents & (POLLERR | POLLHUP))
            lost.store(true);
    }
    if (lost.load())
        SayOnce(saidLost, "the connection to the X server was lost; the pointer watch ended");
    else
        XCloseDisplay(display);
    UnguardDisplay(display);
    alive_.store(false);
}

} // namespace wt::hook
