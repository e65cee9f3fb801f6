// A text converter for tests. It reads files whose first line starts with "KTCV" and
// turns each further line into an RTF paragraph. A first line "KTCV EMPTY" makes it
// produce nothing, "KTCV OVERSIZE" makes it report more bytes than its buffer holds,
// "KTCV CRASH" makes it write through a null pointer, "KTCV HANG" makes it wait for
// ever, "KTCV FLOOD" makes it hand over kFloodBytes of RTF.
// When the environment names a log file in KESTRIX_TESTCONVERTER_LOG, every load and
// every conversion appends a line to it, so that tests can see whether it ran.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include <windows.h>

namespace {

using FCE = short;
using OutputCallback = long(PASCAL*)(long byteCount, long percent);

constexpr FCE kNoError = 0;
constexpr FCE kTrue = 1;
constexpr FCE kOpenFailed = -1;
constexpr FCE kNoMemory = -8;
constexpr char kMagic[] = "KTCV";
constexpr SIZE_T kFloodBytes = SIZE_T(2) << 20;

void Log(const std::string& line) {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("KESTRIX_TESTCONVERTER_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    // Kernel calls only: this also runs inside DllMain.
    HANDLE log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(log, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(log);
}

// The file name the host put in `block`, in the OEM code page, as a path to open.
bool PathFromBlock(HANDLE block, std::string& path) {
    const char* oem = static_cast<const char*>(GlobalLock(block));
    if (!oem)
        return false;
    const SIZE_T size = GlobalSize(block);
    const std::string name(oem, strnlen(oem, size));
    GlobalUnlock(block);
    char ansi[MAX_PATH] = {};
    if (name.empty() || name.size() >= MAX_PATH)
        return false;
    OemToCharA(name.c_str(), ansi);
    path = ansi;
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, n);
    std::fclose(file);
    return true;
}

std::string FirstLine(const std::string& bytes) {
    const std::size_t end = bytes.find_first_of("\r\n");
    return bytes.substr(0, end == std::string::npos ? bytes.size() : end);
}

bool HasMagic(const std::string& bytes) {
    return bytes.compare(0, sizeof kMagic - 1, kMagic) == 0;
}

std::string ToRtf(const std::string& bytes) {
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 ";
    std::size_t start = bytes.find('\n');
    while (start != std::string::npos && start < bytes.size()) {
        ++start;
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        if (start == end && end == bytes.size())
            break; // the line break that ends the last line starts no paragraph
        for (std::size_t i = start; i < end; ++i) {
            const unsigned char c = static_cast<unsigned char>(bytes[i]);
            if (c == '\\' || c == '{' || c == '}') {
                rtf += '\\';
                rtf += static_cast<char>(c);
            } else if (c >= 0x80) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\'%02x", c);
                rtf += hex;
            } else if (c != '\r') {
                rtf += static_cast<char>(c);
            }
        }
        rtf += "\\par\n";
        start = end;
    }
    return rtf + "}";
}

} // namespace

extern "C" {

__declspec(dllexport) long PASCAL InitConverter32(HANDLE /*mainWindow*/, char* appName) {
    Log(std::string("init ") + (appName ? appName : ""));
    return 1;
}

__declspec(dllexport) void PASCAL UninitConverter() {
    Log("uninit");
}

__declspec(dllexport) HGLOBAL PASCAL RegisterApp(unsigned long /*flags*/, void* /*reserved*/) {
    // The host frees whatever comes back.
    return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 16);
}

__declspec(dllexport) FCE PASCAL IsFormatCorrect32(HANDLE fileName, HANDLE /*className*/) {
    std::string path;
    std::string bytes;
    if (!PathFromBlock(fileName, path) || !ReadWholeFile(path, bytes))
        return kOpenFailed;
    return HasMagic(bytes) ? kTrue : kNoError;
}

__declspec(dllexport) FCE PASCAL
    ForeignToRtf32(HANDLE fileName, void* /*storage*/, HANDLE transfer, HANDLE /*className*/,
                   HANDLE /*subset*/, OutputCallback out) {
    std::string path;
    std::string bytes;
    if (!PathFromBlock(fileName, path) || !ReadWholeFile(path, bytes))
        return kOpenFailed;
    Log("convert " + path);
    const std::string first = FirstLine(bytes);
    if (first == "KTCV EMPTY")
        return static_cast<FCE>(out(0, 100));
    if (first == "KTCV CRASH") {
        volatile char* nowhere = nullptr;
        *nowhere = 1;
    }
    if (first == "KTCV HANG")
        Sleep(INFINITE);
    const SIZE_T capacity = GlobalSize(transfer);
    if (capacity == 0)
        return kNoMemory;
    if (first == "KTCV OVERSIZE")
        return static_cast<FCE>(out(static_cast<long>(capacity) + 4096, 100));
    if (first == "KTCV FLOOD") {
        for (SIZE_T done = 0; done < kFloodBytes; done += capacity) {
            char* buffer = static_cast<char*>(GlobalLock(transfer));
            if (!buffer)
                return kNoMemory;
            std::memset(buffer, 'x', capacity);
            GlobalUnlock(transfer);
            if (const long answer = out(static_cast<long>(capacity), 50))
                return static_cast<FCE>(answer);
        }
        return kNoError;
    }

    const std::string rtf = ToRtf(bytes);
    for (std::size_t done = 0; done < rtf.size();) {
        const std::size_t chunk = std::min<std::size_t>(capacity, rtf.size() - done);
        char* buffer = static_cast<char*>(GlobalLock(transfer));
        if (!buffer)
            return kNoMemory;
        std::memcpy(buffer, rtf.data() + done, chunk);
        GlobalUnlock(transfer);
        done += chunk;
        if (const long answer =
                out(static_cast<long>(chunk), static_cast<long>(done * 100 / rtf.size())))
            return static_cast<FCE>(answer);
    }
    return kNoError;
}

BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH)
        Log("load");
    return TRUE;
}

} // extern "C"
