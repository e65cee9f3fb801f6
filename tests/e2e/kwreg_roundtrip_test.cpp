// End to end, without a window: a scratch tree exported by the registry editor ("/E":
// a version-5 file in UTF-16) and shown by kwreg lists every key and value that
// `reg query /s` lists for the same tree, with the preview's data texts.
//   kwreg_roundtrip_test PATH_TO_KWREG
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "EditorSession.h"

namespace {

using e2e::Check;

constexpr DWORD kRunTimeoutMs = 60000;

// The scratch tree, below HKEY_CURRENT_USER; one per process, so that runs never meet.
std::string ScratchPath() {
    return "Software\\KestrixRoundTrip" + std::to_string(GetCurrentProcessId());
}

void SetValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size) {
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
}

void SetText(HKEY key, const char* name, DWORD type, const std::string& text) {
    SetValue(key, name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

HKEY Create(const std::string& path) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    return key;
}

// Values of every type the preview shows, names the file format must escape, keys at
// three levels, one without values, one with a non-ASCII name.
void CreateScratchTree(const std::string& root) {
    HKEY top = Create(root);
    SetText(top, "", REG_SZ, "the default");
    SetText(top, "Text", REG_SZ, "say \"hi\" to C:\\temp");
    SetText(top, "Empty text", REG_SZ, "");
    SetText(top, "we\"ird=name", REG_SZ, "x");
    const DWORD all = 0xFFFFFFFF, answer = 42;
    SetValue(top, "All bits", REG_DWORD, &all, 4);
    SetValue(top, "Answer", REG_DWORD, &answer, 4);
    std::string blob;
    for (int i = 0; i < 60; ++i)
        blob.push_back(static_cast<char>(i * 5));
    SetValue(top, "Blob", REG_BINARY, blob.data(), static_cast<DWORD>(blob.size()));
    SetValue(top, "No bytes", REG_BINARY, "", 0);
    SetText(top, "Expand", REG_EXPAND_SZ, "%SystemRoot%\\system32");
    SetValue(top, "Multi", REG_MULTI_SZ, "one\0two\0\0", 9);
    HKEY child = Create(root + "\\Child [1]");
    SetText(child, "Inside", REG_SZ, "child value");
    HKEY grand = Create(root + "\\Child [1]\\Grand");
    SetValue(grand, "Number", REG_DWORD, &answer, 4);
    HKEY empty = Create(root + "\\Empty");
    HKEY accented = Create(root + "\\K\xE4se");
    SetText(accented, "Caf\xE9", REG_SZ, "cr\xE8me");
    for (HKEY key : {top, child, grand, empty, accented})
        RegCloseKey(key);
}

// Runs `command` and returns what it wrote to its standard output; `status` gets its
// exit code, or -1 when it did not start or end.
std::string Run(const std::string& command, int* status) {
    *status = -1;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0))
        return {};
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::string line = command;
    const bool started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(write);
    std::string output;
    if (started) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0)
            output.append(buffer, got);
        DWORD code = 0;
        if (WaitForSingleObject(process.hProcess, kRunTimeoutMs) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(process.hProcess, &code))
            *status = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(read);
    return output;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// Key path, then value name, then the data texts of the values of that name.
using Listing = std::map<std::string, std::multimap<std::string, std::string>>;

std::string Hex(const std::string& bytes) {
    std::string text;
    char digits[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(digits, sizeof digits, i ? " %02X" : "%02X",
                      static_cast<unsigned char>(bytes[i]));
        text += digits;
    }
    return text;
}

