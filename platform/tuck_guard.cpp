#include "platform/tuck_guard.h"

#include <algorithm>
#include <cctype>

namespace wt {

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// Managers by the start of their name, as measured under each (docs/USER_GUIDE.md).
struct KnownManager {
    const char* Prefix;
    TuckWay First;
};

constexpr KnownManager KnownManagers[] = {
    {"fluxbox", TuckWay::AskManager},
    {"kwin", TuckWay::AskManager}, // exempts _NET_MOVERESIZE_WINDOW from its clamp
    // These keep part of a window on screen whatever a program asks.
    {"openbox", TuckWay::TakeFromManager},
    {"xfwm4", TuckWay::TakeFromManager},
    {"icewm", TuckWay::TakeFromManager},
    {"metacity", TuckWay::TakeFromManager},
    // Metacity's descendants keep its rule.
    {"gnome shell", TuckWay::TakeFromManager},
    {"mutter", TuckWay::TakeFromManager},
    {"marco", TuckWay::TakeFromManager},
    {"muffin", TuckWay::TakeFromManager},
};

} // namespace

std::string_view TuckWayName(TuckWay way) {
    switch (way) {
    case TuckWay::Direct: return "direct";
    case TuckWay::AskManager: return "ask the manager";
    case TuckWay::TakeFromManager: return "take from the manager";
    }
    return "?";
}

TuckPlan PlanFor(std::string_view managerName) {
    if (managerName.empty())
        return {TuckWay::Direct, std::nullopt, true};
    const std::string name = Lower(managerName);
    for (const KnownManager& known : KnownManagers) {
        if (name.rfind(known.Prefix, 0) != 0)
            continue;
        if (known.First == TuckWay::TakeFromManager)
            return {known.First, std::nullopt, true};
        return {known.First, TuckWay::TakeFromManager, true};
    }
    return {TuckWay::AskManager, TuckWay::TakeFromManager, false};
}

std::string RefusalMessage(std::string_view managerName) {
    return "The window manager \"" + std::string(managerName) +
           "\" keeps the IDE's windows on the screen, so Wingtucker could not tuck them away "
           "and has put them back where they were.\n\n"
           "Wingtucker works with no window manager and under fluxbox, openbox, xfwm4, "
           "metacity and icewm. Under another manager, look for a setting that lets "
           "programs move windows off the screen, then press Start again.";
}

bool MostlyOff(TRect r, TRect screen) {
    const std::int64_t width = std::int64_t{r.Right} - r.Left;
    const std::int64_t height = std::int64_t{r.Bottom} - r.Top;
    if (width <= 0 || height <= 0)
        return false;
    const std::int64_t seenWidth = std::max<std::int64_t>(
        0, std::int64_t{std::min(r.Right, screen.Right)} - std::max(r.Left, screen.Left));
    const std::int64_t seenHeight = std::max<std::int64_t>(
        0, std::int64_t{std::min(r.Bottom, screen.Bottom)} - std::max(r.Top, screen.Top));
    return 2 * seenWidth < width || 2 * seenHeight < height;
}

bool ShowsAsAsked(TRect landed, TRect target, TRect screen) {
    if (WhollyOn(target, screen))
        return false;
    const auto shown = [&](TRect r) {
        return TRect{std::max(r.Left, screen.Left), std::max(r.Top, screen.Top),
                     std::min(r.Right, screen.Right), std::min(r.Bottom, screen.Bottom)};
    };
    const TRect seen = shown(landed);
    return seen.Width() > 0 && seen.Height() > 0 && seen == shown(target);
}

bool WhollyOn(TRect r, TRect screen) {
    return r.Left >= screen.Left && r.Top >= screen.Top && r.Right <= screen.Right &&
           r.Bottom <= screen.Bottom;
}

void TuckGuard::LookAtManager() {
    std::string name = desk_.ManagerName();
    if (manager_seen_ && *manager_seen_ == name)
        return;
    // A new manager (or the first look): its own plan, from its first way.
    manager_seen_ = name;
    manager_ = std::move(name);
    plan_ = PlanFor(manager_);
    way_ = plan_.First;
}

