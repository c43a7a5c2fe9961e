#include "platform/sim/sim_platform.h"

#include "platform/files.h"
#include "platform/profile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace wt {

namespace {

constexpr int DefaultScreenWidth = 1024;
constexpr int DefaultFullScreenHeight = 730;
constexpr int DefaultCaptionHeight = 18;
// Longest sound name the move routines can hand over (a 100-character buffer).
constexpr std::size_t MaxSoundName = 99;
// Guards against a handler that posts to itself for ever.
constexpr int MaxDeliveriesPerPump = 100000;

std::uint32_t ReadLe32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Duration in milliseconds of a RIFF/WAVE file, or -1 when it is not one.
std::int64_t WaveDurationMs(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return -1;
    unsigned char header[12];
    if (!in.read(reinterpret_cast<char*>(header), 12) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return -1;
    std::uint32_t byteRate = 0;
    for (int chunks = 0; chunks < 64; ++chunks) {
        unsigned char chunk[8];
        if (!in.read(reinterpret_cast<char*>(chunk), 8))
            return -1;
        std::uint32_t size = ReadLe32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            unsigned char fmt[16];
            if (size < 16 || !in.read(reinterpret_cast<char*>(fmt), 16))
                return -1;
            byteRate = ReadLe32(fmt + 8);
            in.seekg(size - 16 + (size & 1), std::ios::cur);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (byteRate == 0)
                return -1;
            return static_cast<std::int64_t>(size) * 1000 / byteRate;
        } else {
            in.seekg(size + (size & 1), std::ios::cur);
        }
    }
    return -1;
}

} // namespace

SimPlatform::SimPlatform(std::string configDir) : Platform(std::move(configDir)) {
    UseDrivers({this, this, this, this, this});
    KeepOwnCurrentDirectory();
    SetMountPoints({"/"}); // until a test gives its own (directories standing for drives)
    SetScreen(DefaultScreenWidth, DefaultFullScreenHeight, DefaultCaptionHeight);
}

SimPlatform::~SimPlatform() = default;

// The guard's view of the simulated desktop: the manager's rule applied here.
class SimPlatform::Desk : public TuckDesk {
public:
    explicit Desk(SimPlatform& platform) : p_(platform) {}

    std::string ManagerName() override { return p_.manager_ ? p_.manager_->Name : ""; }
    TRect Screen() override { return p_.ScreenRect(); }
    std::optional<TRect> Outer(WindowHandle window) override {
        const Window* w = p_.FindById(window);
        if (!w)
            return std::nullopt;
        return w->Rect;
    }
    bool Place(WindowHandle window, TRect target, TuckWay way) override {
        auto it = p_.windows_.find(window);
        if (it == p_.windows_.end())
            return false;
        p_.placements_.push_back({window, target, way});
        const bool take = p_.manager_ && way == TuckWay::TakeFromManager;
        p_.taken_[window] = take;
        const bool free =
            !p_.manager_ || way == TuckWay::Direct || (take && p_.manager_->AllowsTakeOver);
        it->second.Rect = free ? target : p_.Kept(target);
        return true;
    }
    void Tell(const std::string& text) override { p_.MessageBox(text, "Wingtucker"); }

private:
    SimPlatform& p_;
};

void SimPlatform::SetManager(std::optional<Manager> manager) {
    manager_ = std::move(manager);
    if (!desk_) {
        desk_ = std::make_unique<Desk>(*this);
        guard_ = std::make_unique<TuckGuard>(*desk_);
    }
}

bool SimPlatform::TakenFromManager(WindowHandle window) const {
    auto it = taken_.find(window);
    return it != taken_.end() && it->second;
}

TRect SimPlatform::ScreenRect() const {
    auto metric = [this](int index) {
        auto it = metrics_.find(index);
        return it == metrics_.end() ? 0 : it->second;
    };
    return {0, 0, metric(SM_CXSCREEN), metric(SM_CYFULLSCREEN) + metric(SM_CYCAPTION)};
}

