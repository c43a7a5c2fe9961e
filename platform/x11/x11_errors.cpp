#include "platform/x11/x11_errors.h"

#include <mutex>
#include <vector>

namespace wt {

namespace {

struct Watched {
    Display* display = nullptr;
    bool failed = false;
    unsigned long lastFailedSerial = 0;
};

// Never destroyed: a platform object that lives in a static of its own (the
// add-in's) may be torn down by an exit handler after these would have been.
std::mutex& Lock() {
    static auto* lock = new std::mutex;
    return *lock;
}
std::vector<Watched>& WatchedDisplays() {
    static auto* displays = new std::vector<Watched>;
    return *displays;
}
XErrorHandler previousHandler = nullptr;
XIOErrorHandler previousIOHandler = nullptr;
bool installed = false;

bool Watching(Display* display) {
    for (const auto& watched : WatchedDisplays())
        if (watched.display == display)
            return true;
    return false;
}

int RecordError(Display* display, XErrorEvent* error) {
    XErrorHandler forward = nullptr;
    {
        std::lock_guard guard(Lock());
        for (auto& watched : WatchedDisplays()) {
            if (watched.display == display) {
                watched.failed = true;
                if (error->serial > watched.lastFailedSerial)
                    watched.lastFailedSerial = error->serial;
                return 0;
            }
        }
        forward = previousHandler;
    }
    return forward ? forward(display, error) : 0;
}

// Xlib's default handler of a broken connection prints and calls exit()
// itself, so the display's exit handler would never run: the host would end
// in the middle of whatever it was doing. For our displays it returns; the
// exit handler then marks the connection lost and the call fails.
int RecordIOError(Display* display) {
    XIOErrorHandler forward = nullptr;
    {
        std::lock_guard guard(Lock());
        if (Watching(display))
            return 0;
        forward = previousIOHandler;
    }
    return forward ? forward(display) : 0;
}

bool FailedSince(Display* display, unsigned long start) {
    std::lock_guard guard(Lock());
    for (const auto& watched : WatchedDisplays())
        if (watched.display == display)
            return watched.failed && watched.lastFailedSerial >= start;
    return false;
}

} // namespace

void WatchDisplayErrors(Display* display) {
    std::lock_guard guard(Lock());
    WatchedDisplays().push_back({display});
    if (!installed) {
        previousHandler = XSetErrorHandler(RecordError);
        previousIOHandler = XSetIOErrorHandler(RecordIOError);
        installed = true;
    }
}

void UnwatchDisplayErrors(Display* display) {
    std::lock_guard guard(Lock());
    auto& displays = WatchedDisplays();
    std::erase_if(displays, [display](const Watched& w) { return w.display == display; });
    if (displays.empty() && installed) {
        // Step out of the chain only if nobody installed a handler after us;
        // otherwise stay, forwarding, since that handler may forward to us.
        XErrorHandler current = XSetErrorHandler(previousHandler);
        XIOErrorHandler currentIO = XSetIOErrorHandler(previousIOHandler);
        if (current != RecordError || currentIO != RecordIOError) {
            XSetErrorHandler(current);
            XSetIOErrorHandler(currentIO);
        } else {
            installed = false;
        }
    }
}

bool DisplayErrorHandlerInstalled() {
    std::lock_guard guard(Lock());
    return installed;
}

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display), start_(NextRequest(display)) {}

bool X11ErrorTrap::Failed() {
    XSync(display_, False);
    return FailedSince(display_, start_);
}

bool X11ErrorTrap::FailedSoFar() const { return FailedSince(display_, start_); }

} // namespace wt