// A string as the registry keeps it for the wide API: UTF-16 code units, here of
// ASCII text.
std::string Utf16Bytes(const std::string& text) {
    std::string bytes;
    for (char c : text) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

// The preview's data text of one value of `reg query`'s listing: "NAME    TYPE    DATA".
std::string PreviewData(const std::string& type, const std::string& data) {
    if (type == "REG_SZ")
        return "\"" + data + "\"";
    if (type == "REG_DWORD") {
        const unsigned long number = std::strtoul(data.c_str(), nullptr, 16);
        char text[32];
        std::snprintf(text, sizeof text, "0x%08lx (%d)", number, static_cast<int>(number));
        return text;
    }
    if (type == "REG_BINARY") {
        std::string bytes;
        for (std::size_t i = 0; i + 1 < data.size(); i += 2)
            bytes.push_back(
                static_cast<char>(std::strtoul(data.substr(i, 2).c_str(), nullptr, 16)));
        return Hex(bytes);
    }
    if (type == "REG_EXPAND_SZ")
        return Hex(Utf16Bytes(data) + std::string(2, '\0'));
    if (type == "REG_MULTI_SZ") {
        // reg shows the strings joined by "\0".
        std::string joined = data;
        for (std::size_t at; (at = joined.find("\\0")) != std::string::npos;)
            joined.replace(at, 2, std::string(1, '\0'));
        return Hex(Utf16Bytes(joined) + std::string(joined.empty() ? 2 : 4, '\0'));
    }
    return "(type " + type + ")";
}

Listing ParseQuery(const std::string& output) {
    Listing listing;
    std::string key;
    for (const std::string& line : Lines(output)) {
        if (line.rfind("HKEY_", 0) == 0) {
            key = line;
            listing[key];
            continue;
        }
        if (line.rfind("    ", 0) != 0 || key.empty())
            continue;
        // Four blanks before the name, the type and the data.
        const std::size_t typeAt = line.find("    REG_", 4);
        if (typeAt == std::string::npos)
            continue;
        const std::string name = line.substr(4, typeAt - 4);
        const std::size_t dataAt = line.find("    ", typeAt + 4);
        const std::string type = line.substr(
            typeAt + 4, dataAt == std::string::npos ? std::string::npos : dataAt - typeAt - 4);
        const std::string data = dataAt == std::string::npos ? "" : line.substr(dataAt + 4);
        listing[key].emplace(name, PreviewData(type, data));
    }
    return listing;
}

Listing ParseShow(const std::string& output) {
    Listing listing;
    std::string key;
    for (const std::string& line : Lines(output)) {
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            key = line.substr(1, line.size() - 2);
            listing[key];
            continue;
        }
        const std::size_t tab = line.find('\t');
        if (tab != std::string::npos)
            listing[key].emplace(line.substr(0, tab), line.substr(tab + 1));
    }
    return listing;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kwreg_roundtrip_test PATH_TO_KWREG\n");
        return 2;
    }
    const std::string kwreg = e2e::WindowsPath(argv[1]);
    const std::string scratch = ScratchPath();
    const std::string full = "HKEY_CURRENT_USER\\" + scratch;
    CreateScratchTree(scratch);

    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string file =
        std::string(temp) + "kwreg-roundtrip-" + std::to_string(GetCurrentProcessId()) + ".reg";
    int status = 0;
    Run("regedit /E \"" + file + "\" \"" + full + "\"", &status);
    const std::string bytes = e2e::ReadFileBytes(file);
    Check(bytes.compare(0, 4, "\xFF\xFEW\0", 4) == 0,
          "the editor exported the tree in UTF-16 (" + std::to_string(bytes.size()) + " bytes)");

    // reg writes to a pipe in the OEM code page; kwreg, like the program, in the ANSI one.
    std::string queried = Run("reg query \"" + full + "\" /s", &status);
    OemToCharBuffA(queried.data(), &queried[0], static_cast<DWORD>(queried.size()));
    const Listing query = ParseQuery(queried);
    Check(status == 0 && query.size() == 5,
          "reg query lists the five keys (" + std::to_string(query.size()) + ")");
    const std::string shown = Run("\"" + kwreg + "\" show \"" + file + "\"", &status);
    Check(status == 0, "kwreg shows the exported file (exit " + std::to_string(status) + ")");
    const Listing show = ParseShow(shown);

    std::size_t values = 0;
    for (const auto& [key, rows] : query) {
        const auto found = show.find(key);
        Check(found != show.end(), "kwreg shows " + key);
        if (found == show.end())
            continue;
        for (const auto& [name, data] : rows) {
            ++values;
            bool listed = false;
            const auto range = found->second.equal_range(name);
            for (auto row = range.first; row != range.second; ++row)
                listed = listed || row->second == data;
            Check(listed, "kwreg shows " + key + " : " + name + " = " + data);
        }
    }
    Check(values == 13, "reg query lists 13 values (" + std::to_string(values) + ")");
    // The accented names came through the UTF-16 file into the code page.
    const auto accented = show.find(full + "\\K\xE4se");
    Check(accented != show.end() && accented->second.count("Caf\xE9") == 1 &&
              accented->second.find("Caf\xE9")->second == "\"cr\xE8me\"",
          "the non-ASCII key, name and string read back in the code page");

    std::printf("kwreg show printed:\n%s", shown.c_str());
    e2e::DeleteKeyTree(HKEY_CURRENT_USER, scratch);
    DeleteFileA(file.c_str());
    return e2e::ExitCode();
}
