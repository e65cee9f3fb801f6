// The table of every add-in setting: identifier, subkey, value name, type, default.
#pragma once

#include <cstddef>
#include <cstdint>

namespace keywright {

enum SettingId : std::uint32_t {
    kSettingSearchAll = 0,
    kSettingSearchKeys = 1,
    kSettingSearchValues = 2,
    kSettingSearchData = 3,
    kSettingSearchMatchCase = 4,
    kSettingSearchWholeString = 5,
    kSettingSearchHkcu = 6,
    kSettingSearchHkcr = 7,
    kSettingSearchHkcc = 8,
    kSettingSearchHklm = 9,
    kSettingSearchHku = 10,
    kSettingSearchHkdd = 11,
    kSettingSearchWindowPos = 12,
    kSettingUrlMru = 13,
    kSettingSuppressDupHkcu = 14,
    kSettingSuppressDupHkcr = 15,
    kSettingSuppressDupHkcc = 16,
    kSettingCurrentUserOnly = 17,
    kSettingPreviewX = 18,
    kSettingPreviewY = 19,
    kSettingPreviewDx = 20,
    kSettingPreviewDy = 21,
    kSettingValCol1 = 22,
    kSettingValCol2 = 23,
    kSettingPreviewSplit = 24,
    kSettingReplaceSearchAll = 25,
    kSettingRenameKeys = 26,
    kSettingRenameValues = 27,
    kSettingRenameData = 28,
    kSettingReplaceMatchCase = 29,
    kSettingReplaceWholeString = 30,
    kSettingReplaceHkcu = 31,
    kSettingReplaceHkcr = 32,
    kSettingReplaceHkcc = 33,
    kSettingReplaceHklm = 34,
    kSettingReplaceHku = 35,
    kSettingReplaceHkdd = 36,
    kSettingReplaceWindowPos = 37,
    kSettingShowDebugWnd = 38,
    kSettingDebugWindowPos = 39,
    kSettingFullName = 40,
    kSettingAddress = 41,
    kSettingSmtpServer = 42,
    kSettingPort = 43,
    kSettingEmailWindowPos = 44,
    kSettingDelivery = 45,
    kSettingFlatTb = 46,
};

struct SettingRow {
    std::uint32_t id;
    std::uint32_t type; // kRegSz or kRegDword
    const char* subkey;
    const char* valueName;
    const char* defaultText; // decimal text for kRegDword rows
};

constexpr std::size_t kSettingCount = 47;

// The rows in table order (not identifier order).
const SettingRow* SettingRows();
// The row with that identifier, or null.
const SettingRow* FindSetting(std::uint32_t id);

} // namespace keywright