namespace {
// One axis of a rectangle moved so that at least keep pixels of it (all of
// it for -1) lie inside [low, high).
void KeepSpan(std::int32_t& from, std::int32_t& to, std::int32_t low, std::int32_t high, int keep) {
    const std::int32_t length = to - from;
    const std::int32_t room = std::max(0, high - low);
    const std::int32_t shown = std::min(keep < 0 ? length : std::min(keep, length), room);
    std::int32_t start = std::clamp(from, low - (length - shown), high - shown);
    to = start + length;
    from = start;
}
} // namespace

TRect SimPlatform::Kept(TRect target) const {
    const TRect screen = ScreenRect();
    const int keep = manager_ ? manager_->KeepOnScreen : -1;
    KeepSpan(target.Left, target.Right, screen.Left, screen.Right, keep);
    KeepSpan(target.Top, target.Bottom, screen.Top, screen.Bottom, keep);
    return target;
}

void SimPlatform::ReleaseWindows() {
    if (guard_)
        guard_->ReleaseAll();
}

// --- Scripting ---------------------------------------------------------------

WindowHandle SimPlatform::AddWindow(std::string className, std::string title, TRect rect) {
    WindowHandle h = NewHandle();
    windows_[h] = Window{h, std::move(className), std::move(title), rect, 0, 0, true};
    zOrder_.push_back(h);
    return h;
}

WindowHandle SimPlatform::AddChildWindow(WindowHandle parent, std::string className, TRect rect) {
    if (!windows_.count(parent))
        return 0;
    WindowHandle h = NewHandle();
    windows_[h] = Window{h, std::move(className), {}, rect, parent, 0, true};
    zOrder_.push_back(h);
    return h;
}

WindowHandle SimPlatform::AddPopup(WindowHandle owner, std::string className, std::string title,
                                   TRect rect) {
    if (!windows_.count(owner))
        return 0;
    WindowHandle h = NewHandle();
    windows_[h] = Window{h, std::move(className), std::move(title), rect, 0, owner, true};
    zOrder_.push_back(h);
    return h;
}

void SimPlatform::DestroyWindow(WindowHandle window) {
    if (!windows_.count(window))
        return;
    // Children and owned pop-ups go with their window.
    std::vector<WindowHandle> dependants;
    for (const auto& [h, w] : windows_)
        if (w.Parent == window || w.Owner == window)
            dependants.push_back(h);
    for (WindowHandle h : dependants)
        DestroyWindow(h);
    windows_.erase(window);
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), window), zOrder_.end());
    if (own_.count(window))
        own_.erase(window);
}

void SimPlatform::SetWindowRect(WindowHandle window, TRect rect) {
    if (auto it = windows_.find(window); it != windows_.end())
        it->second.Rect = rect;
}

const SimPlatform::Window* SimPlatform::FindById(WindowHandle window) const {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

std::vector<WindowHandle> SimPlatform::ZOrder() const {
    std::vector<WindowHandle> result;
    for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it)
        if (windows_.at(*it).Parent == 0)
            result.push_back(*it);
    return result;
}

void SimPlatform::SetSystemMetric(int index, int value) { metrics_[index] = value; }

void SimPlatform::SetScreen(int width, int fullScreenHeight, int captionHeight) {
    metrics_[SM_CXSCREEN] = width;
    metrics_[SM_CYFULLSCREEN] = fullScreenHeight;
    metrics_[SM_CYCAPTION] = captionHeight;
}

void SimPlatform::SetMonitors(std::vector<TRect> monitors) {
    monitors_ = std::move(monitors);
    for (const auto& [window, entry] : own_)
        queue_.push_back({window, WM_DISPLAYCHANGE, 0, 0});
}

void SimPlatform::SetShowState(WindowHandle window, TShowState state, TRect normalRect) {
    showStates_[window] = {state, normalRect};
    if (state == TShowState::Maximized)
        SetWindowRect(window, ScreenRect());
}

