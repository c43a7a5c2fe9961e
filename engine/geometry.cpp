#include "engine/geometry.h"

#include "engine/engine_state.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

namespace wt {

namespace {

// The window's height or width as a 16-bit unsigned number: extents outside
// 0..65535 wrap, as the IDE's own arithmetic has them.
std::int32_t Extent16(std::int32_t from, std::int32_t to) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(to) -
                                      static_cast<std::uint32_t>(from));
}

enum class TSide { Top, Left, Right };

std::int64_t OverlapArea(TRect a, TRect b) {
    const std::int64_t w = std::int64_t{std::min(a.Right, b.Right)} - std::max(a.Left, b.Left);
    const std::int64_t h = std::int64_t{std::min(a.Bottom, b.Bottom)} - std::max(a.Top, b.Top);
    return w > 0 && h > 0 ? w * h : 0;
}

// What a window tucked against one side of monitor m covers beyond that
// side, depth pixels deep.
TRect Beyond(TRect m, TSide side, std::int32_t depth) {
    switch (side) {
    case TSide::Top: return {m.Left, m.Top - depth, m.Right, m.Top};
    case TSide::Left: return {m.Left - depth, m.Top, m.Left, m.Bottom};
    case TSide::Right: return {m.Right, m.Top, m.Right + depth, m.Bottom};
    }
    return m;
}

// The monitor whose side a window of the given extent across it hangs
// from: its own, or, where another monitor lies beyond that side, the first
// one across the monitors that way with none beyond. A monitor beyond a side
// reaches strictly further out than it, so the walk always ends.
TRect EdgeMonitor(const TMonitors& monitors, TRect window, TSide side, std::int32_t depth) {
    std::size_t at = MonitorHolding(monitors, window);
    for (;;) {
        const TRect beyond = Beyond(monitors[at], side, std::max(depth, 1));
        std::size_t next = at;
        std::int64_t most = 0;
        for (std::size_t i = 0; i < monitors.size(); ++i) {
            const std::int64_t area = i == at ? 0 : OverlapArea(monitors[i], beyond);
            if (area > most) {
                most = area;
                next = i;
            }
        }
        if (next == at)
            return monitors[at];
        at = next;
    }
}

} // namespace

TGeometry ComputeGeometry(const TGeometryInput& in) {
    const std::int32_t p = in.HangOutPixels;
    TGeometry g;
    if (in.Monitors.empty())
        return g;

    const std::int32_t h = Extent16(in.DelphiRestore.Top, in.DelphiRestore.Bottom);
    const TRect top = EdgeMonitor(in.Monitors, in.DelphiRestore, TSide::Top, h - p);
    g.Delphi.Monitor = top;
    g.Delphi.Shown = {top.Left, top.Top, top.Right, top.Top + h};
    g.Delphi.Hidden = {top.Left, top.Top + p - h, top.Right, top.Top + p};

    const std::int32_t w = Extent16(in.InspectorRestore.Left, in.InspectorRestore.Right);
    const bool right = in.InspectorEdge == TEdge::Right;
    const TRect m =
        EdgeMonitor(in.Monitors, in.InspectorRestore, right ? TSide::Right : TSide::Left, w - p);
    g.Inspector.Monitor = m;
    if (right) {
        g.Inspector.Shown = {m.Right - w, m.Top, m.Right, m.Bottom};
        g.Inspector.Hidden = {m.Right - p, m.Top, m.Right - p + w, m.Bottom};
    } else {
        g.Inspector.Shown = {m.Left, m.Top, m.Left + w, m.Bottom};
        g.Inspector.Hidden = {m.Left + p - w, m.Top, m.Left + p, m.Bottom};
    }
    return g;
}

