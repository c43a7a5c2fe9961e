#include "engine/geometry.h"

#include "engine/engine_state.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

#include <algorithm>
#include <cstdint>

namespace wt {

namespace {

// The window's height or width as a 16-bit unsigned number: extents outside
// 0..65535 wrap, as the IDE's own arithmetic has them.
std::int32_t Extent16(std::int32_t from, std::int32_t to) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(to) -
                                      static_cast<std::uint32_t>(from));
}

} // namespace

TGeometry ComputeGeometry(const TGeometryInput& in) {
    const TRect& screen = in.Screen;
    const std::int32_t p = in.HangOutPixels;
    TGeometry g;

    const std::int32_t h = Extent16(in.DelphiRestore.Top, in.DelphiRestore.Bottom);
    g.Delphi.Shown = {screen.Left, screen.Top, screen.Right, screen.Top + h};
    g.Delphi.Hidden = {screen.Left, screen.Top + p - h, screen.Right, screen.Top + p};

    const std::int32_t w = Extent16(in.InspectorRestore.Left, in.InspectorRestore.Right);
    if (in.InspectorEdge == TEdge::Right) {
        g.Inspector.Shown = {screen.Right - w, screen.Top, screen.Right, screen.Bottom};
        g.Inspector.Hidden = {screen.Right - p, screen.Top, screen.Right - p + w, screen.Bottom};
    } else {
        g.Inspector.Shown = {screen.Left, screen.Top, screen.Left + w, screen.Bottom};
        g.Inspector.Hidden = {screen.Left + p - w, screen.Top, screen.Left + p, screen.Bottom};
    }
    return g;
}

void MeasureWindows() {
    WindowsDriver& platform = ThePlatform().Windows();
    DelphiWindow.RestoreRect = platform.GetWindowRect(DelphiWindow.Handle);
    InspectorWindow.RestoreRect = platform.GetWindowRect(InspectorWindow.Handle);
    const TGeometry g =
        ComputeGeometry({Settings.InspectorEdge, Settings.HangOutPixels, ScreenRect(),
                         DelphiWindow.RestoreRect, InspectorWindow.RestoreRect});
    DelphiWindow.ShownRect = g.Delphi.Shown;
    DelphiWindow.HiddenRect = g.Delphi.Hidden;
    InspectorWindow.ShownRect = g.Inspector.Shown;
    InspectorWindow.HiddenRect = g.Inspector.Hidden;
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

TRect ScreenRect() {
    WindowsDriver& platform = ThePlatform().Windows();
    return {0, 0, platform.GetSystemMetrics(SM_CXSCREEN),
            platform.GetSystemMetrics(SM_CYFULLSCREEN) + platform.GetSystemMetrics(SM_CYCAPTION)};
}

} // namespace wt