TShowState SimPlatform::ShowStateOf(WindowHandle window) {
    auto it = showStates_.find(window);
    return it == showStates_.end() || !FindById(window) ? TShowState::Normal : it->second.State;
}

bool SimPlatform::ShowWindow(WindowHandle window, int command) {
    if (!FindById(window) || (command != SW_MAXIMIZE && command != SW_RESTORE))
        return false;
    Shown& shown = showStates_[window];
    if (command == SW_MAXIMIZE && shown.State != TShowState::Maximized) {
        shown = {TShowState::Maximized, GetWindowRect(window)};
        SetWindowRect(window, ScreenRect());
    } else if (command == SW_RESTORE && shown.State == TShowState::Maximized) {
        shown.State = TShowState::Normal;
        SetWindowRect(window, shown.Normal);
    }
    return true;
}

bool SimPlatform::RegisterHotKey(WindowHandle window, int id, const THotKey& key) {
    UnregisterHotKey(window, id);
    if (!own_.count(window) ||
        std::find(HotKeysHeldElsewhere.begin(), HotKeysHeldElsewhere.end(), key) !=
            HotKeysHeldElsewhere.end() ||
        HotKeyRegistered(key))
        return false;
    hotKeys_.push_back({window, id, key});
    return true;
}

void SimPlatform::UnregisterHotKey(WindowHandle window, int id) {
    std::erase_if(hotKeys_, [&](const HotKeyEntry& e) { return e.Window == window && e.Id == id; });
}

bool SimPlatform::HotKeyRegistered(const THotKey& key) const {
    return std::any_of(hotKeys_.begin(), hotKeys_.end(),
                       [&](const HotKeyEntry& e) { return e.Key == key; });
}

bool SimPlatform::PressHotKey(const THotKey& key) {
    for (const HotKeyEntry& e : hotKeys_)
        if (e.Key == key)
            return PostMessage(e.Window, WM_HOTKEY, static_cast<std::uintptr_t>(e.Id), 0);
    return false;
}

void SimPlatform::ClearRecords() {
    moves_.clear();
    bringToTop_.clear();
    sounds_.clear();
    help_.clear();
    messageBoxes_.clear();
    placements_.clear();
}

// --- Window services -----------------------------------------------------------

WindowHandle SimPlatform::FindWindow(std::string_view className,
                                     std::optional<std::string_view> title) {
    for (WindowHandle h : ZOrder()) {
        const Window& w = windows_.at(h);
        if (w.ClassName == className && (!title || w.Title == *title))
            return h;
    }
    return 0;
}

bool SimPlatform::IsWindow(WindowHandle window) { return window != 0 && windows_.count(window); }

TRect SimPlatform::GetWindowRect(WindowHandle window) {
    auto it = windows_.find(window);
    if (it == windows_.end())
        return {};
    if (guard_ && it->second.Parent == 0)
        guard_->Seen(window, it->second.Rect);
    return it->second.Rect;
}

bool SimPlatform::MoveWindow(WindowHandle window, int x, int y, int width, int height,
                             bool repaint) {
    MoveCall call{window, x, y, width, height, repaint, false};
    if (OnMoveWindow)
        OnMoveWindow(call);
    auto it = windows_.find(window);
    if (window != 0 && it != windows_.end()) {
        if (guard_ && it->second.Parent == 0)
            guard_->Move(window, call.Rect());
        else
            it->second.Rect = call.Rect();
        call.Moved = true;
    }
    moves_.push_back(call);
    return call.Moved;
}

bool SimPlatform::BringWindowToTop(WindowHandle window) {
    bringToTop_.push_back(window);
    auto it = std::find(zOrder_.begin(), zOrder_.end(), window);
    if (window == 0 || it == zOrder_.end())
        return false;
    zOrder_.erase(it);
    zOrder_.push_back(window);
    return true;
}

