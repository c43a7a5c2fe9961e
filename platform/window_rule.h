// Which window is which, as a rule in the criteria syntax of i3's for_window:
// class="^Lazarus" title="^Lazarus IDE". Keys: class and instance (the two
// parts of WM_CLASS), title (_NET_WM_NAME, else WM_NAME), role
// (WM_WINDOW_ROLE), type (_NET_WM_WINDOW_TYPE's short name: normal, dialog,
// utility...). Values are regular expressions searched in the property,
// case-sensitive unless they begin with (?i); every key given must match.
#pragma once

#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace wt {

// What a rule can ask of a window.
struct TWindowFacts {
    std::string Class;    // WM_CLASS, second part
    std::string Instance; // WM_CLASS, first part
    std::string Title;
    std::string Role;
    std::string Type; // "normal", "dialog", ... ("" when the window names none)
    // Which client made the window, where it says: WM_CLIENT_LEADER, else
    // _NET_WM_PID on WM_CLIENT_MACHINE (0 and "" when it does not say).
    unsigned long Leader = 0;
    long Pid = 0;
    std::string Machine;
};

// Whether both windows say they are of one client, and are.
bool SameClient(const TWindowFacts& a, const TWindowFacts& b);

enum class TRuleKey { Class, Instance, Title, Role, Type };

class TWindowRule {
public:
    struct Criterion {
        TRuleKey Key;
        std::string Pattern; // as written, (?i) included
        std::regex Regex;
    };

    bool Matches(const TWindowFacts& window) const;
    const std::vector<Criterion>& Criteria() const { return criteria_; }
    // The rule written back in its own syntax.
    std::string Text() const;

private:
    friend struct RuleParser;
    std::vector<Criterion> criteria_;
};

// Why a rule cannot be read: where (1-based column of the text) and what.
struct TRuleError {
    int Column = 0;
    std::string Reason;
};

class WindowsDriver;
// The topmost top-level window the rule matches, 0 for none. With clientOf,
// only windows of that window's client count, where it says which it is.
unsigned long FindWindowByRule(WindowsDriver& windows, const TWindowRule& rule,
                               unsigned long clientOf = 0);

// Reads a rule; on failure, error says where and why and nothing is returned.
std::optional<TWindowRule> ParseWindowRule(std::string_view text, TRuleError* error = nullptr);

} // namespace wt
