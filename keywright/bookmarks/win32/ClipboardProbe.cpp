// The second process of the clipboard test: it reads the clipboard as another program
// would, as text and as a dropped file, and checks both against the expected location.
//   keywright_clipboard_probe LOCATION
// Exit codes: 0 all found, 2 usage, 3 no clipboard, 4 text, 5 no file list, 6 file.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

std::string ReadWholeFile(const char* path) {
    std::string bytes;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

int Probe(const std::string& location) {
    if (!OpenClipboard(nullptr))
        return 3;
    int code = 0;
    HANDLE text = GetClipboardData(CF_TEXT);
    const char* chars = text ? static_cast<const char*>(GlobalLock(text)) : nullptr;
    if (!chars || location != chars)
        code = 4;
    if (chars)
        GlobalUnlock(text);
    auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    char path[MAX_PATH] = {};
    if (code == 0 && (!drop || DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) != 1 ||
                      !DragQueryFileA(drop, 0, path, MAX_PATH)))
        code = 5;
    if (code == 0 && ReadWholeFile(path) != "[InternetShortcut]\r\nURL=reg:" + location + "\r\n")
        code = 6;
    CloseClipboard();
    std::printf("%s\n", path);
    return code;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    return Probe(argv[1]);
}