int SimPlatform::GetSystemMetrics(int index) {
    if (index == SM_CXSCREEN && guard_)
        guard_->NewAttempt(); // as on the real desktop: a start measures the screen
    auto it = metrics_.find(index);
    return it == metrics_.end() ? 0 : it->second;
}

std::vector<WindowHandle> SimPlatform::ChildrenOf(WindowHandle parent) const {
    std::vector<WindowHandle> result;
    for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it)
        if (windows_.at(*it).Parent == parent)
            result.push_back(*it);
    return result;
}

WindowHandle SimPlatform::TopmostAt(const std::vector<WindowHandle>& layer, TPoint p) const {
    for (WindowHandle h : layer) {
        const Window& w = windows_.at(h);
        if (w.Visible && w.Rect.Contains(p.X, p.Y)) {
            WindowHandle child = TopmostAt(ChildrenOf(h), p);
            return child ? child : h;
        }
    }
    return 0;
}

WindowHandle SimPlatform::WindowFromPoint(TPoint point) { return TopmostAt(ZOrder(), point); }

WindowHandle SimPlatform::GetParent(WindowHandle window) {
    auto it = windows_.find(window);
    if (it == windows_.end())
        return 0;
    return it->second.Parent ? it->second.Parent : it->second.Owner;
}

std::vector<WindowHandle> SimPlatform::TopLevelWindows() { return ZOrder(); }

std::optional<TWindowFacts> SimPlatform::FactsOf(WindowHandle window) {
    const Window* w = FindById(window);
    if (!w)
        return std::nullopt;
    return TWindowFacts{w->ClassName, w->Instance, w->Title, w->Role,
                        w->Type,      w->Leader,   w->Pid,   "sim"};
}

void SimPlatform::SetWindowClient(WindowHandle window, unsigned long leader, long pid) {
    auto it = windows_.find(window);
    if (it == windows_.end())
        return;
    it->second.Leader = leader;
    it->second.Pid = pid;
}

void SimPlatform::SetWindowFacts(WindowHandle window, std::string instance, std::string role,
                                 std::string type) {
    auto it = windows_.find(window);
    if (it == windows_.end())
        return;
    it->second.Instance = std::move(instance);
    it->second.Role = std::move(role);
    it->second.Type = std::move(type);
}

void SimPlatform::MessageBox(std::string_view text, std::string_view caption) {
    MessageBoxCall call{std::string(text), std::string(caption)};
    messageBoxes_.push_back(call);
    if (OnMessageBox)
        OnMessageBox(call);
}

// --- Our windows and messages ------------------------------------------------------

WindowHandle SimPlatform::AttachWindow(std::uintptr_t, std::string_view className,
                                       MessageHandler handler) {
    WindowHandle h = AddWindow(std::string(className), {}, {});
    windows_[h].Visible = false;
    own_[h] = OwnWindow{std::move(handler)};
    return h;
}

void SimPlatform::DetachWindow(WindowHandle window) {
    if (own_.count(window))
        DestroyWindow(window);
}

bool SimPlatform::PostMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                              std::intptr_t lParam) {
    if (!own_.count(window))
        return false;
    queue_.push_back({window, msg, wParam, lParam});
    return true;
}

bool SimPlatform::SendMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                              std::intptr_t lParam) {
    return Deliver({window, msg, wParam, lParam});
}

bool SimPlatform::Deliver(const WindowMessage& message) {
    auto it = own_.find(message.Window);
    if (it == own_.end() || !it->second.Handler)
        return false;
    MessageHandler handler = it->second.Handler; // the handler may detach its window
    handler(message);
    return true;
}

void SimPlatform::DeliverQueued() {
    for (int n = 0; n < MaxDeliveriesPerPump && !queue_.empty(); ++n) {
        WindowMessage m = queue_.front();
        queue_.pop_front();
        Deliver(m);
    }
}

