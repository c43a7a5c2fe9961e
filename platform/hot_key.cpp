#include "platform/hot_key.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace wt {

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

unsigned ModifierOf(const std::string& name) {
    constexpr std::array<std::pair<const char*, unsigned>, 8> names{{
        {"ctrl", MOD_CONTROL},
        {"control", MOD_CONTROL},
        {"alt", MOD_ALT},
        {"shift", MOD_SHIFT},
        {"super", MOD_WIN},
        {"win", MOD_WIN},
        {"meta", MOD_WIN},
        {"mod4", MOD_WIN},
    }};
    for (const auto& [text, bit] : names)
        if (name == text)
            return bit;
    return 0;
}

// The key's name as X spells it, or "" for a name that is none of ours.
std::string KeyOf(const std::string& name, bool* function) {
    *function = false;
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return name;
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'f' &&
        std::all_of(name.begin() + 1, name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const int number = std::stoi(name.substr(1));
        *function = number >= 1 && number <= 24;
        return *function ? "F" + name.substr(1) : "";
    }
    constexpr std::array<std::pair<const char*, const char*>, 12> named{{
        {"space", "space"},
        {"return", "Return"},
        {"enter", "Return"},
        {"tab", "Tab"},
        {"escape", "Escape"},
        {"home", "Home"},
        {"end", "End"},
        {"pageup", "Prior"},
        {"pagedown", "Next"},
        {"insert", "Insert"},
        {"up", "Up"},
        {"down", "Down"},
    }};
    for (const auto& [text, key] : named)
        if (name == text)
            return key;
    return {};
}

} // namespace

std::optional<THotKey> ParseHotKey(std::string_view text, std::string* error) {
    auto fail = [error](std::string why) -> std::optional<THotKey> {
        if (error)
            *error = std::move(why);
        return std::nullopt;
    };
    THotKey hotKey;
    std::string_view rest = text;
    for (;;) {
        const std::size_t plus = rest.find('+');
        const std::string part = Lower(Trimmed(rest.substr(0, plus)));
        if (part.empty())
            return fail("an empty part");
        if (plus == std::string_view::npos) {
            bool function = false;
            hotKey.Key = KeyOf(part, &function);
            if (hotKey.Key.empty())
                return fail("\"" + part + "\" is no key this setting knows");
            if (hotKey.Modifiers == 0 && !function)
                return fail("a key without ctrl, alt, shift or super would be lost to typing");
            return hotKey;
        }
        const unsigned bit = ModifierOf(part);
        if (bit == 0)
            return fail("\"" + part + "\" is no modifier (ctrl, alt, shift, super)");
        hotKey.Modifiers |= bit;
        rest = rest.substr(plus + 1);
    }
}

} // namespace wt
