// What the end-to-end tests of keywright share: checks, running kwlaunch, reading
// windows, and the registry editor that kwlaunch starts and the test closes again.
#include "EditorSession.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <set>
#include <vector>

namespace e2e {
namespace {

constexpr int kMessageTextId = 0xFFFF; // the text of a message box

struct BoxSearch {
    DWORD process;
    HWND box;
};

BOOL CALLBACK FindMessageBox(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<BoxSearch*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (process == search->process && lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window) &&
        GetDlgItem(window, kMessageTextId)) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int RunLauncher(const std::string& launcher, const std::string& arguments) {
    std::string command = "\"" + launcher + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    DWORD code = static_cast<DWORD>(-2);
    if (WaitForSingleObject(process.hProcess, kLaunchTimeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

std::string StatusText(HWND frame) {
    return WindowText(FindWindowExA(frame, nullptr, STATUSCLASSNAMEA, nullptr));
}

bool WaitForStatusEnding(HWND frame, const std::string& end, std::string* last) {
    return WaitFor(kStatusTimeoutMs, [&] {
        *last = StatusText(frame);
        return EndsWith(*last, end);
    });
}

void ExpectStatus(HWND frame, const std::string& end, const std::string& what) {
    std::string last;
    bool shown = WaitForStatusEnding(frame, end, &last);
    Check(shown, what + " (status bar: \"" + last + "\")");
}

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string TakeMessageBox(DWORD process, DWORD timeoutMs) {
    BoxSearch search{process, nullptr};
    if (!WaitFor(timeoutMs, [&] {
            EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&search));
            return search.box != nullptr;
        }))
        return "(no message box)";
    const std::string text = WindowText(GetDlgItem(search.box, kMessageTextId));
    PostMessageA(search.box, WM_COMMAND, IDOK, 0);
    WaitFor(5000, [&] { return !IsWindow(search.box); });
    return text;
}

namespace {

// The screen's pixels in `r`, top row first, 32 bits each.
std::vector<DWORD> ScreenPixels(const RECT& r, BITMAPINFO& info) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    info = BITMAPINFO{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// How many colours (up to three) the pixels hold.
std::size_t Colours(const std::vector<DWORD>& pixels) {
    std::vector<DWORD> colours;
    for (DWORD pixel : pixels) {
        pixel &= 0xFFFFFF;
        if (std::find(colours.begin(), colours.end(), pixel) == colours.end())
            colours.push_back(pixel);
        if (colours.size() >= 3)
            break;
    }
    return colours.size();
}

// Writes the picture as a bitmap file, for whoever looks at a test's results.
void SaveBitmap(const char* path, const BITMAPINFOHEADER& header,
                const std::vector<DWORD>& pixels) {
    BITMAPFILEHEADER file{};
    const std::size_t size = pixels.size() * sizeof(DWORD);
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + size);
    if (FILE* out = std::fopen(path, "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&header, sizeof header, 1, out);
        std::fwrite(pixels.data(), 1, size, out);
        std::fclose(out);
    }
}

} // namespace

bool LooksPainted(HWND window, std::string* detail, const char* bitmapPath) {
    RECT r{};
    if (!IsWindowVisible(window) || !GetWindowRect(window, &r) || r.right <= r.left ||
        r.bottom <= r.top) {
        *detail = "not visible";
        return false;
    }
    // Without a window manager a new window can stay unexposed until it moves.
    SetWindowPos(window, nullptr, r.left + 1, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(window, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The client area only: the frame and title bar are drawn even for a window that
    // never painted itself.
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (client.right <= client.left || client.bottom <= client.top) {
        *detail = "no client area";
        return false;
    }
    BITMAPINFO info{};
    std::vector<DWORD> pixels;
    std::size_t colours = 0;
    // The window's own process paints it; the picture is taken until it shows.
    const bool painted = WaitFor(kPaintTimeoutMs, [&] {
        pixels = ScreenPixels(client, info);
        return (colours = Colours(pixels)) >= 3;
    });
    if (bitmapPath)
        SaveBitmap(bitmapPath, info.bmiHeader, pixels);
    *detail = std::to_string(client.right - client.left) + "x" +
              std::to_string(client.bottom - client.top) + " client area, " +
              std::to_string(colours) + (painted ? "+" : "") + " colours";
    return painted;
}

std::string DebugLogText() {
    constexpr int kDebugEditId = 1092;
    HWND window = FindWindowA(nullptr, "Debug");
    return WindowText(window ? GetDlgItem(window, kDebugEditId) : nullptr, 65536);
}

EditorSession::~EditorSession() {
    if (process_)
        CloseHandle(process_);
}

bool EditorSession::Start(const std::string& launcher) {
    Check(RunLauncher(launcher) == 0, "kwlaunch starts the editor and attaches");
    frame_ = FindWindowA("RegEdit_RegEdit", nullptr);
    Check(frame_ != nullptr, "the editor's frame exists");
    if (!frame_)
        return false;
    GetWindowThreadProcessId(frame_, &processId_);
    process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId_);
    return true;
}

void EditorSession::Close(DWORD timeoutMs) {
    PostMessageA(frame_, WM_CLOSE, 0, 0);
    bool ended = process_ && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
    Check(ended, "closing the editor ends it");
    if (process_) {
        if (!ended)
            TerminateProcess(process_, 1);
        CloseHandle(process_);
        process_ = nullptr;
    }
}

} // namespace e2e
