// Driving Sorbex.exe from another process as a user would: starting it, finding its
// windows and controls, filling the search page and running a search.
#include "SorbexDriver.h"

#include <shlobj.h>

#include <cstdio>

#include "E2eChecks.h"

namespace e2e {
namespace {

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ChildSearch*>(data);
    if (GetDlgCtrlID(window) != search->id)
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

Program StartProgram(const std::string& command) {
    std::string line = command;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Program program;
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &info)) {
        CloseHandle(info.hThread);
        program.process = info.hProcess;
        program.id = info.dwProcessId;
    }
    return program;
}

int WaitForExit(Program& program, DWORD timeoutMs) {
    if (!program.process)
        return -1;
    DWORD code = static_cast<DWORD>(-2);
    if (WaitForSingleObject(program.process, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(program.process, &code);
    else
        TerminateProcess(program.process, 1);
    CloseHandle(program.process);
    program.process = nullptr;
    return static_cast<int>(code);
}

std::string UserProfilePath() {
    char folder[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + "\\Kestrix\\Sorbex.INI";
}

std::string WindowsProfilePath() {
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\Sorbex.INI";
}

void RemoveProfiles() {
    DeleteFileA(UserProfilePath().c_str());
    DeleteFileA(WindowsProfilePath().c_str());
}

bool CloseAnsweringNo(const Program& program, HWND frame) {
    PostMessageA(frame, WM_CLOSE, 0, 0);
    HWND box = nullptr;
    WaitFor(kSorbexStartTimeoutMs, [&] {
        box = FindWindowOf(program.id, "#32770", frame);
        return box || WaitForSingleObject(program.process, 0) == WAIT_OBJECT_0;
    });
    if (box)
        PostMessageA(box, WM_COMMAND, IDNO, 0);
    return box != nullptr;
}

HWND FindWindowOf(DWORD processId, const char* className, HWND owner) {
    return FindTopWindow(processId, [&](HWND w) {
        return ClassName(w) == className && (!owner || GetWindow(w, GW_OWNER) == owner);
    });
}

HWND ChildWithId(HWND parent, int id) {
    ChildSearch search{id, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void SetText(HWND window, const std::string& text) {
    SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                        5000, nullptr);
}

std::string RunSearch(HWND frame, const std::string& expression, const std::string& masks,
                      const std::string& directory) {
    SetText(ChildWithId(frame, kExpressionField), expression);
    SetText(ChildWithId(frame, kFileMaskField), masks);
    SetText(ChildWithId(frame, kDirectoryField), directory);
    PostMessageA(frame, WM_COMMAND, kStartSearchingCommand, 0);
    const HWND view = ChildWithId(frame, kResultView);
    std::string text;
    const bool finished = WaitFor(kSorbexSearchTimeoutMs, [&] {
        text = WindowText(view, 1 << 20);
        return text.find("Searching terminated normally") != std::string::npos;
    });
    return finished ? text : std::string();
}

std::vector<DWORD> WindowPixels(HWND window, int& width, int& height) {
    RECT rect{};
    GetWindowRect(window, &rect);
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return {};
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
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

bool SaveWindowPicture(HWND window, const std::string& path) {
    int width = 0;
    int height = 0;
    const std::vector<DWORD> pixels = WindowPixels(window, width, height);
    if (pixels.empty())
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const DWORD pixel = pixels[static_cast<std::size_t>(y) * width + x];
            row[x * 3] = static_cast<unsigned char>(pixel >> 16);
            row[x * 3 + 1] = static_cast<unsigned char>(pixel >> 8);
            row[x * 3 + 2] = static_cast<unsigned char>(pixel);
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    return std::fclose(file) == 0;
}

} // namespace e2e
