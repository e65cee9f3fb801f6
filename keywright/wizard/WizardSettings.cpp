// The wizard's settings table and warning.
#include "wizard/WizardSettings.h"

#include "settings/SettingsStore.h"
#include "strings/KeywrightStrings.h"
#include "wizard/WizardStrings.h"

namespace keywright {

namespace {

struct CriteriaSetting {
    std::uint32_t setting;
    bool WizardCriteria::*field;
};

constexpr CriteriaSetting kCriteriaSettings[] = {
    {kSettingReplaceSearchAll, &WizardCriteria::wholeRegistry},
    {kSettingRenameKeys, &WizardCriteria::keys},
    {kSettingRenameValues, &WizardCriteria::values},
    {kSettingRenameData, &WizardCriteria::data},
    {kSettingReplaceMatchCase, &WizardCriteria::matchCase},
    {kSettingReplaceWholeString, &WizardCriteria::wholeString},
    {kSettingReplaceHkcu, &WizardCriteria::hkcu},
    {kSettingReplaceHkcr, &WizardCriteria::hkcr},
    {kSettingReplaceHkcc, &WizardCriteria::hkcc},
    {kSettingReplaceHklm, &WizardCriteria::hklm},
    {kSettingReplaceHkdd, &WizardCriteria::hkdd},
    {kSettingReplaceHku, &WizardCriteria::hku},
};

} // namespace

WizardCriteria LoadCriteria(const SettingsBackend& settings) {
    WizardCriteria criteria;
    for (const CriteriaSetting& s : kCriteriaSettings) {
        std::uint32_t value = criteria.*s.field ? 1 : 0;
        ReadSetting(settings, s.setting, &value, sizeof value);
        criteria.*s.field = value != 0;
    }
    return criteria;
}

void SaveCriteria(const SettingsBackend& settings, const WizardCriteria& criteria) {
    for (const CriteriaSetting& s : kCriteriaSettings) {
        std::uint32_t value = criteria.*s.field ? 1 : 0;
        WriteSetting(settings, s.setting, &value, sizeof value);
    }
}

std::string OpeningWarning() {
    std::string text;
    for (unsigned id : kStrWarningParts)
        text += KeywrightString(id);
    return text;
}

} // namespace keywright
