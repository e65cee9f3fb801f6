// End to end: the painted-window check itself, on a window of this process that its
// own thread draws. A label and a button that show their captions pass; the same
// window with the label's text drawn in its background colour fails, naming the label;
// a disabled label is not asked for text; a colour asked for must show; and the saved
// picture is a 24-bit bitmap.
#include <windows.h>

#include <cstdio>
#include <string>

#include "E2eChecks.h"
#include "PaintedCheck.h"

namespace {

using e2e::Check;

constexpr wchar_t kClass[] = L"PaintedCheckTestWindow";
constexpr char kLabel[] = "Label with a caption";
constexpr char kButton[] = "Press";
constexpr DWORD kStartTimeoutMs = 30000;
// The checks that are meant to fail look this long: the window is painted by then.
constexpr DWORD kFailingLookMs = 3000;

// Set by the test before it asks the window to repaint.
volatile LONG hideLabelText = 0;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC && InterlockedCompareExchange(&hideLabelText, 0, 0)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND Child(HWND parent, const char* type, const char* text, DWORD style, int x, int y, int cx) {
    HWND child = CreateWindowExA(0, type, text, WS_CHILD | WS_VISIBLE | style, x, y, cx, 24, parent,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    return child;
}

struct Shown {
    HWND window = nullptr;
    HWND disabled = nullptr;
};

// The window's thread: makes the window and serves it until it closes.
DWORD WINAPI WindowThread(void* parameter) {
    auto* shown = static_cast<Shown*>(parameter);
    WNDCLASSW type{};
    type.lpfnWndProc = Procedure;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    type.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    type.lpszClassName = kClass;
    RegisterClassW(&type);
    HWND window = CreateWindowExW(0, kClass, L"Painted check", WS_OVERLAPPEDWINDOW, 40, 40, 360,
                                  200, nullptr, nullptr, type.hInstance, nullptr);
    Child(window, "Static", kLabel, SS_LEFT, 16, 16, 300);
    Child(window, "Button", kButton, BS_PUSHBUTTON, 16, 56, 100);
    HWND disabled = Child(window, "Static", "Disabled label", SS_LEFT, 16, 100, 300);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    shown->disabled = disabled;
    InterlockedExchangePointer(reinterpret_cast<void**>(&shown->window), window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

// The bit count of a bitmap file's header; 0 when there is no such file.
int BitmapBits(const char* path) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    FILE* in = std::fopen(path, "rb");
    if (!in)
        return 0;
    const bool read = std::fread(&file, sizeof file, 1, in) == 1 &&
                      std::fread(&header, sizeof header, 1, in) == 1;
    std::fclose(in);
    return read && file.bfType == 0x4D42 ? header.biBitCount : 0;
}

} // namespace

int main() {
    Shown shown;
    HANDLE thread = CreateThread(nullptr, 0, WindowThread, &shown, 0, nullptr);
    HWND window = nullptr;
    Check(e2e::WaitFor(kStartTimeoutMs,
                       [&] {
                           window = static_cast<HWND>(InterlockedCompareExchangePointer(
                               reinterpret_cast<void**>(&shown.window), nullptr, nullptr));
                           return window != nullptr;
                       }),
          "the window is up");
    if (!window)
        return e2e::ExitCode();

    // A disabled label draws its text grey; it is not asked for text.
    EnableWindow(shown.disabled, FALSE);
    std::string seen;
    bool painted = e2e::LooksPainted(window, &seen, "painted_check.bmp");
    Check(painted && seen.find("text in 2 of 2 captions") != std::string::npos,
          "a label and a button that show their captions pass (" + seen + ")");
    Check(BitmapBits("painted_check.bmp") == 24, "the picture is saved as a 24-bit bitmap");

    // A colour the window draws can be asked for; one it does not draw fails, named.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const DWORD drawn = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    e2e::PaintedExpectation faceShown;
    faceShown.colours = {drawn};
    Check(e2e::LooksPainted(window, &seen, nullptr, faceShown),
          "a colour the window draws is found (" + seen + ")");
    e2e::PaintedExpectation magenta;
    magenta.colours = {drawn, 0xFF00FF};
    magenta.timeoutMs = kFailingLookMs;
    painted = e2e::LooksPainted(window, &seen, nullptr, magenta);
    Check(!painted && seen.find("colours not shown: #FF00FF") != std::string::npos &&
              seen.find("text in 2 of 2 captions") != std::string::npos,
          "a colour the window does not draw fails the check, named (" + seen + ")");

    InterlockedExchange(&hideLabelText, 1);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    e2e::PaintedExpectation briefly;
    briefly.timeoutMs = kFailingLookMs;
    painted = e2e::LooksPainted(window, &seen, nullptr, briefly);
    Check(!painted && seen.find("none in \"" + std::string(kLabel) + "\"") != std::string::npos &&
              seen.find("text in 1 of 2 captions") != std::string::npos,
          "a label whose text does not show fails, and is named (" + seen + ")");

    PostMessageW(window, WM_CLOSE, 0, 0);
    Check(WaitForSingleObject(thread, kStartTimeoutMs) == WAIT_OBJECT_0, "the window closes");
    CloseHandle(thread);
    return e2e::ExitCode();
}
