// The desktop side of the campaigns: hostide with the add-in on a private
// Xvfb, run with a script and watched from outside through a connection of
// the campaign's own, which can also find, watch and destroy its windows and
// send them messages as another program would.
#pragma once

#include "platform/types.h"
#include "tests/campaigns/campaign.h"

#include <X11/Xlib.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace wt::campaign {

inline constexpr int ScreenWidth = 1024;
inline constexpr int ScreenHeight = 768;

// One run of hostide; standard output and standard error go to files of
// their own, so that what it says on leaving can be read apart.
class HostSession {
public:
    HostSession(std::string dir, std::string display) : dir_(std::move(dir)), display_(display) {}
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Writes Wingtckr.ini with these keys and the rest of the defaults.
    void WriteSettings(const std::map<std::string, std::string>& keys) const;
    std::string SettingsPath() const { return dir_ + "/config/wingtucker/Wingtckr.ini"; }
    // The script a session opens with: a project, the panel, Start.
    std::string Opening() const;
    // Starts hostide with the script; false when it could not be started.
    bool Start(const std::string& script);
    // Waits until standard output holds text; false after timeoutMs or
    // when hostide ended first.
    bool WaitForOutput(const std::string& text, int timeoutMs);
    std::string Output() const { return ReadFile(dir_ + "/stdout"); }
    std::string Errors() const { return ReadFile(dir_ + "/stderr"); }
    bool Alive();
    // Waits for the end; after timeoutMs it is killed and TimedOut is set.
    ChildEnd Wait(int timeoutMs);
    bool TimedOut() const { return timedOut_; }

private:
    std::string dir_;
    std::string display_;
    pid_t pid_ = -1;
    std::optional<ChildEnd> end_;
    bool timedOut_ = false;
};

// Another program on the same display.
class Observer {
public:
    explicit Observer(const std::string& display); // throws when it cannot connect
    ~Observer();
    Observer(const Observer&) = delete;
    Observer& operator=(const Observer&) = delete;

    Display* GetDisplay() const { return display_; }
    // A top-level window of this WM_CLASS class, or one whose title begins
    // with titlePrefix; None when there is none.
    Window FindByClass(const std::string& windowClass);
    Window FindByTitle(const std::string& titlePrefix);
    // The window's rectangle on the root; nothing once it is gone.
    std::optional<TRect> RectOf(Window window);
    bool Mapped(Window window);
    // The mapped top-level windows.
    std::vector<Window> MappedTopLevels();
    void MovePointer(int x, int y);
    void Destroy(Window window);
    // Follows the window's moves: Moves() counts its ConfigureNotify events.
    void Follow(Window window);
    int Moves(Window window);
    Atom Intern(const char* name) { return XInternAtom(display_, name, False); }

private:
    std::vector<Window> TopLevels();
    Display* display_ = nullptr;
    std::map<Window, int> moves_;
};

} // namespace wt::campaign

namespace wt::campaign {

// The rectangle hostide's `rects` printed for a window class after the line
// "@marker"; nothing when there is none.
std::optional<TRect> PrintedRect(const std::string& output, const std::string& marker,
                                 const std::string& windowClass);
std::string Describe(const std::optional<TRect>& rect);

} // namespace wt::campaign
