// A system tray of the XEmbed kind, as small as Qt needs to dock an icon in
// it: it owns _NET_SYSTEM_TRAY_S0, announces itself, and reparents and maps
// the icon windows that ask to dock. For the tests of the runner's tray menu.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <string>
#include <thread>

namespace wt::e2e {

class FakeTray {
public:
    explicit FakeTray(const std::string& display);
    ~FakeTray();
    FakeTray(const FakeTray&) = delete;
    FakeTray& operator=(const FakeTray&) = delete;

    // The docked icon's window, 0 while none has docked.
    Window Icon() const { return icon_; }
    // Where the icon's middle is on the screen.
    int X() const { return Left + Size / 2; }
    int Y() const { return Top + Size / 2; }

    static constexpr int Left = 900, Top = 700, Size = 24;

private:
    void Serve();

    Display* display_ = nullptr;
    Window tray_ = 0;
    std::atomic<Window> icon_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace wt::e2e