std::size_t MonitorHolding(const TMonitors& monitors, TRect r) {
    std::size_t best = 0;
    std::int64_t most = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i)
        if (const std::int64_t area = OverlapArea(monitors[i], r); area > most) {
            most = area;
            best = i;
        }
    if (most > 0)
        return best;
    // Nothing of it on any monitor: the one nearest its middle.
    const std::int64_t cx = (std::int64_t{r.Left} + r.Right) / 2;
    const std::int64_t cy = (std::int64_t{r.Top} + r.Bottom) / 2;
    std::int64_t nearest = INT64_MAX;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const TRect& m = monitors[i];
        const std::int64_t dx = std::max<std::int64_t>({m.Left - cx, 0, cx - (m.Right - 1)});
        const std::int64_t dy = std::max<std::int64_t>({m.Top - cy, 0, cy - (m.Bottom - 1)});
        if (dx * dx + dy * dy < nearest) {
            nearest = dx * dx + dy * dy;
            best = i;
        }
    }
    return best;
}

void MeasureWindows() {
    WindowsDriver& platform = ThePlatform().Windows();
    DelphiWindow.RestoreRect = platform.GetWindowRect(DelphiWindow.Handle);
    InspectorWindow.RestoreRect = platform.GetWindowRect(InspectorWindow.Handle);
    RemeasureWindows();
    RestoreMonitors = MeasuredMonitors;
}

void RemeasureWindows() {
    MeasuredMonitors = MonitorLayout();
    const TGeometry g =
        ComputeGeometry({Settings.InspectorEdge, Settings.HangOutPixels, MeasuredMonitors,
                         DelphiWindow.RestoreRect, InspectorWindow.RestoreRect});
    for (auto [window, places] :
         {std::pair{&DelphiWindow, &g.Delphi}, std::pair{&InspectorWindow, &g.Inspector}}) {
        window->ShownRect = places->Shown;
        window->HiddenRect = places->Hidden;
        window->Monitor = places->Monitor;
    }
}

bool LiesOffScreen(TRect r, TRect screen) {
    const std::int64_t width = std::int64_t{r.Right} - r.Left;
    const std::int64_t height = std::int64_t{r.Bottom} - r.Top;
    if (width <= 0 || height <= 0)
        return false; // nothing to see of it anyway
    const std::int64_t seenWidth =
        std::int64_t{std::min(r.Right, screen.Right)} - std::max(r.Left, screen.Left);
    const std::int64_t seenHeight =
        std::int64_t{std::min(r.Bottom, screen.Bottom)} - std::max(r.Top, screen.Top);
    return 2 * seenWidth < width || 2 * seenHeight < height;
}

namespace {

// One edge pair [from, to) shifted into [low, high), shortened if it is longer.
void FitSpan(std::int32_t& from, std::int32_t& to, std::int32_t low, std::int32_t high) {
    const std::int64_t length = std::min(std::int64_t{to} - from, std::int64_t{high} - low);
    std::int64_t start = std::clamp<std::int64_t>(from, low, high - length);
    from = static_cast<std::int32_t>(start);
    to = static_cast<std::int32_t>(start + length);
}

} // namespace

TRect BroughtOnScreen(TRect r, TRect screen) {
    FitSpan(r.Left, r.Right, screen.Left, screen.Right);
    FitSpan(r.Top, r.Bottom, screen.Top, screen.Bottom);
    return r;
}

bool LiesOffMonitors(TRect r, const TMonitors& monitors) {
    return !monitors.empty() && LiesOffScreen(r, monitors[MonitorHolding(monitors, r)]);
}

TRect BroughtOnMonitors(TRect r, const TMonitors& monitors) {
    return monitors.empty() ? r : BroughtOnScreen(r, monitors[MonitorHolding(monitors, r)]);
}

TMonitors MonitorLayout() {
    const TRect screen = ScreenRect();
    TMonitors monitors;
    for (TRect m : ThePlatform().Windows().Monitors()) {
        // A panel along the bottom of the screen takes its rows from the
        // monitors that reach down to it.
        if (m.Top < screen.Bottom && m.Bottom > screen.Bottom)
            m.Bottom = screen.Bottom;
        if (m.Width() > 0 && m.Height() > 0)
            monitors.push_back(m);
    }
    if (monitors.empty())
        monitors.push_back(screen);
    return monitors;
}

TRect ScreenRect() {
    WindowsDriver& platform = ThePlatform().Windows();
    return {0, 0, platform.GetSystemMetrics(SM_CXSCREEN),
            platform.GetSystemMetrics(SM_CYFULLSCREEN) + platform.GetSystemMetrics(SM_CYCAPTION)};
}

} // namespace wt
