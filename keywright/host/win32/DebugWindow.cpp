// The debug window is a plain top-level window around a read-only edit control. Lines
// come from any thread of the editor, so they travel to it as messages.
#include "host/win32/DebugWindow.h"

#include "host/win32/AddinContext.h"
#include "settings/SettingsStore.h"
#include "settings/WindowPosition.h"

#include <atomic>
#include <string>

namespace keywright {

namespace {

constexpr wchar_t kClassName[] = L"Velmara-Debug-Wnd";
constexpr int kDefaultWidth = 480;
constexpr int kDefaultHeight = 360;
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

ScreenRect InitialPosition(HWND owner) {
    char text[kPositionText] = {};
    ScreenRect saved;
    if (ReadSetting(AddinSettings(), kSettingDebugWindowPos, text, sizeof text) == 1 &&
        ParseWindowPosition(text, &saved))
        return saved;
    RECT ownerRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner)
        GetWindowRect(owner, &ownerRect);
    return CentreOver({ownerRect.left, ownerRect.top, ownerRect.right, ownerRect.bottom},
                      {0, 0, kDefaultWidth, kDefaultHeight});
}

LRESULT CALLBACK DebugWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case kMsgDebugAppend:
            Append(window, reinterpret_cast<const char*>(lParam), wParam != 0);
            return 0;
        case WM_SIZE:
            MoveWindow(GetDlgItem(window, kDebugEditId), 0, 0, LOWORD(lParam), HIWORD(lParam),
                       TRUE);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            SavePosition(window);
            RemoveModelessWindow(window);
            g_window = nullptr;
            return 0;
        default:
            break;
        }
    } catch (...) {
        // Nothing may unwind into the system's message dispatch.
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void CreateDebugWindow(HWND owner) {
    if (g_window.load())
        return;
    HINSTANCE instance = Addin().ownInstance;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DebugWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    ScreenRect place = InitialPosition(owner);
    // On the desktop rather than owned, so it stays put while the editor is minimised.
    HWND window = CreateWindowExW(0, kClassName, L"Debug", WS_OVERLAPPEDWINDOW, place.left,
                                  place.top, place.right - place.left, place.bottom - place.top,
                                  nullptr, nullptr, instance, nullptr);
    if (!window)
        return;
    RECT client{};
    GetClientRect(window, &client);
    CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                        ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                    0, 0, client.right, client.bottom, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kDebugEditId)), instance, nullptr);
    g_window = window;
    AddModelessWindow(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);
}

DebugLog* AddinDebugLog() {
    return g_window.load() ? &g_log : nullptr;
}

} // namespace keywright
