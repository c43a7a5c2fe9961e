#include "hook/pointer_watcher.h"

#include "hook/x_error_guard.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

// A warp (XWarpPointer, as keyboard-mouse and accessibility tools move the
// pointer) makes no raw motion, only ordinary motion and crossing events, so
// these are watched too, taking nothing from other clients:
// - crossing events go to every client that selected them on each window
//   the pointer leaves or enters and never propagate: selected on the root
//   and every top-level window (SubstructureNotify on the root tells of new
//   ones);
// - core motion reaches the root only where no client selected motion below,
//   and core comes last at a window (XInput2 motion there would take it from
//   core clients). As hints: one event per pointer read, not one per motion.
// A warp within one window of a client that selects motion stays unseen
// until the pointer moves or crosses a window. A window destroyed before its
// selection arrives gives an error, dropped like every other.
constexpr std::uint32_t RootEvents =
    XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_POINTER_MOTION_HINT |
    XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
constexpr std::uint32_t TopLevelEvents = XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW;

void WatchCrossings(xcb_connection_t* connection, xcb_window_t window) {
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &TopLevelEvents);
}

void WatchWarps(xcb_connection_t* connection, xcb_window_t root) {
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &RootEvents);
    // Asked after the root's selection: a window made meanwhile is in the
    // tree, or announced, or both (selecting twice does no harm).
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr);
    if (tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        const int count = xcb_query_tree_children_length(tree);
        for (int i = 0; i < count; ++i)
            WatchCrossings(connection, children[i]);
        std::free(tree);
    }
    xcb_flush(connection);
}

// Whether EVENT asks for a pointer read; a new top-level window gets its
// crossing events selected (and SELECTED set, for the flush after the
// drain). Errors and the rest of the root's news are dropped.
bool Moved(xcb_connection_t* connection, xcb_window_t root, int opcode,
           const xcb_generic_event_t* event, bool& selected) {
    switch (event->response_type & 0x7F) {
    case XCB_GE_GENERIC: {
        auto* generic = reinterpret_cast<const xcb_ge_generic_event_t*>(event);
        return generic->extension == opcode && generic->event_type == XI_RawMotion;
    }
    case XCB_MOTION_NOTIFY:
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY: return true; // a warp, or device motion whose raw event comes too
    case XCB_CREATE_NOTIFY:
        WatchCrossings(connection,
                       reinterpret_cast<const xcb_create_notify_event_t*>(event)->window);
        selected = true;
        return false;
    case XCB_REPARENT_NOTIFY: {
        auto* reparent = reinterpret_cast<const xcb_reparent_notify_event_t*>(event);
        if (reparent->parent == root) {
            WatchCrossings(connection, reparent->window);
            selected = true;
        }
        return false;
    }
    default: return false;
    }
}

// Called by Xlib instead of exit() when the connection breaks.
void ConnectionLost(Display*, void* lost) { static_cast<std::atomic<bool>*>(lost)->store(true); }

} // namespace

std::chrono::microseconds CoalesceIntervalFrom(const char* text) {
    if (!text || !*text)
        return DefaultCoalesceInterval;
    long value = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9')
            return DefaultCoalesceInterval;
        value = value * 10 + (*c - '0');
        if (value > 100000)
            return DefaultCoalesceInterval;
    }
    return std::chrono::microseconds(value);
}

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
        return;   // retargeted; the thread picks the new window up at its next send
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
    // From here on the connection is driven through xcb: a pointer read is
    // one write and one read, and nothing polls the socket twice. The errors
    // of requests about a vanished target arrive as events and are dropped.
    XSync(display, False);
    xcb_connection_t* connection = XGetXCBConnection(display);
    XSetEventQueueOwner(display, XCBOwnsEventQueue);

    unsigned seenGeneration = generation_.load() - 1;
    bool haveLast = false;
    int lastX = 0, lastY = 0;
    if (rawMotion)
        WatchWarps(connection, static_cast<xcb_window_t>(root));
    // One read at once: the pointer may have come to rest on the target
    // before the selections above, and a warp within that window would not
    // tell of it. Without XInput2 every tick reads.
    bool moved = true;
    Clock::time_point nextRead = Clock::now();
    const int xfd = xcb_get_file_descriptor(connection);

    auto readAndSend = [&] {
        reads_.fetch_add(1, std::memory_order_relaxed);
        xcb_query_pointer_reply_t* reply =
            xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr);
        if (!reply)
            return; // the connection broke; the loop sees it
        const bool sameScreen = reply->same_screen;
        const int x = reply->root_x, y = reply->root_y;
        std::free(reply);
        if (!sameScreen)
            return; // the pointer is on another screen
        const unsigned generation = generation_.load();
        if (generation != seenGeneration) {
            seenGeneration = generation;
            haveLast = false; // a new target gets the next position whatever it is
        }
        if (haveLast && x == lastX && y == lastY)
            return;
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = static_cast<xcb_window_t>(target_.load());
        message.type = static_cast<xcb_atom_t>(watchMouse);
        message.data.data32[0] = (static_cast<std::uint32_t>(x) & 0xFFFFu) |
                                 ((static_cast<std::uint32_t>(y) & 0xFFFFu) << 16);
        // Sent to the window's creator.
        xcb_send_event(connection, 0, message.window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(connection);
        sent_.fetch_add(1, std::memory_order_relaxed);
        haveLast = true;
        lastX = x;
        lastY = y;
    };

    while (!stop_.load()) {
        bool selected = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            if (Moved(connection, static_cast<xcb_window_t>(root), opcode, event, selected))
                moved = true;
            std::free(event);
        }
        if (selected)
            xcb_flush(connection);
        if (xcb_connection_has_error(connection)) {
            lost.store(true);
            break;
        }
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
                auto wait =
                    std::chrono::duration_cast<std::chrono::nanoseconds>(nextRead - Clock::now());
                if (wait.count() > 0) {
                    timespec until{static_cast<time_t>(wait.count() / 1000000000),
                                   static_cast<long>(wait.count() % 1000000000)};
                    pollfd pipeOnly{wakeRead_, POLLIN, 0};
                    ppoll(&pipeOnly, 1, &until, nullptr);
                }
            }
            continue;
        }
        // At rest there is no timeout: the thread sleeps until the server or the pipe speaks.
        timespec timeout{};
        timespec* timeoutPointer = nullptr;
        if (moved) {
            auto wait =
                std::chrono::duration_cast<std::chrono::nanoseconds>(nextRead - Clock::now());
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
        if (lost.load())
            break;
    }
    // A lost server is the host's to report, in its own words; a second line
    // here would only repeat it. A connection that broke is not closed:
    // Xlib would print a line for each request of the closing.
    if (!lost.load() && !xcb_connection_has_error(connection))
        XCloseDisplay(display);
    UnguardDisplay(display);
    alive_.store(false);
}

} // namespace wt::hook
