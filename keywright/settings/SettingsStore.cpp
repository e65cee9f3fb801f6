// The settings table itself.
#include "settings/SettingsStore.h"

#include "platform/Registry.h"

namespace keywright {

namespace {

using kestrix::kRegDword;
using kestrix::kRegSz;

constexpr const char* kNoPosition = "-1 -1 -1 -1";

// Two pairs stand out of identifier order (HKDD before HKU); lookups go by
// identifier, so the order here is only the order of first creation.
constexpr SettingRow kRows[kSettingCount] = {
    {kSettingSearchAll, kRegDword, "Search", "SearchAll", "1"},
    {kSettingSearchKeys, kRegDword, "Search", "SearchKeys", "1"},
    {kSettingSearchValues, kRegDword, "Search", "SearchValues", "1"},
    {kSettingSearchData, kRegDword, "Search", "SearchData", "1"},
    {kSettingSearchMatchCase, kRegDword, "Search", "MatchCase", "0"},
    {kSettingSearchWholeString, kRegDword, "Search", "WholeString", "0"},
    {kSettingSearchHkcu, kRegDword, "Search", "HKCU", "1"},
    {kSettingSearchHkcr, kRegDword, "Search", "HKCR", "1"},
    {kSettingSearchHkcc, kRegDword, "Search", "HKCC", "1"},
    {kSettingSearchHklm, kRegDword, "Search", "HKLM", "1"},
    {kSettingSearchHkdd, kRegDword, "Search", "HKDD", "1"},
    {kSettingSearchHku, kRegDword, "Search", "HKU", "1"},
    {kSettingSearchWindowPos, kRegSz, "Search", "WindowPos", kNoPosition},
    {kSettingUrlMru, kRegSz, "Restore", "UrlMru", ""},
    {kSettingSuppressDupHkcu, kRegDword, "Search", "SuppressDupHKCU", "1"},
    {kSettingSuppressDupHkcr, kRegDword, "Search", "SuppressDupHKCR", "1"},
    {kSettingSuppressDupHkcc, kRegDword, "Search", "SuppressDupHKCC", "1"},
    {kSettingCurrentUserOnly, kRegDword, "Search", "CurrentUserOnly", "0"},
    {kSettingPreviewX, kRegDword, "Restore", "PreviewX", "5"},
    {kSettingPreviewY, kRegDword, "Restore", "PreviewY", "5"},
    {kSettingPreviewDx, kRegDword, "Restore", "PreviewDX", "600"},
    {kSettingPreviewDy, kRegDword, "Restore", "PreviewDY", "450"},
    {kSettingValCol1, kRegDword, "Restore", "ValCol1", "100"},
    {kSettingValCol2, kRegDword, "Restore", "ValCol2", "100"},
    {kSettingPreviewSplit, kRegDword, "Restore", "PreviewSplit", "250"},
    {kSettingReplaceSearchAll, kRegDword, "Replace", "SearchAll", "1"},
    {kSettingRenameKeys, kRegDword, "Replace", "RenameKeys", "1"},
    {kSettingRenameValues, kRegDword, "Replace", "RenameValues", "1"},
    {kSettingRenameData, kRegDword, "Replace", "RenameData", "1"},
    {kSettingReplaceMatchCase, kRegDword, "Replace", "MatchCase", "0"},
    {kSettingReplaceWholeString, kRegDword, "Replace", "WholeString", "0"},
    {kSettingReplaceHkcu, kRegDword, "Replace", "HKCU", "1"},
    {kSettingReplaceHkcr, kRegDword, "Replace", "HKCR", "1"},
    {kSettingReplaceHkcc, kRegDword, "Replace", "HKCC", "1"},
    {kSettingReplaceHklm, kRegDword, "Replace", "HKLM", "1"},
    {kSettingReplaceHkdd, kRegDword, "Replace", "HKDD", "1"},
    {kSettingReplaceHku, kRegDword, "Replace", "HKU", "1"},
    {kSettingReplaceWindowPos, kRegSz, "Replace", "WindowPos", kNoPosition},
    {kSettingShowDebugWnd, kRegDword, "Restore", "ShowDebugWnd", "0"},
    {kSettingDebugWindowPos, kRegSz, "Restore", "DebugWindowPos", kNoPosition},
    {kSettingFullName, kRegSz, "Email", "FullName", "John Doe"},
    // A reserved domain: mail sent before the user sets an address reaches no one.
    {kSettingAddress, kRegSz, "Email", "Address", "john.doe@example.invalid"},
    {kSettingSmtpServer, kRegSz, "Email", "SmtpServer", ""},
    {kSettingPort, kRegDword, "Email", "Port", "25"},
    {kSettingEmailWindowPos, kRegSz, "Restore", "EmailWindowPos", kNoPosition},
    {kSettingDelivery, kRegDword, "Email", "Delivery", "1"},
    {kSettingFlatTb, kRegDword, "Toolbar", "FlatTB", "1"},
};

} // namespace

const SettingRow* SettingRows() {
    return kRows;
}

const SettingRow* FindSetting(std::uint32_t id) {
    for (const SettingRow& row : kRows)
        if (row.id == id)
            return &row;
    return nullptr;
}

} // namespace keywright
