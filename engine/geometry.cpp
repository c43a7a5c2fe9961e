#include "engine/geometry.h"

#include "engine/engine_state.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

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

void ComputeGeometry() {
    Platform& platform = ThePlatform();
    const std::int32_t p = Settings.HangOutPixels;

    DelphiWindow.RestoreRect = platform.GetWindowRect(DelphiWindow.Handle);
    const std::int32_t h = Extent16(DelphiWindow.RestoreRect.Top, DelphiWindow.RestoreRect.Bottom);
    std::int32_t s = platform.GetSystemMetrics(SM_CXSCREEN);
    DelphiWindow.ShownRect = {0, 0, s, h};
    DelphiWindow.HiddenRect = {0, p - h, s, p};

    InspectorWindow.RestoreRect = platform.GetWindowRect(InspectorWindow.Handle);
    const std::int32_t w =
        Extent16(InspectorWindow.RestoreRect.Left, InspectorWindow.RestoreRect.Right);
    const std::int32_t fh =
        platform.GetSystemMetrics(SM_CYFULLSCREEN) + platform.GetSystemMetrics(SM_CYCAPTION);
    if (Settings.Side == 1) {
        s = platform.GetSystemMetrics(SM_CXSCREEN);
        InspectorWindow.ShownRect = {s - w, 0, s, fh};
        InspectorWindow.HiddenRect = {s - p, 0, s - p + w, fh};
    } else {
        InspectorWindow.ShownRect = {0, 0, w, fh};
        InspectorWindow.HiddenRect = {p - w, 0, p, fh};
    }
}

} // namespace wt
