// Measures a search shown in Sorbex.exe's main window against the same search run by the
// command line, in one process: the window's time over the command line's, and the
// longest time the window went without painting while the run went on; then how long
// the window takes, idle, to put the rest of the page into its control.
#include "app/win32/MainFrame.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/win32/FrameHarness.h"
#include "app/win32/SorbexIds.h"
#include "cli/SearchCommand.h"
#include "platform/CompoundStorage.h"

namespace {

using namespace sorbex;
using Clock = std::chrono::steady_clock;

constexpr int kFiles = 200;
constexpr int kLinesPerFile = 100; // one passage a line: 20,000 passages in all
constexpr const char* kExpression = "grey";

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The paints of the thread's windows while a run goes on, seen as they are taken from
// the queue (a run pumps the queue itself).
struct PaintLog {
    bool running = false;
    Clock::time_point last{};
    Clock::duration longestGap{};
    int paints = 0;
};
PaintLog gPaints;
HHOOK gHook = nullptr;

LRESULT CALLBACK OnMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && wParam == PM_REMOVE && message->message == WM_PAINT && gPaints.running) {
        const Clock::time_point now = Clock::now();
        if (now - gPaints.last > gPaints.longestGap)
            gPaints.longestGap = now - gPaints.last;
        gPaints.last = now;
        ++gPaints.paints;
    }
    return CallNextHookEx(gHook, code, wParam, lParam);
}

void WriteTree(kestrix::TempTree& tree) {
    for (int f = 0; f < kFiles; ++f) {
        std::string text;
        for (int l = 0; l < kLinesPerFile; ++l)
            text += "Line " + std::to_string(l) + " of a grey page with some words after it.\n";
        tree.Write("file" + std::to_string(f) + ".txt", text);
    }
}

} // namespace

int main() {
    CFrameHarness harness;
    kestrix::TempTree& tree = harness.tree;
    WriteTree(tree);

    // The command line, its page written to a string.
    std::ostringstream out;
    std::ostringstream err;
    const Clock::time_point cliStart = Clock::now();
    const int status = RunCli({"search", kExpression, "-d", tree.root(), "-m", "*.txt"}, out, err);
    const double cli = Seconds(Clock::now() - cliStart);
    if (status != kExitFound) {
        std::printf("the command line failed (%d): %s\n", status, err.str().c_str());
        return 1;
    }

    // The window, from Start to the closing line.
    auto frame = std::make_unique<CMainFrame>(harness.context);
    if (!frame->Open(SW_SHOWNORMAL, "")) {
        std::printf("the main window did not open\n");
        return 1;
    }
    SetFrameSearch(*frame, tree.root(), kExpression, "*.txt");
    gHook = SetWindowsHookExW(WH_GETMESSAGE, OnMessage, nullptr, GetCurrentThreadId());
    const Clock::time_point windowStart = Clock::now();
    gPaints.last = windowStart;
    gPaints.running = true;
    SendMessageW(frame->hwnd(), WM_COMMAND, MAKEWPARAM(ID_START_SEARCHING, 0), 0);
    gPaints.running = false;
    const double window = Seconds(Clock::now() - windowStart);
    UnhookWindowsHookEx(gHook);
    // The window's own loop, until the page's text is all in the control.
    const Clock::time_point idleStart = Clock::now();
    MSG message{};
    while (frame->pageView().HasBacklog() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    const double complete = Seconds(Clock::now() - idleStart);
    const std::size_t found = frame->document().CurrentPage()
                                  ? frame->document().CurrentPage()->results.size()
                                  : 0;

    std::printf("passages: %zu in %d files\n", found, kFiles);
    std::printf("command line: %.3f s\n", cli);
    std::printf("window: %.3f s (%.2f times the command line)\n", window, window / cli);
    std::printf("paints during the run: %d, longest gap %.0f ms\n", gPaints.paints,
                Seconds(gPaints.longestGap) * 1000);
    std::printf("the rest of the page, fed in while idle: %.3f s\n", complete);
    return 0;
}
