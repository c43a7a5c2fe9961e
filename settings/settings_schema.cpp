#include "settings/settings_schema.h"

#include <algorithm>

namespace wt {

std::int32_t LoadedNumber(const TSettingInfo& setting, std::int32_t number) {
    if (!setting.Range)
        return number;
    const TSettingRange range = *setting.Range;
    switch (setting.OutOfRange) {
    case TOutOfRange::None: return number;
    case TOutOfRange::Clamp: return std::clamp(number, range.Min, range.Max);
    case TOutOfRange::Absent:
        return number < range.Min || number > range.Max ? setting.WhenAbsent : number;
    case TOutOfRange::AbsentIfAbove: return number > range.Max ? setting.WhenAbsent : number;
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

const TSettingInfo* FindSetting(std::string_view name) {
    for (const TSettingInfo& setting : SettingTable)
        if (SameNameNoCase(setting.Key, name) || SameNameNoCase(setting.ShownAs, name))
            return &setting;
    return nullptr;
}

} // namespace wt
