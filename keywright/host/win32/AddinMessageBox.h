// The add-in's message boxes, with the one rule for their captions, and the failure hook
// that reports what escaped one of its handlers.
#pragma once

#include "platform/win32/ui/FailureGuard.h"

#include <windows.h>

#include <string>

namespace keywright {

// Whose name a message box carries.
enum class Caption {
    AddinTitle,  // string 2106: the add-in's own messages
    ProgramName, // the editor's program file name: navigation and search prompts
    ProgramPath, // the full path of the running program: internal faults
    None,        // the system's default caption
};

std::wstring MessageCaption(Caption caption);

// `text` is in the code page, as the string table and the registry give it.
int ShowMessage(HWND owner, const std::string& text, Caption caption, UINT flags = MB_OK);

// The add-in's own message box: captioned with its title.
int ShowAddinMessage(HWND owner, const std::string& text, UINT flags = MB_OK | MB_ICONINFORMATION);

// An internal fault: owned by the active window, captioned with the program's path.
void ShowInternalFault(const std::string& text);

// What a command says while the feature behind it has not been built.
void ShowNotAvailableYet(HWND owner);

// The window base's failure hook: an exception that escaped a handler, shown as an
// internal fault.
void ReportAddinFailure(const kestrix::ui::Failure& failure);

} // namespace keywright
