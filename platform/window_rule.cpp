#include "platform/window_rule.h"

#include "platform/drivers.h"

#include <array>
#include <utility>

namespace wt {

namespace {

constexpr std::array<std::pair<const char*, TRuleKey>, 5> Keys{{
    {"class", TRuleKey::Class},
    {"instance", TRuleKey::Instance},
    {"title", TRuleKey::Title},
    {"role", TRuleKey::Role},
    {"type", TRuleKey::Type},
}};

// Longest rule and pattern read: a rule lives on one line of a settings file.
constexpr std::size_t MaxRuleLength = 1000;

const std::string& FactOf(const TWindowFacts& window, TRuleKey key) {
    switch (key) {
    case TRuleKey::Class: return window.Class;
    case TRuleKey::Instance: return window.Instance;
    case TRuleKey::Title: return window.Title;
    case TRuleKey::Role: return window.Role;
    case TRuleKey::Type: return window.Type;
    }
    return window.Class;
}

const char* NameOf(TRuleKey key) {
    for (const auto& [name, k] : Keys)
        if (k == key)
            return name;
    return "?";
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

// Reads key="value" pairs from left to right, each failure with its column.
struct RuleParser {
    std::string_view Text;
    std::size_t At = 0;
    TRuleError Error;

    bool Fail(std::size_t at, std::string reason) {
        Error = {static_cast<int>(at) + 1, std::move(reason)};
        return false;
    }

    void SkipBlanks() {
        while (At < Text.size() && IsBlank(Text[At]))
            ++At;
    }

    bool ReadKey(TRuleKey& key) {
        const std::size_t start = At;
        while (At < Text.size() && Text[At] >= 'a' && Text[At] <= 'z')
            ++At;
        const std::string_view name = Text.substr(start, At - start);
        if (name.empty())
            return Fail(start, "a key (class, instance, title, role or type) is expected here");
        for (const auto& [known, k] : Keys) {
            if (name == known) {
                key = k;
                return true;
            }
        }
        return Fail(start, "unknown key \"" + std::string(name) +
                               "\" (the keys are class, instance, title, role and type)");
    }

    // A double-quoted value; \" and \\ stand for " and \, other escapes are
    // the regular expression's own.
    bool ReadValue(std::string& value) {
        if (At >= Text.size() || Text[At] != '=')
            return Fail(At, "\"=\" is expected after the key");
        ++At;
        if (At >= Text.size() || Text[At] != '"')
            return Fail(At, "the value must be in double quotes");
        const std::size_t open = At++;
        while (At < Text.size() && Text[At] != '"') {
            if (Text[At] == '\\' && At + 1 < Text.size() &&
                (Text[At + 1] == '"' || Text[At + 1] == '\\')) {
                value += Text[At + 1];
                At += 2;
                continue;
            }
            value += Text[At++];
        }
        if (At >= Text.size())
            return Fail(open, "the quote opened here is never closed");
        ++At;
        return true;
    }

    bool ReadCriterion(TWindowRule& rule) {
        const std::size_t start = At;
        TRuleKey key{};
        std::string pattern;
        if (!ReadKey(key) || !ReadValue(pattern))
            return false;
        for (const auto& criterion : rule.criteria_)
            if (criterion.Key == key)
                return Fail(start, std::string("the key ") + NameOf(key) + " is given twice");
        std::string expression = pattern;
        auto flags = std::regex::ECMAScript;
        if (expression.rfind("(?i)", 0) == 0) {
            expression.erase(0, 4);
            flags |= std::regex::icase;
        }
        try {
            rule.criteria_.push_back({key, pattern, std::regex(expression, flags)});
        } catch (const std::regex_error& e) {
            return Fail(start, "the regular expression of " + std::string(NameOf(key)) +
                                   " cannot be read: " + e.what());
        }
        if (At < Text.size() && !IsBlank(Text[At]))
            return Fail(At, "a blank is expected between two keys");
        return true;
    }

    std::optional<TWindowRule> Parse() {
        if (Text.size() > MaxRuleLength) {
            Fail(MaxRuleLength,
                 "a rule is at most " + std::to_string(MaxRuleLength) + " characters long");
            return std::nullopt;
        }
        TWindowRule rule;
        SkipBlanks();
        while (At < Text.size()) {
            if (!ReadCriterion(rule))
                return std::nullopt;
            SkipBlanks();
        }
        if (rule.criteria_.empty()) {
            Fail(0, "a rule needs at least one key, as in class=\"^Lazarus\"");
            return std::nullopt;
        }
        return rule;
    }
};

std::optional<TWindowRule> ParseWindowRule(std::string_view text, TRuleError* error) {
    RuleParser parser;
    parser.Text = text;
    auto rule = parser.Parse();
    if (!rule && error)
        *error = parser.Error;
    return rule;
}

bool SameClient(const TWindowFacts& a, const TWindowFacts& b) {
    if (a.Leader && b.Leader)
        return a.Leader == b.Leader;
    return a.Pid && a.Pid == b.Pid && a.Machine == b.Machine;
}

unsigned long FindWindowByRule(WindowsDriver& windows, const TWindowRule& rule,
                               unsigned long clientOf) {
    std::optional<TWindowFacts> client = clientOf ? windows.FactsOf(clientOf) : std::nullopt;
    // A client that does not say which it is cannot narrow the search.
    if (client && !client->Leader && !client->Pid)
        client.reset();
    for (WindowHandle window : windows.TopLevelWindows()) {
        const std::optional<TWindowFacts> facts = windows.FactsOf(window);
        if (facts && rule.Matches(*facts) && (!client || SameClient(*client, *facts)))
            return window;
    }
    return 0;
}

bool TWindowRule::Matches(const TWindowFacts& window) const {
    for (const Criterion& criterion : criteria_)
        if (!std::regex_search(FactOf(window, criterion.Key), criterion.Regex))
            return false;
    return !criteria_.empty();
}

std::string TWindowRule::Text() const {
    std::string text;
    for (const Criterion& criterion : criteria_) {
        if (!text.empty())
            text += ' ';
        text += NameOf(criterion.Key);
        text += "=\"";
        for (char c : criterion.Pattern) {
            if (c == '"' || c == '\\')
                text += '\\';
            text += c;
        }
        text += '"';
    }
    return text;
}

} // namespace wt
