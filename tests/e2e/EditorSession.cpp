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

namespace {

constexpr std::size_t kXwdHeaderFields = 25;
constexpr std::size_t kXwdColourSize = 12;
constexpr std::size_t kPaintedColours = 8;
constexpr DWORD kScreenTimeoutMs = 20000;

std::uint32_t BigEndian32(const unsigned char* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// The Unix path of a file in the current directory (Wine shows the root as Z:).
std::string UnixPathHere(const std::string& name) {
    char here[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, here);
    std::string path = here;
    if (path.size() >= 2 && path[1] == ':')
        path.erase(0, 2);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path + "/" + name;
}

// Starts a program of the Unix side. Wine never signals the handle of such a process,
// so the caller waits for what it writes instead.
bool StartUnixProgram(std::string command) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::vector<unsigned char> ReadWholeFile(const char* name) {
    std::vector<unsigned char> file;
    if (FILE* in = std::fopen(name, "rb")) {
        unsigned char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
            file.insert(file.end(), buffer, buffer + n);
        std::fclose(in);
    }
    return file;
}

// The size an X window dump announces in its header, or 0 while the header is not
// all there.
std::size_t XwdSize(const std::vector<unsigned char>& file) {
    if (file.size() < kXwdHeaderFields * 4)
        return 0;
    const std::uint32_t headerSize = BigEndian32(&file[0]), height = BigEndian32(&file[20]),
                        bytesPerLine = BigEndian32(&file[48]), colours = BigEndian32(&file[76]);
    return headerSize + std::size_t(colours) * kXwdColourSize + std::size_t(bytesPerLine) * height;
}

} // namespace

bool WindowLooksPainted(HWND window, std::string* report) {
    RECT r{};
    if (!GetWindowRect(window, &r) || r.right <= r.left || r.bottom <= r.top) {
        *report = "no window";
        return false;
    }
    // The window's own X window when Wine names it: the root's image leaves the
    // contents of windows with another visual undefined.
    const auto xWindow =
        reinterpret_cast<std::uintptr_t>(GetPropA(window, "__wine_x11_whole_window"));
    char source[64] = "-root";
    if (xWindow)
        std::snprintf(source, sizeof source, "-id 0x%llx",
                      static_cast<unsigned long long>(xWindow));
    const char name[] = "e2e-screen.xwd";
    DeleteFileA(name);
    if (!StartUnixProgram(std::string("Z:\\usr\\bin\\xwd ") + source + " -silent -out " +
                          UnixPathHere(name))) {
        *report = "xwd did not start (x11-apps)";
        return false;
    }
    std::vector<unsigned char> file;
    WaitFor(kScreenTimeoutMs, [&] {
        file = ReadWholeFile(name);
        return XwdSize(file) != 0 && file.size() >= XwdSize(file);
    });
    DeleteFileA(name);
    if (XwdSize(file) == 0 || file.size() < XwdSize(file)) {
        *report = "no screen image";
        return false;
    }
    std::uint32_t field[kXwdHeaderFields];
    for (std::size_t i = 0; i < kXwdHeaderFields; ++i)
        field[i] = BigEndian32(&file[i * 4]);
    const std::uint32_t headerSize = field[0], width = field[4], height = field[5],
                        byteOrder = field[7], bytesPerLine = field[12], colours = field[19];
    const std::size_t pixelBytes = width ? bytesPerLine / width : 0;
    if (pixelBytes != 3 && pixelBytes != 4) {
        *report = "a screen image of " + std::to_string(pixelBytes) + " bytes per pixel";
        return false;
    }
    // A window's image is the window itself; the root's is cut to the window.
    const RECT area = xWindow ? RECT{0, 0, LONG(width), LONG(height)} : r;
    const std::size_t data = headerSize + std::size_t(colours) * kXwdColourSize;
    std::set<std::uint32_t> seen;
    for (LONG y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, LONG(height)); ++y) {
        for (LONG x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, LONG(width));
             ++x) {
            const unsigned char* p = &file[data + std::size_t(y) * bytesPerLine + x * pixelBytes];
            seen.insert(byteOrder == 0 ? std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                             std::uint32_t(p[2]) << 16
                                       : std::uint32_t(p[pixelBytes - 1]) |
                                             std::uint32_t(p[pixelBytes - 2]) << 8 |
                                             std::uint32_t(p[pixelBytes - 3]) << 16);
        }
    }
    *report = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) +
              " pixels at " + std::to_string(r.left) + "," + std::to_string(r.top) + ", " +
              std::to_string(seen.size()) + " colours" + (xWindow ? "" : " (from the root)");
    return seen.size() > kPaintedColours;
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
