// Window rules: what reads, what is refused with its column and reason, and
// which windows a rule matches.
#include "platform/window_rule.h"

#include "platform/sim/sim_platform.h"

#include <gtest/gtest.h>

namespace wt::test {
namespace {

struct Refused {
    const char* Text;
    int Column;
    const char* Reason; // a part of the reason
};

TEST(WindowRuleTest, MalformedRulesAreRefusedWithColumnAndReason) {
    const Refused cases[] = {
        {"", 1, "at least one key"},
        {"   ", 1, "at least one key"},
        {"name=\"x\"", 1, "unknown key \"name\""},
        {"class=\"a\" Title=\"b\"", 11, "a key"},
        {"class \"a\"", 6, "\"=\" is expected"},
        {"class=a", 7, "double quotes"},
        {"class=\"^Laz", 7, "never closed"},
        {"class=\"a\\\"", 7, "never closed"},
        {"title=\"(\"", 1, "regular expression of title"},
        {"title=\"a\" title=\"b\"", 11, "given twice"},
        {"class=\"a\"title=\"b\"", 10, "blank is expected"},
        {"type=\"[z-a]\"", 1, "regular expression of type"},
    };
    for (const Refused& c : cases) {
        TRuleError error;
        EXPECT_FALSE(ParseWindowRule(c.Text, &error)) << c.Text;
        EXPECT_EQ(error.Column, c.Column) << c.Text << ": " << error.Reason;
        EXPECT_NE(error.Reason.find(c.Reason), std::string::npos) << c.Text << ": " << error.Reason;
    }
    TRuleError error;
    EXPECT_FALSE(ParseWindowRule(std::string(1001, ' '), &error));
    EXPECT_NE(error.Reason.find("at most"), std::string::npos);
}

struct Match {
    const char* Rule;
    TWindowFacts Window;
    bool Expected;
};

TEST(WindowRuleTest, EveryKeyGivenMustMatch) {
    const TWindowFacts lazarus{"Lazarus-gtk2",
                               "lazarus-gtk2",
                               "Lazarus IDE v2.2.6+dfsg2-2 - project1",
                               "",
                               "normal",
                               0,
                               0,
                               ""};
    const TWindowFacts inspector{
        "Lazarus-gtk2", "lazarus-gtk2", "Object Inspector", "", "normal", 0, 0, ""};
    const TWindowFacts designer{
        "Designer", "designer", "Property Editor — Qt Designer", "PropertyEditor", "normal", 0,
        0,          ""};
    const Match cases[] = {
        {"class=\"^Lazarus\" title=\"^Lazarus IDE\"", lazarus, true},
        {"class=\"^Lazarus\" title=\"^Lazarus IDE\"", inspector, false},
        {"class=\"^lazarus\"", lazarus, false},         // case counts
        {"class=\"(?i)^lazarus\"", lazarus, true},      // unless asked not to
        {"instance=\"^lazarus-gtk2$\"", lazarus, true}, // WM_CLASS's first part
        {"title=\"Inspector\"", inspector, true},       // searched, not anchored
        {"title=\"^Property Editor\" type=\"normal\"", designer, true},
        {"title=\"^Property Editor\" type=\"dialog\"", designer, false},
        {"role=\"^PropertyEditor$\"", designer, true},
        {"role=\".\"", lazarus, false},               // no role: the empty text
        {"title=\"— Qt Designer$\"", designer, true}, // UTF-8 bytes match as bytes
        {"title=\"project\\d\"", lazarus, true},      // the expression's own escapes
    };
    for (const Match& c : cases) {
        TRuleError error;
        const auto rule = ParseWindowRule(c.Rule, &error);
        ASSERT_TRUE(rule) << c.Rule << ": " << error.Reason;
        EXPECT_EQ(rule->Matches(c.Window), c.Expected) << c.Rule << " on " << c.Window.Title;
    }
}

TEST(WindowRuleTest, ARuleWrittenBackReadsTheSame) {
    for (const char* text : {"class=\"^Lazarus\" title=\"^Lazarus IDE\"",
                             "title=\"say \\\"hi\\\"\" role=\"a\\\\b\"", "type=\"(?i)DIALOG\""}) {
        const auto rule = ParseWindowRule(text);
        ASSERT_TRUE(rule) << text;
        EXPECT_EQ(rule->Text(), text);
        const auto again = ParseWindowRule(rule->Text());
        ASSERT_TRUE(again);
        EXPECT_EQ(again->Text(), text);
    }
    // Blanks around and between keys are not kept.
    EXPECT_EQ(ParseWindowRule("  class=\"a\"\t title=\"b\" ")->Text(), "class=\"a\" title=\"b\"");
}

// On the simulated desktop: the topmost window a rule matches.
TEST(WindowRuleTest, TheTopmostMatchingWindowIsFound) {
    SimPlatform sim;
    const WindowHandle main =
        sim.AddWindow("Lazarus-gtk2", "Lazarus IDE v2.2.6 - project1", {0, 0, 1280, 100});
    const WindowHandle inspector =
        sim.AddWindow("Lazarus-gtk2", "Object Inspector", {0, 120, 220, 700});
    const WindowHandle editor =
        sim.AddWindow("Lazarus-gtk2", "Source Editor", {230, 120, 900, 700});
    for (WindowHandle w : {main, inspector, editor})
        sim.SetWindowFacts(w, "lazarus-gtk2", "", "normal");
    const WindowHandle dialog = sim.AddPopup(main, "Lazarus-gtk2", "Project Options", {});
    sim.SetWindowFacts(dialog, "lazarus-gtk2", "options", "dialog");

    struct Case {
        const char* Rule;
        WindowHandle Expected;
    } cases[] = {
        {"class=\"^Lazarus\" title=\"^Lazarus IDE\"", main},
        {"class=\"^Lazarus\" title=\"^Object Inspector$\"", inspector},
        {"instance=\"^lazarus\"", dialog},                 // the topmost of several
        {"instance=\"^lazarus\" type=\"normal\"", editor}, // the topmost normal one
        {"role=\"options\"", dialog},
        {"class=\"^Designer\"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindWindowByRule(sim, *ParseWindowRule(c.Rule)), c.Expected) << c.Rule;
    sim.DestroyWindow(dialog);
    EXPECT_EQ(FindWindowByRule(sim, *ParseWindowRule("role=\"options\"")), 0u);
}

} // namespace
} // namespace wt::test
