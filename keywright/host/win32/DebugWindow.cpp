// The debug window is the modeless dialog 224 around a read-only edit control. Lines
// come from any thread of the editor, so they travel to it as messages.
#include "host/win32/DebugWindow.h"

#include "host/win32/AddinContext.h"
#include "resources/KeywrightResources.h"
#include "settings/SettingsStore.h"
#include "settings/WindowPosition.h"

#include <atomic>
#include <string>

namespace keywright {

namespace {

constexpr std::size_t kPositionText = 64;

std::atomic<HWND> g_window{nullptr};

class DebugWindowLog : public DebugLog {
public:
    void Write(const std::string& text, bool endLine) override {
        HWND window = g_window.load();
        if (!window)
            return;
        std::string line(static_cast<std::size_t>(indent_.load()), ' ');
        line += text;
        SendMessageA(window, kMsgDebugAppend, endLine ? 1 : 0,
                     reinterpret_cast<LPARAM>(line.c_str()));
    }
    void Indent(int delta) override { indent_ += delta; }

private:
    std::atomic<int> indent_{0};
};

DebugWindowLog g_log;

void Append(HWND window, const char* text, bool endLine) {
    HWND edit = GetDlgItem(window, kDebugEditId);
    int end = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
    if (endLine)
        SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("\r\n"));
}

void SavePosition(HWND window) {
    RECT rect{};
    if (!GetWindowRect(window, &rect))
        return;
    std::string text = FormatWindowPosition({rect.left, rect.top, rect.right, rect.bottom});
    WriteSetting(AddinSettings(), kSettingDebugWindowPos, text.c_str(),
                 static_cast<std::uint32_t>(text.size() + 1));
}

// The saved place, or the dialog's own size centred over the editor.
void PlaceWindow(HWND window, HWND owner) {
    char text[kPositionText] = {};
    ScreenRect place;
    if (ReadSetting(AddinSettings(), kSettingDebugWindowPos, text, sizeof text) != 1 ||
        !ParseWindowPosition(text, &place)) {
        RECT own{}, ownerRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        GetWindowRect(window, &own);
        if (owner)
            GetWindowRect(owner, &ownerRect);
        place = CentreOver({ownerRect.left, ownerRect.top, ownerRect.right, ownerRect.bottom},
                           {own.left, own.top, own.right, own.bottom});
    }
    MoveWindow(window, place.left, place.top, place.right - place.left, place.bottom - place.top,
               FALSE);
}

INT_PTR CALLBACK DebugDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case WM_INITDIALOG:
            // The log grows for as long as the editor runs.
            SendDlgItemMessageA(window, kDebugEditId, EM_SETLIMITTEXT, 0, 0);
            return TRUE;
        case kMsgDebugAppend:
            Append(window, reinterpret_cast<const char*>(lParam), wParam != 0);
            return TRUE;
        case WM_SIZE:
            MoveWindow(GetDlgItem(window, kDebugEditId), 0, 0, LOWORD(lParam), HIWORD(lParam),
                       TRUE);
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(window);
            return TRUE;
        case WM_DESTROY:
            SavePosition(window);
            RemoveModelessWindow(window);
            g_window = nullptr;
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        // Nothing may unwind into the system's message dispatch.
        return FALSE;
    }
}

} // namespace

void CreateDebugWindow(HWND owner) {
    if (g_window.load())
        return;
    // On the desktop rather than owned, so it stays put while the editor is minimised.
    HWND window = CreateDialogParamW(Addin().ownInstance, MAKEINTRESOURCEW(KW_IDD_DEBUG), nullptr,
                                     DebugDialogProc, 0);
    if (!window)
        return;
    PlaceWindow(window, owner);
    g_window = window;
    AddModelessWindow(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);
}

DebugLog* AddinDebugLog() {
    return g_window.load() ? &g_log : nullptr;
}

} // namespace keywright
