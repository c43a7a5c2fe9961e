#include "platform/x11/x11_homes.h"

#include "platform/x11/x11_errors.h"
#include "platform/x11/x11_takeover.h"

#include <X11/Xatom.h>

#include <cerrno>
#include <set>
#include <signal.h>

namespace wt {

namespace {
constexpr int HomeLength = 5;
} // namespace

void MarkHome(X11Desktop& desktop, Window window, const HomeMark& mark) {
    const long values[HomeLength] = {mark.Home.Left, mark.Home.Top, mark.Home.Right,
                                     mark.Home.Bottom, mark.Pid};
    XChangeProperty(desktop.GetDisplay(), window, desktop.Atoms().WingtuckerHome, XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(values), HomeLength);
}

void ClearHome(X11Desktop& desktop, Window window) {
    XDeleteProperty(desktop.GetDisplay(), window, desktop.Atoms().WingtuckerHome);
}

std::optional<HomeMark> ReadHome(X11Desktop& desktop, Window window) {
    const auto values = desktop.Longs(window, desktop.Atoms().WingtuckerHome, XA_CARDINAL);
    if (!values || values->size() != HomeLength)
        return std::nullopt;
    // Format-32 items come as unsigned longs: positions may be negative.
    auto at = [&](int i) { return static_cast<int>(static_cast<long>((*values)[i])); };
    HomeMark mark{{at(0), at(1), at(2), at(3)}, static_cast<long>((*values)[4])};
    if (mark.Home.Width() <= 0 || mark.Home.Height() <= 0)
        return std::nullopt;
    return mark;
}

int ReturnHome(X11Desktop& desktop, long pid) {
    X11Takeover takeover(desktop);
    int returned = 0;
    for (Window window : desktop.TopLevelCandidates()) {
        const std::optional<HomeMark> mark = ReadHome(desktop, window);
        if (!mark || mark->Pid != pid)
            continue;
        takeover.RecoverLeftover(window);
        desktop.Move(window, mark->Home, true);
        ClearHome(desktop, window);
        ++returned;
    }
    XSync(desktop.GetDisplay(), False);
    return returned;
}

int ReturnHomeOnOwnConnection(long pid) {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 0; // the display went with the process: no window is left to save
    WatchDisplayErrors(display);
    int returned = 0;
    {
        X11Desktop desktop(display);
        returned = ReturnHome(desktop, pid);
    }
    XCloseDisplay(display);
    UnwatchDisplayErrors(display);
    return returned;
}

int ReturnOrphans(X11Desktop& desktop) {
    std::set<long> gone;
    for (Window window : desktop.TopLevelCandidates())
        if (const std::optional<HomeMark> mark = ReadHome(desktop, window))
            if (mark->Pid > 0 && ::kill(static_cast<pid_t>(mark->Pid), 0) != 0 && errno == ESRCH)
                gone.insert(mark->Pid);
    int returned = 0;
    for (long pid : gone)
        returned += ReturnHome(desktop, pid);
    return returned;
}

} // namespace wt
