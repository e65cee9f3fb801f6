// The rules of the definition pages that need no window: the search method's effect on
// "&Case sensitive", and what the file and directory choosers put into their fields.
#pragma once

#include <string>
#include <vector>

#include "app/InsertMenus.h"

namespace sorbex {

constexpr int kMethodStandard = 0;
constexpr int kMethodPhonetic = 1;

// The phonetic method has no case: its check box is disabled.
bool CaseSensitiveEnabled(int searchMethod);

// The last directory named in a directory field (the field is split at "|"), with a
// backslash added when missing; empty when the field names none.
std::string LastDirectory(const std::string& directoryField);

// The names of the files chosen, joined with " | ", go into the file-mask field:
// appended after " | " when the field has no selection and is not empty, otherwise in
// place of its text. The caret goes to the end.
CEditState ApplyChosenFiles(const CEditState& maskField, const std::vector<std::string>& names);

// Whether choosing files in `folder` sets the directory field: when the folder differs,
// without regard to case, from the field's last directory.
bool ChosenFolderDiffers(const std::string& folder, const std::string& directoryField);

// A folder chosen for the directory field: appended after " | " when the field has no
// selection and is not empty, otherwise in place of its text.
CEditState ApplyChosenFolder(const CEditState& directoryField, const std::string& folder);

// What the system's open dialog returns for several files: the folder, then the names;
// for one file, its full path alone.
struct CChosenFiles {
    std::string folder; // without a trailing separator
    std::vector<std::string> names;
};
CChosenFiles SplitChosenFiles(const std::vector<std::string>& parts);

// The filter pairs of the file chooser (strings 10009 and 10010): description, pattern.
std::vector<std::pair<std::string, std::string>> FileChooserFilters();

} // namespace sorbex
