// The reveal key as users write it: modifiers in any case and order, the key
// names X knows, and the refusals that keep a key usable for typing.
#include "platform/hot_key.h"

#include <gtest/gtest.h>

namespace wt {
namespace {

struct HotKeyCase {
    const char* Text;
    std::optional<THotKey> Expected;
};

class HotKeyTable : public ::testing::TestWithParam<HotKeyCase> {};

TEST_P(HotKeyTable, ReadsOrRefuses) {
    const HotKeyCase& c = GetParam();
    std::string why;
    const auto key = ParseHotKey(c.Text, &why);
    EXPECT_EQ(key, c.Expected) << c.Text;
    EXPECT_EQ(why.empty(), c.Expected.has_value()) << c.Text << ": " << why;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HotKeyTable,
    ::testing::Values(HotKeyCase{"ctrl+alt+w", THotKey{MOD_CONTROL | MOD_ALT, "w"}},
                      HotKeyCase{" Shift + Super + 3 ", THotKey{MOD_SHIFT | MOD_WIN, "3"}},
                      HotKeyCase{"control+F12", THotKey{MOD_CONTROL, "F12"}},
                      HotKeyCase{"f5", THotKey{0, "F5"}},
                      HotKeyCase{"alt+PageDown", THotKey{MOD_ALT, "Next"}},
                      HotKeyCase{"w", std::nullopt},        // lost to typing
                      HotKeyCase{"space", std::nullopt},    // the same
                      HotKeyCase{"ctrl+alt", std::nullopt}, // no key
                      HotKeyCase{"ctrl++w", std::nullopt},  // an empty part
                      HotKeyCase{"hyper+w", std::nullopt},  // no such modifier
                      HotKeyCase{"ctrl+F25", std::nullopt}, // beyond F24
                      HotKeyCase{"ctrl+ww", std::nullopt},  // no such key
                      HotKeyCase{"", std::nullopt}));

} // namespace
} // namespace wt
