// Shared value types of the system: window handles, rectangles, points and the
// window messages the add-in exchanges with the desktop and its hook library.
#pragma once

#include <cstdint>

namespace wt {

// A window of the desktop: an X window id on the real desktop, a small counter
// on the simulated one. 0 means "no window".
using WindowHandle = std::uintptr_t;

// Screen rectangle; right and bottom lie one past the last pixel.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    constexpr std::int32_t Width() const { return Right - Left; }
    constexpr std::int32_t Height() const { return Bottom - Top; }
    constexpr bool IsAllZero() const { return Left == 0 && Top == 0 && Right == 0 && Bottom == 0; }
    constexpr bool Contains(std::int32_t x, std::int32_t y) const {
        return x >= Left && x < Right && y >= Top && y < Bottom;
    }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

// How a window is shown: as it stands, filling the screen, minimized, or
// rolled up to its title bar.
enum class TShowState { Normal, Maximized, Minimized, Shaded };
// Commands of ShowWindow that the engine gives.
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_RESTORE = 9;

// Indices of GetSystemMetrics that the engine asks for.
enum SystemMetric : int {
    SM_CXSCREEN = 0,
    SM_CYCAPTION = 4,
    SM_CYFULLSCREEN = 17,
};

// Window messages by number.
inline constexpr std::uint32_t WM_ACTIVATEAPP = 0x1C;
inline constexpr std::uint32_t WM_DISPLAYCHANGE = 0x7E;
inline constexpr std::uint32_t WM_HOTKEY = 0x0312;
inline constexpr std::uint32_t WM_USER = 0x400;
// The hook library's pointer report: lParam holds x in bits 0-15, y in 16-31.
inline constexpr std::uint32_t WM_WATCHMOUSE = WM_USER + 0x101;

// Flags of PlaySound, as the move sounds use them.
inline constexpr unsigned SND_ASYNC = 0x0001;
inline constexpr unsigned SND_NODEFAULT = 0x0002;
inline constexpr unsigned SND_NOSTOP = 0x0010;

} // namespace wt
