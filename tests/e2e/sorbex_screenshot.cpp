// Takes the picture of Sorbex.exe's main window that the README shows: a search of the
// sample texts with the first result current. scripts/sorbex-screenshot runs it under
// Wine and Xvfb and turns the pixmap it writes into the README's image.
#include <windows.h>

#include <cstdio>
#include <string>

#include "E2eChecks.h"
#include "PaintedCheck.h"
#include "SorbexDriver.h"

namespace {

constexpr int kLeft = 16;
constexpr int kTop = 16;
constexpr int kWidth = 960;
constexpr int kHeight = 680;
constexpr int kAside = -4000; // off the screen
} // namespace

int main(int argc, char** argv) {
    using namespace e2e;
    if (argc < 4) {
        std::printf("usage: sorbex_screenshot Sorbex.exe SAMPLES PICTURE.ppm\n");
        return 2;
    }
    const std::string sorbex = WindowsPath(argv[1]);
    const std::string samples = WindowsPath(argv[2]);
    const std::string picture = WindowsPath(argv[3]);

    // A fresh profile: no window placed where an earlier run left it.
    RemoveProfiles();
    Program program = StartProgram("\"" + sorbex + "\"");
    Check(program.process != nullptr, "Sorbex.exe started");
    HWND frame = nullptr;
    WaitFor(kSorbexStartTimeoutMs, [&] { return (frame = FindWindowOf(program.id, kFrameClass)); });
    Check(frame != nullptr, "the main window is up");
    if (!frame)
        return ExitCode();
    SetWindowPos(frame, nullptr, kLeft, kTop, kWidth, kHeight, SWP_NOZORDER);
    Check(!RunSearch(frame, "colou?r", "*.txt | *.c", samples).empty(),
          "the search ended with its closing line");
    // F8 selects the first result and shows its file in the viewer, which stands above
    // the main window it belongs to; the picture is of the main window, so the viewer
    // moves out of the way.
    PostMessageA(frame, WM_COMMAND, kNextFileCommand, 0);
    HWND viewer = nullptr;
    WaitFor(kSorbexStartTimeoutMs,
            [&] { return (viewer = FindWindowOf(program.id, kViewerClass, frame)); });
    if (viewer)
        SetWindowPos(viewer, nullptr, kAside, kAside, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    std::string seen;
    const bool painted = LooksPainted(frame, &seen);
    Check(painted, "the main window is painted (" + seen + ")");
    Check(SaveWindowPicture(frame, picture), "the picture is written to " + picture);

    // The search changed the document; closing without keeping it.
    const bool asked = CloseAnsweringNo(program, frame);
    const int code = WaitForExit(program, kSorbexStartTimeoutMs);
    Check(code == 0, "Sorbex.exe ended (" + std::to_string(code) + (asked ? ", asked" : "") + ")");
    return ExitCode();
}
