// Message boxes of the add-in: every caption comes from MessageCaption.
#include "host/win32/AddinMessageBox.h"

#include "host/win32/AddinPaths.h"
#include "platform/win32/AnsiText.h"
#include "strings/KeywrightStrings.h"

namespace keywright {

namespace {

constexpr int kFaultText = 256;

} // namespace

std::wstring MessageCaption(Caption caption) {
    switch (caption) {
    case Caption::AddinTitle:
        return kestrix::WideFromAnsi(KeywrightString(kStrAddinTitle));
    case Caption::ProgramName:
        return RunningProgramName();
    case Caption::ProgramPath:
        return RunningProgramPath();
    case Caption::None:
        break;
    }
    return {};
}

int ShowMessage(HWND owner, const std::string& text, Caption caption, UINT flags) {
    std::wstring title = MessageCaption(caption);
    return MessageBoxW(owner, kestrix::WideFromAnsi(text).c_str(),
                       caption == Caption::None ? nullptr : title.c_str(), flags);
}

int ShowAddinMessage(HWND owner, const std::string& text, UINT flags) {
    return ShowMessage(owner, text, Caption::AddinTitle, flags);
}

void ShowInternalFault(const std::string& text) {
    ShowMessage(GetActiveWindow(), text, Caption::ProgramPath, MB_OK | MB_ICONEXCLAMATION);
}

void ShowNotAvailableYet(HWND owner) {
    ShowAddinMessage(owner, KeywrightString(kStrNotAvailableYet));
}

void ReportAddinFailure(const kestrix::ui::Failure& failure) {
    if (failure.kind == kestrix::ui::FailureKind::OutOfMemory) {
        // Built on the stack: the memory may still be short.
        wchar_t text[kFaultText] = {};
        wchar_t program[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, KeywrightString(kStrOutOfMemory), -1, text, kFaultText);
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        MessageBoxW(GetActiveWindow(), text, program, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ShowInternalFault(KeywrightStringWith(kStrInternalFault, failure.what));
}

} // namespace keywright