void SimPlatform::FireZeroIntervalTimers() {
    std::vector<TimerId> due;
    for (const auto& [id, t] : timers_)
        if (t.Interval <= 0)
            due.push_back(id);
    for (TimerId id : due) {
        auto it = timers_.find(id);
        if (it == timers_.end() || it->second.Running)
            continue;
        it->second.Running = true;
        auto tick = it->second.Tick;
        tick();
        if (auto again = timers_.find(id); again != timers_.end())
            again->second.Running = false;
    }
}

void SimPlatform::ProcessMessages() {
    DeliverQueued();
    FireZeroIntervalTimers();
}

// --- Timers and the clock ----------------------------------------------------------

TimerId SimPlatform::SetTimer(int intervalMs, std::function<void()> tick) {
    TimerId id = nextTimer_++;
    Timer t;
    t.Interval = intervalMs;
    t.Due = now_ + std::max(intervalMs, 0);
    t.Order = timerOrder_++;
    t.Tick = std::move(tick);
    timers_[id] = std::move(t);
    return id;
}

void SimPlatform::KillTimer(TimerId timer) { timers_.erase(timer); }

bool SimPlatform::TimerActive(TimerId timer) const { return timers_.count(timer) != 0; }

void SimPlatform::Advance(std::int64_t ms) {
    const std::int64_t target = now_ + std::max<std::int64_t>(ms, 0);
    DeliverQueued();
    FireZeroIntervalTimers();
    for (;;) {
        // The earliest due timer with a positive interval; older timers first on ties.
        TimerId next = 0;
        const Timer* best = nullptr;
        for (const auto& [id, t] : timers_) {
            if (t.Interval <= 0 || t.Due > target || t.Running)
                continue;
            if (!best || t.Due < best->Due || (t.Due == best->Due && t.Order < best->Order)) {
                best = &t;
                next = id;
            }
        }
        if (!best)
            break;
        now_ = std::max(now_, best->Due);
        Timer& t = timers_.at(next);
        t.Due += t.Interval;
        t.Running = true;
        auto tick = t.Tick;
        tick();
        if (auto again = timers_.find(next); again != timers_.end())
            again->second.Running = false;
        DeliverQueued();
    }
    now_ = target;
    DeliverQueued();
}

// --- Sound ---------------------------------------------------------------------

bool SimPlatform::PlaySound(std::string_view fileName, unsigned flags) {
    SoundRequest request{std::string(fileName), flags, now_, false};
    bool busy = now_ < soundBusyUntil_;
    if (!fileName.empty() && fileName.size() <= MaxSoundName && !(busy && (flags & SND_NOSTOP))) {
        std::int64_t duration = WaveDurationMs(request.FileName);
        if (duration >= 0) {
            request.Played = true;
            soundBusyUntil_ = now_ + std::max<std::int64_t>(duration, 1);
        }
    }
    sounds_.push_back(request);
    return request.Played;
}

// --- Help and hook ---------------------------------------------------------------

void SimPlatform::AddHelpTopic(std::string helpFile, std::string topic) {
    helpTopics_[std::move(helpFile)].push_back(std::move(topic));
}

bool SimPlatform::ShowHelp(std::string_view helpFile, std::string_view topic) {
    help_.push_back({std::string(helpFile), std::string(topic)});
    auto it = helpTopics_.find(std::string(helpFile));
    return it != helpTopics_.end() &&
           std::find(it->second.begin(), it->second.end(), topic) != it->second.end();
}

void SimPlatform::SetHook(WindowHandle window) {
    ++setHookCalls_;
    hookWindow_ = window;
}

void SimPlatform::ResetHook() {
    ++resetHookCalls_;
    hookWindow_ = 0;
}

bool SimPlatform::MovePointer(int x, int y) {
    if (!hookWindow_)
        return false;
    std::intptr_t lParam = (static_cast<std::intptr_t>(y & 0xFFFF) << 16) | (x & 0xFFFF);
    return PostMessage(hookWindow_, WM_WATCHMOUSE, 0, lParam);
}

} // namespace wt
