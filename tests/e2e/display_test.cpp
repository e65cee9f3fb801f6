// Checks that a Windows program under the test runner gets a real display: a
// top-level window with an edit control is created, shown and painted, and the
// text set through one message is read back through another.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

int Fail(const char* what) {
    std::printf("FAILED: %s (error %lu)\n", what, GetLastError());
    return 1;
}

} // namespace

int main() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND frame = CreateWindowExA(0, "STATIC", "Kestrix display check", WS_OVERLAPPEDWINDOW, 10,
                                 10, 320, 200, nullptr, nullptr, instance, nullptr);
    if (!frame)
        return Fail("CreateWindowEx (frame)");
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 5, 5, 300,
                                24, frame, nullptr, instance, nullptr);
    if (!edit)
        return Fail("CreateWindowEx (edit)");
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);

    const char text[] = "passage \xE4\xF6\xFC";
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    char back[64] = {};
    SendMessageA(edit, WM_GETTEXT, sizeof back, reinterpret_cast<LPARAM>(back));
    if (std::strcmp(back, text) != 0)
        return Fail("WM_GETTEXT returned other text");

    if (!IsWindowVisible(frame))
        return Fail("frame not visible");
    RECT rc{};
    if (!GetClientRect(frame, &rc) || rc.right <= 0 || rc.bottom <= 0)
        return Fail("frame has no client area");
    if (GetSystemMetrics(SM_CXSCREEN) <= 0)
        return Fail("no screen");

    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    DestroyWindow(frame);
    std::printf("display ok: %dx%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return 0;
}
