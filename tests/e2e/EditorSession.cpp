// What the end-to-end tests of keywright share: checks, running kwlaunch, reading
// windows, and the registry editor that kwlaunch starts and the test closes again.
#include "EditorSession.h"

#include <cstdio>
#include <vector>

namespace e2e {
namespace {

int failures = 0;

} // namespace

void Check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    if (!ok)
        ++failures;
}

int ExitCode() {
    return failures == 0 ? 0 : 1;
}

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

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

std::string WindowText(HWND window, std::size_t capacity) {
    std::vector<char> text(capacity, '\0');
    // A window of another process that hangs must not hang the test.
    if (window)
        SendMessageTimeoutA(window, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(text.data()),
                            SMTO_NORMAL, 5000, nullptr);
    text.back() = '\0';
    return text.data();
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

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

void SaveBitmap(const char* path, const BITMAPINFOHEADER& header, const void* pixels,
                std::size_t size) {
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + size);
    if (FILE* out = std::fopen(path, "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&header, sizeof header, 1, out);
        std::fwrite(pixels, 1, size, out);
        std::fclose(out);
    }
}

} // namespace

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

bool ShowsPaintedPixels(HWND window, const char* bitmapPath) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(500); // the window's own thread paints in its own time; the capture reads that
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    bool varied = false;
    for (int i = 1; pixels && i < width * height && !varied; ++i)
        varied = (pixels[i] & 0xFFFFFF) != (pixels[0] & 0xFFFFFF);
    if (pixels)
        SaveBitmap(bitmapPath, info.bmiHeader, pixels,
                   static_cast<std::size_t>(width) * height * 4);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return varied;
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
