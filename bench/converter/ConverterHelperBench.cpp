// converterhelperbench: what running the converters in the helper process costs per
// file. Converts the same files with our test converter loaded into this process and
// loaded in the helper (started once), as a search loads them (load, initialise, check,
// convert, unload, for each file), and times a helper's start and first answer. Prints
// the median of the runs in microseconds per file.
//
// Usage (Windows): converterhelperbench [files=200] [runs=5] [kilobytes per file=8]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "text/TextConverterList.h"
#include "text/win32/Win32HelperLink.h"

namespace {

using Clock = std::chrono::steady_clock;

double Microseconds(Clock::duration elapsed) {
    return std::chrono::duration<double, std::micro>(elapsed).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path; // Wine shows the build tree on Z:
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// `count` files of about `bytes` each in a new folder under the temporary one.
std::vector<std::string> MakeFiles(std::size_t count, std::size_t bytes) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string dir =
        std::string(temp) + "convbench" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string text = "KTCV\n";
    while (text.size() < bytes)
        text += "a line of text that the converter turns into one paragraph\n";
    std::vector<std::string> files;
    for (std::size_t i = 0; i < count; ++i) {
        files.push_back(dir + "file" + std::to_string(i) + ".ktc");
        HANDLE file = CreateFileA(files.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    return files;
}

void RemoveFiles(const std::vector<std::string>& files) {
    for (const std::string& file : files)
        DeleteFileA(file.c_str());
    if (!files.empty())
        RemoveDirectoryA(files[0].substr(0, files[0].rfind('\\')).c_str());
}

// Microseconds per file for converting every file once through `loader`.
double PerFile(sorbex::CConverterLoader& loader, const std::string& library,
               const std::vector<std::string>& files) {
    sorbex::CTextConverterList list;
    list.Add(std::make_unique<sorbex::CTextConverter>(loader, library, "bench", "ktc"));
    const Clock::time_point start = Clock::now();
    std::string rtf;
    for (const std::string& file : files) {
        bool applied = false;
        if (!list.ConvertFile(file, file.substr(file.rfind('\\') + 1), rtf, applied)) {
            std::fprintf(stderr, "converterhelperbench: %s was not converted\n", file.c_str());
            std::exit(1);
        }
    }
    return Microseconds(Clock::now() - start) / static_cast<double>(files.size());
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t files = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 200;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::size_t kilobytes = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 8;
    const std::string library = WindowsPath(KESTRIX_TESTCONVERTER_DLL);
    const std::string helperPath = sorbex::FindConverterHelper();
    if (files == 0 || runs <= 0 || helperPath.empty()) {
        std::fprintf(stderr, "converterhelperbench: needs files, runs and %s\n",
                     "sorbexconv.exe beside it");
        return 2;
    }
    const std::vector<std::string> paths = MakeFiles(files, kilobytes * 1024);

    std::vector<double> inProcess;
    std::vector<double> helper;
    std::vector<double> starts;
    const std::unique_ptr<sorbex::CConverterLoader> here = sorbex::MakeInProcessConverterLoader();
    for (int run = 0; run < runs; ++run) {
        inProcess.push_back(PerFile(*here, library, paths));
        // A new helper each run: its start counts towards the first file, as in a search.
        const std::unique_ptr<sorbex::CConverterLoader> there =
            sorbex::MakeHelperConverterLoader(helperPath, sorbex::CHelperLimits());
        helper.push_back(PerFile(*there, library, paths));

        sorbex::CWin32HelperLink link(helperPath);
        const Clock::time_point start = Clock::now();
        sorbex::CHelperFrame answer;
        if (!link.Start() || !link.Write(sorbex::EncodeHelperFrame(sorbex::CHelperKind::Unload, {})) ||
            sorbex::ReadHelperFrame(link, 0, 10000, answer) != sorbex::CLinkStatus::Ok) {
            std::fprintf(stderr, "converterhelperbench: the helper did not answer\n");
            return 1;
        }
        starts.push_back(Microseconds(Clock::now() - start));
        link.Stop();
    }
    RemoveFiles(paths);

    const double a = Median(inProcess);
    const double b = Median(helper);
    std::printf("files %zu of %zu KB, runs %d (medians)\n", files, kilobytes, runs);
    std::printf("in this process      %10.1f us per file\n", a);
    std::printf("in the helper        %10.1f us per file\n", b);
    std::printf("helper's extra cost  %10.1f us per file (%.0f%%)\n", b - a,
                a > 0 ? (b - a) * 100 / a : 0.0);
    std::printf("helper start, first answer %8.1f us\n", Median(starts));
    return 0;
}
