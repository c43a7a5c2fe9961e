// A key combination that works wherever the focus is ("ctrl+alt+w"): the
// modifiers and the key's name as X knows it (a letter, a digit, F1..F24 or
// one of a few named keys), read from the text a user writes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wt {

// Modifier bits of a hot key, as Windows numbers them.
inline constexpr unsigned MOD_ALT = 0x1;
inline constexpr unsigned MOD_CONTROL = 0x2;
inline constexpr unsigned MOD_SHIFT = 0x4;
inline constexpr unsigned MOD_WIN = 0x8;

struct THotKey {
    unsigned Modifiers = 0;
    std::string Key; // "w", "F5", "space"
    friend bool operator==(const THotKey&, const THotKey&) = default;
};

// "ctrl+alt+w", letter case and blanks around the parts ignored. A key
// without a modifier is taken only for F1..F24: any other would be lost to
// every program while Wingtucker runs. None, with the reason, otherwise.
std::optional<THotKey> ParseHotKey(std::string_view text, std::string* error = nullptr);

} // namespace wt
