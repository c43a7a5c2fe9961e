#include "settings/settings_schema.h"

#include "platform/profile.h"

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

const TSettingInfo* FindSetting(std::string_view name) {
    for (const TSettingInfo& setting : SettingTable)
        if (ProfileNamesEqual(setting.Key, name) || ProfileNamesEqual(setting.ShownAs, name))
            return &setting;
    return nullptr;
}

} // namespace wt