TuckWay TuckGuard::CurrentWay() {
    LookAtManager();
    return way_;
}

bool TuckGuard::Lands(WindowHandle window, TRect target, TuckWay way) {
    if (!desk_.Place(window, target, way))
        return false;
    // A loaded manager may confirm late: a move is judged after 100 ms at most.
    for (int look = 0; look < 6; ++look) {
        const auto landed = desk_.Outer(window);
        if (!landed)
            return false;
        // A window that keeps its size lands when what shows of it is what
        // was asked to show.
        if (*landed == target || ShowsAsAsked(*landed, target, desk_.Screen()))
            return true;
        if (look < 5)
            desk_.Pause(20);
    }
    return false;
}

TuckWay TuckGuard::ManagedWay() const {
    return way_ == TuckWay::TakeFromManager ? TuckWay::AskManager : way_;
}

bool TuckGuard::IsHome(WindowHandle window, TRect target) const {
    auto it = homes_.find(window);
    return it != homes_.end() &&
           std::find(it->second.begin(), it->second.end(), target) != it->second.end();
}

bool TuckGuard::Move(WindowHandle window, TRect target) {
    const auto now = desk_.Outer(window);
    if (!now)
        return false;
    LookAtManager();
    const TRect screen = desk_.Screen();
    if (WhollyOn(target, screen) || IsHome(window, target)) {
        tucked_.erase(window);
        return desk_.Place(window, target, ManagedWay());
    }
    // Where the window stood before the slide whose step first leaves part of
    // it off: the place last read, else where this step starts.
    const auto seen = seen_.find(window);
    const TRect home = seen != seen_.end() ? seen->second : *now;
    if (tucked_.try_emplace(window, Tucked{home}).second) {
        std::vector<TRect>& homes = homes_[window];
        if (homes.size() >= 8)
            homes.erase(homes.begin());
        if (std::find(homes.begin(), homes.end(), home) == homes.end())
            homes.push_back(home);
    }
    // A step mostly on screen, through a manager that is asked: what it makes
    // of it is its business; only tucks are checked.
    if (!MostlyOff(target, screen) && way_ != TuckWay::TakeFromManager)
        return desk_.Place(window, target, way_);
    if (refused_)
        return true; // told already: the window stays where it was put back
    if (Lands(window, target, way_))
        return true;
    if (!desk_.Outer(window))
        return false; // gone in between: nobody refused anything
    if (plan_.Fallback && way_ != *plan_.Fallback) {
        way_ = *plan_.Fallback;
        if (Lands(window, target, way_))
            return true;
    }
    refused_ = true;
    PutBackAll();
    if (!told_) {
        told_ = true;
        desk_.Tell(RefusalMessage(manager_));
    }
    return false;
}

void TuckGuard::Seen(WindowHandle window, TRect place) {
    if (!tucked_.count(window))
        seen_[window] = place;
}

void TuckGuard::PutBackAll() {
    for (const auto& [window, tucked] : tucked_)
        desk_.Place(window, tucked.Home, ManagedWay());
    tucked_.clear();
}

void TuckGuard::NewAttempt() {
    refused_ = false;
    told_ = false;
    manager_seen_.reset(); // and the plan starts from the manager's first way again
}

void TuckGuard::ReleaseAll() {
    LookAtManager();
    const TRect screen = desk_.Screen();
    // Only what still stands tucked goes home; a window Stop put back on a
    // place partly off screen stays there, given back to the manager.
    for (auto it = tucked_.begin(); it != tucked_.end();) {
        const auto now = desk_.Outer(it->first);
        if (now && !MostlyOff(*now, screen))
            desk_.Place(it->first, *now, ManagedWay());
        else if (now)
            desk_.Place(it->first, it->second.Home, ManagedWay());
        it = tucked_.erase(it);
    }
}

} // namespace wt
