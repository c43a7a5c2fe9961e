#include "platform/x11/x11_show_states.h"

#include "platform/x11/x11_desktop.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace wt {

namespace {

bool Has(const std::vector<unsigned long>& states, Atom atom) {
    return std::find(states.begin(), states.end(), atom) != states.end();
}

bool Maximized(X11Desktop& desktop, Window window) {
    const X11Atoms& atoms = desktop.Atoms();
    const auto states = desktop.Longs(window, atoms.NetWmState, XA_ATOM);
    return states && Has(*states, atoms.NetWmStateMaximizedVert) &&
           Has(*states, atoms.NetWmStateMaximizedHorz);
}

} // namespace

TShowState ShowStateOf(X11Desktop& desktop, Window window) {
    const X11Atoms& atoms = desktop.Atoms();
    if (const auto wmState = desktop.WmStateOf(window); wmState && *wmState == IconicState)
        return TShowState::Minimized;
    const auto states = desktop.Longs(window, atoms.NetWmState, XA_ATOM);
    if (!states)
        return TShowState::Normal;
    if (Has(*states, atoms.NetWmStateHidden))
        return TShowState::Minimized;
    if (Has(*states, atoms.NetWmStateShaded))
        return TShowState::Shaded;
    if (Has(*states, atoms.NetWmStateMaximizedVert) && Has(*states, atoms.NetWmStateMaximizedHorz))
        return TShowState::Maximized;
    return TShowState::Normal;
}

bool SetMaximized(X11Desktop& desktop, Window window, bool maximized) {
    Display* display = desktop.GetDisplay();
    const X11Atoms& atoms = desktop.Atoms();
    if (Maximized(desktop, window) == maximized)
        return true;
    if (!desktop.WindowManagerRunning()) {
        // No one to ask: the property alone says it.
        auto states =
            desktop.Longs(window, atoms.NetWmState, XA_ATOM).value_or(std::vector<unsigned long>{});
        std::erase_if(states, [&](unsigned long a) {
            return a == atoms.NetWmStateMaximizedVert || a == atoms.NetWmStateMaximizedHorz;
        });
        if (maximized) {
            states.push_back(atoms.NetWmStateMaximizedVert);
            states.push_back(atoms.NetWmStateMaximizedHorz);
        }
        XChangeProperty(display, window, atoms.NetWmState, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(states.data()),
                        static_cast<int>(states.size()));
        XSync(display, False);
        return true;
    }
    XClientMessageEvent request{};
    request.type = ClientMessage;
    request.window = window;
    request.message_type = atoms.NetWmState;
    request.format = 32;
    request.data.l[0] = maximized ? 1 : 0; // _NET_WM_STATE_ADD or _REMOVE
    request.data.l[1] = static_cast<long>(atoms.NetWmStateMaximizedVert);
    request.data.l[2] = static_cast<long>(atoms.NetWmStateMaximizedHorz);
    request.data.l[3] = 2; // a tool acting for the user
    XSendEvent(display, desktop.Root(), False, SubstructureRedirectMask | SubstructureNotifyMask,
               reinterpret_cast<XEvent*>(&request));
    XSync(display, False);
    // The manager sets the property once it has placed the window.
    const auto until = std::chrono::steady_clock::now() + X11Desktop::ReleaseTime;
    while (Maximized(desktop, window) != maximized) {
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace wt
