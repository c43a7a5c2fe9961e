#include "settings/settings_schema.h"

#include <algorithm>

namespace wt {

std::int32_t LoadedNumber(const TSettingSpec& spec, std::int32_t number) {
    if (!spec.Range)
        return number;
    const TSettingRange range = *spec.Range;
    switch (spec.OutOfRange) {
    case TOutOfRange::None: return number;
    case TOutOfRange::Clamp: return std::clamp(number, range.Min, range.Max);
    case TOutOfRange::Absent:
        return number < range.Min || number > range.Max ? spec.WhenAbsent : number;
    case TOutOfRange::AbsentIfAbove: return number > range.Max ? spec.WhenAbsent : number;
    case TOutOfRange::LeftUnlessOne: return number == 1 ? 1 : 0;
    }
    return number;
}

namespace {
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
} // namespace

bool SameNameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Upper(x) == Upper(y); });
}

const TSettingSpec* FindSetting(std::string_view name) {
    for (const TSettingSpec& spec : SettingSpecs)
        if (SameNameNoCase(spec.Key, name) || SameNameNoCase(spec.ShownAs, name))
            return &spec;
    return nullptr;
}

} // namespace wt
