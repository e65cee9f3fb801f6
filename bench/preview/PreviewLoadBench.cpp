// Measures the preview window under Wine while it loads a generated export: how long
// the load takes, and how long the editor's thread keeps another program waiting for an
// answer meanwhile (it answers, and repaints, at every percent of the file).
//   kwpreviewbench KWLAUNCH [MB]
#include "GeneratedExport.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD kTimeoutMs = 120000;
constexpr char kTitlePrefix[] = "Preview Registry File - kwpreviewbench";

int Run(const std::string& command) {
    std::string line = command;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    DWORD code = 1;
    WaitForSingleObject(process.hProcess, kTimeoutMs);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

BOOL CALLBACK FindPreview(HWND window, LPARAM parameter) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (std::string(title).rfind(kTitlePrefix, 0) == 0) {
        *reinterpret_cast<HWND*>(parameter) = window;
        return FALSE;
    }
    return TRUE;
}

double Seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kwpreviewbench KWLAUNCH [MB]\n");
        return 2;
    }
    std::string launcher = argv[1];
    if (!launcher.empty() && launcher[0] == '/')
        launcher = "Z:" + launcher;
    const std::size_t megabytes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 20;
    std::size_t values = 0;
    const std::string text = bench::GenerateExport(megabytes << 20, &values);
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "kwpreviewbench.reg";
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }

    if (Run("\"" + launcher + "\"") != 0) {
        std::fprintf(stderr, "kwpreviewbench: kwlaunch did not start the editor\n");
        return 1;
    }
    const auto start = Clock::now();
    if (Run("\"" + launcher + "\" --preview \"" + path + "\"") != 0) {
        std::fprintf(stderr, "kwpreviewbench: kwlaunch --preview failed\n");
        return 1;
    }
    HWND preview = nullptr;
    while (!preview && Clock::now() - start < std::chrono::seconds(60)) {
        EnumWindows(FindPreview, reinterpret_cast<LPARAM>(&preview));
        Sleep(10);
    }
    HWND tree = preview ? FindWindowExA(preview, nullptr, WC_TREEVIEWA, nullptr) : nullptr;
    if (!tree) {
        std::fprintf(stderr, "kwpreviewbench: no preview window\n");
        return 1;
    }
    // Round trips to the loading window: each waits until the thread looks at its
    // messages again.
    std::vector<double> waits;
    for (;;) {
        const auto asked = Clock::now();
        DWORD_PTR count = 0;
        if (!SendMessageTimeoutA(tree, TVM_GETCOUNT, 0, 0, SMTO_NORMAL, kTimeoutMs, &count))
            break;
        waits.push_back(Seconds(Clock::now() - asked));
        if (count > 0)
            break;
    }
    const double load = Seconds(Clock::now() - start);
    std::sort(waits.begin(), waits.end());
    std::printf("file: %.1f MB, %zu values\n", static_cast<double>(text.size()) / (1 << 20),
                values);
    std::printf("from kwlaunch --preview to the filled tree: %.2f s\n", load);
    if (!waits.empty())
        std::printf("answers while loading: %zu, median wait %.3f s, longest %.3f s\n",
                    waits.size(), waits[waits.size() / 2], waits.back());
    PostMessageA(preview, WM_COMMAND, IDCANCEL, 0);
    HWND frame = FindWindowA("RegEdit_RegEdit", nullptr);
    if (frame)
        PostMessageA(frame, WM_CLOSE, 0, 0);
    DeleteFileA(path.c_str());
    return 0;
}
