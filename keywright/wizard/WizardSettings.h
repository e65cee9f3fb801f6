// The wizard's choices kept between sessions (settings subkey Replace) and the
// warning shown before it opens.
#pragma once

#include "settings/SettingAccess.h"
#include "wizard/ReplaceWizard.h"

#include <string>

namespace keywright {

// The step-1 choices as last saved; the texts are never kept.
WizardCriteria LoadCriteria(const SettingsBackend& settings);
void SaveCriteria(const SettingsBackend& settings, const WizardCriteria& criteria);

// The warning before the wizard opens: its three texts joined.
std::string OpeningWarning();

} // namespace keywright
