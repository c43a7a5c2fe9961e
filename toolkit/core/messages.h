// Message numbers that controls exchange: the window messages the units
// handle by number and the toolkit's own control notices (0xB000 and up).
#pragma once

#include "platform/types.h"

#include <cstdint>

namespace wt {

struct TMessage {
    std::uint32_t Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
    // Set by the default handling: the toolkit then lets the widget process
    // the event it came from; a handler that does not pass it on swallows it.
    bool Defaulted = false;
};

// A point in a message's LParam: x in the low 16 bits, y in the high 16
// bits, each signed.
constexpr std::intptr_t MessagePoint(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                      static_cast<std::uint32_t>(x & 0xFFFF));
}
constexpr int MessagePointX(std::intptr_t lParam) {
    return static_cast<std::int16_t>(lParam & 0xFFFF);
}
constexpr int MessagePointY(std::intptr_t lParam) {
    return static_cast<std::int16_t>((lParam >> 16) & 0xFFFF);
}

inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr std::uint32_t WM_PAINT = 0x000F;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr std::uint32_t WM_SETCURSOR = 0x0020;
inline constexpr std::uint32_t WM_SETFONT = 0x0030;
inline constexpr std::uint32_t WM_NCHITTEST = 0x0084;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;

inline constexpr std::uint32_t CM_BASE = 0xB000;
inline constexpr std::uint32_t CM_DIALOGKEY = 0xB005;
inline constexpr std::uint32_t CM_DIALOGCHAR = 0xB006;
inline constexpr std::uint32_t CM_FOCUSCHANGED = 0xB007;
inline constexpr std::uint32_t CM_PARENTFONTCHANGED = 0xB008;
inline constexpr std::uint32_t CM_PARENTCOLORCHANGED = 0xB009;
inline constexpr std::uint32_t CM_VISIBLECHANGED = 0xB00B;
inline constexpr std::uint32_t CM_ENABLEDCHANGED = 0xB00C;
inline constexpr std::uint32_t CM_COLORCHANGED = 0xB00D;
inline constexpr std::uint32_t CM_FONTCHANGED = 0xB00E;
inline constexpr std::uint32_t CM_CTL3DCHANGED = 0xB010;
inline constexpr std::uint32_t CM_PARENTCTL3DCHANGED = 0xB011;
inline constexpr std::uint32_t CM_TEXTCHANGED = 0xB012;
inline constexpr std::uint32_t CM_MOUSEENTER = 0xB013;
inline constexpr std::uint32_t CM_MOUSELEAVE = 0xB014;
inline constexpr std::uint32_t CM_ENTER = 0xB01A;
inline constexpr std::uint32_t CM_EXIT = 0xB01B;
inline constexpr std::uint32_t CM_DESIGNHITTEST = 0xB01C;
// Notices of the tabbed notebook and its pages.
inline constexpr std::uint32_t CM_TABFONTCHANGED = 0xB064;
inline constexpr std::uint32_t CM_PAGEENABLEDCHANGED = 0xB065;
inline constexpr std::uint32_t CM_PAGEVISIBLECHANGED = 0xB066;

// WM_NCHITTEST answers and WM_SETCURSOR's hit code (low word of LParam).
inline constexpr std::intptr_t HTNOWHERE = 0;
inline constexpr std::intptr_t HTCLIENT = 1;

// Virtual key codes of key events.
inline constexpr std::uint16_t VK_BACK = 0x08;
inline constexpr std::uint16_t VK_TAB = 0x09;
inline constexpr std::uint16_t VK_RETURN = 0x0D;
inline constexpr std::uint16_t VK_SHIFT = 0x10;
inline constexpr std::uint16_t VK_CONTROL = 0x11;
inline constexpr std::uint16_t VK_MENU = 0x12;
inline constexpr std::uint16_t VK_ESCAPE = 0x1B;
inline constexpr std::uint16_t VK_SPACE = 0x20;
inline constexpr std::uint16_t VK_PRIOR = 0x21;
inline constexpr std::uint16_t VK_NEXT = 0x22;
inline constexpr std::uint16_t VK_END = 0x23;
inline constexpr std::uint16_t VK_HOME = 0x24;
inline constexpr std::uint16_t VK_LEFT = 0x25;
inline constexpr std::uint16_t VK_UP = 0x26;
inline constexpr std::uint16_t VK_RIGHT = 0x27;
inline constexpr std::uint16_t VK_DOWN = 0x28;
inline constexpr std::uint16_t VK_INSERT = 0x2D;
inline constexpr std::uint16_t VK_DELETE = 0x2E;
inline constexpr std::uint16_t VK_F1 = 0x70;

} // namespace wt
