// Registering the splitter class; the bar's behaviour is SplitterWndProc's.
#include "host/win32/SplitterClass.h"

#include "host/win32/Exports.h"
#include "strings/KeywrightStrings.h"

namespace keywright {

namespace {

constexpr WORD kEditorSplitCursor = 100;

} // namespace

void RegisterSplitterClass(HINSTANCE editor) {
    WNDCLASSA windowClass{};
    if (GetClassInfoA(editor, kSplitterClass, &windowClass))
        return;
    windowClass.lpfnWndProc = SplitterWndProc;
    windowClass.hInstance = editor;
    windowClass.hCursor = LoadCursorA(editor, MAKEINTRESOURCEA(kEditorSplitCursor));
    // An editor without that cursor still gets a bar that shows what it does.
    if (!windowClass.hCursor)
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEWE));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kSplitterClass;
    if (RegisterClassA(&windowClass))
        return;
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    MessageBoxA(GetActiveWindow(), KeywrightString(kStrSplitterClassFailed), program,
                MB_OK | MB_ICONEXCLAMATION);
}

} // namespace keywright
