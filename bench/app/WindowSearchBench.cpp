// Measures a search shown in Sorbex.exe's main window against the same search run by the
// command line, in one process: the window's time over the command line's, and the
// longest time the window went without painting while the run went on; then how long
// the window takes, idle, to put the rest of the page into its control. The window's
// time is broken down by the controls its messages went to, and the page's own text
// and its store are timed on their own.
#include "app/win32/MainFrame.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/ResultPageView.h"
#include "app/win32/FrameHarness.h"
#include "storage/ArchiveWriter.h"
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
    int sentPaints = 0; // of those, sent at once (UpdateWindow) rather than queued
    // Every message the run's pumping took from the queue, by window class and message.
    std::map<std::wstring, int> taken;
};
PaintLog gPaints;
HHOOK gHook = nullptr;

void NotePaint() {
    const Clock::time_point now = Clock::now();
    if (now - gPaints.last > gPaints.longestGap)
        gPaints.longestGap = now - gPaints.last;
    gPaints.last = now;
    ++gPaints.paints;
}

LRESULT CALLBACK OnMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && wParam == PM_REMOVE && gPaints.running) {
        wchar_t name[64] = L"(thread)";
        if (message->hwnd)
            GetClassNameW(message->hwnd, name, 64);
        ++gPaints.taken[name + (L" " + std::to_wstring(message->message))];
    }
    if (code >= 0 && wParam == PM_REMOVE && message->message == WM_PAINT && gPaints.running)
        NotePaint();
    return CallNextHookEx(gHook, code, wParam, lParam);
}

// Processor time of the whole process (every thread), in seconds.
double ProcessSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    auto value = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7;
    };
    return value(kernel) + value(user);
}

// Where the window's thread spent its time in messages sent to controls during the run:
// the outermost sent message counts, what it sends on the way is part of it.
enum Share { kStreamIn, kRichEditOther, kStatusBar, kProgressBar, kOtherWindows, kShares };
constexpr const char* kShareNames[kShares] = {
    "rich text streamed in (EM_STREAMIN)", "rich text: other messages (paint, scroll, find)",
    "status bar", "progress bar", "other windows"};
struct SendLog {
    bool running = false;
    int depth = 0;
    Share share = kOtherWindows;
    Clock::time_point start{};
    Clock::duration spent[kShares]{};
    int calls[kShares]{};
    std::wstring other; // the class of the other window being timed
    std::map<std::wstring, std::pair<Clock::duration, int>> others;
    std::vector<Clock::duration> streamIns; // each EM_STREAMIN in turn
};
SendLog gSends;
HHOOK gCallHook = nullptr;
HWND gFrame = nullptr; // its own messages hold the whole run: not counted
HHOOK gReturnHook = nullptr;

Share ShareOf(HWND window, UINT message) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    if (std::wstring(name).rfind(L"RICHEDIT", 0) == 0 || std::wstring(name).rfind(L"RichEdit", 0) == 0)
        return message == EM_STREAMIN ? kStreamIn : kRichEditOther;
    if (std::wstring(name) == STATUSCLASSNAMEW)
        return kStatusBar;
    if (std::wstring(name) == PROGRESS_CLASSW)
        return kProgressBar;
    return kOtherWindows;
}

LRESULT CALLBACK OnSend(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    // A paint sent at once (UpdateWindow after a refresh of the page) shows on the
    // screen as well as one taken from the queue.
    if (code >= 0 && gPaints.running && sent->message == WM_PAINT) {
        NotePaint();
        ++gPaints.sentPaints;
    }
    if (code >= 0 && gSends.running && sent->hwnd != gFrame && gSends.depth++ == 0) {
        gSends.share = ShareOf(sent->hwnd, sent->message);
        if (gSends.share == kOtherWindows) {
            wchar_t name[64] = L"";
            GetClassNameW(sent->hwnd, name, 64);
            gSends.other = name + (L" " + std::to_wstring(sent->message));
        }
        gSends.start = Clock::now();
    }
    return CallNextHookEx(gCallHook, code, wParam, lParam);
}

LRESULT CALLBACK OnReturn(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code >= 0 && gSends.running && sent->hwnd != gFrame && gSends.depth > 0 &&
        --gSends.depth == 0) {
        gSends.spent[gSends.share] += Clock::now() - gSends.start;
        ++gSends.calls[gSends.share];
        if (gSends.share == kStreamIn)
            gSends.streamIns.push_back(Clock::now() - gSends.start);
        if (gSends.share == kOtherWindows) {
            auto& other = gSends.others[gSends.other];
            other.first += Clock::now() - gSends.start;
            ++other.second;
        }
    }
    return CallNextHookEx(gReturnHook, code, wParam, lParam);
}

// Messages the run's pumping dispatched (not sent) to each window, timed in a subclass
// of every window of the frame: paints and timers that come from the queue. What such a
// message sends on the way counts here as well as in the sent messages above.
struct DispatchLog {
    int depth = 0;
    std::map<std::wstring, std::pair<Clock::duration, int>> spent;
};
DispatchLog gDispatches;

LRESULT CALLBACK TimedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR) {
    const bool timed = gPaints.running && gSends.depth == 0 && gDispatches.depth == 0 &&
                       !(window == gFrame && message == WM_COMMAND);
    if (!timed)
        return DefSubclassProc(window, message, wParam, lParam);
    ++gDispatches.depth;
    const Clock::time_point start = Clock::now();
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    auto& entry = gDispatches.spent[name + (L" id " + std::to_wstring(GetDlgCtrlID(window)) +
                                            L" " + std::to_wstring(message))];
    entry.first += Clock::now() - start;
    ++entry.second;
    --gDispatches.depth;
    return result;
}

BOOL CALLBACK TimeWindow(HWND window, LPARAM) {
    SetWindowSubclass(window, TimedProc, 1, 0);
    return TRUE;
}

// The page's text built again from the results, with nothing drawn: what the view's
// model and the result lines cost without the control.
class CountingSurface : public CPageSurface {
public:
    void Clear() override { length_ = 0; }
    void Append(const CRichTextBuilder& text) override {
        length_ += text.length();
        rtf_ += text.Document().size();
    }
    std::size_t Length() override { return length_; }
    std::size_t FindCounterMark(std::size_t) override { return kNoMark; }
    void Replace(std::size_t, std::size_t, const CRichTextBuilder&) override {}
    void Select(std::size_t, std::size_t) override {}
    void Refresh(bool) override {}
    std::size_t rtf() const { return rtf_; }

private:
    std::size_t length_ = 0;
    std::size_t rtf_ = 0;
};

void WriteTree(kestrix::TempTree& tree) {
    for (int f = 0; f < kFiles; ++f) {
        std::string text;
        for (int l = 0; l < kLinesPerFile; ++l)
            text += "Line " + std::to_string(l) + " of a grey page with some words after it.\n";
        tree.Write("file" + std::to_string(f) + ".txt", text);
    }
}

} // namespace

int main(int argc, char** argv) {
    // "--run-only" stops after the run, for a profiler's view of the run alone; "--bare"
    // runs it without the hooks and subclasses that time each message (each hooked
    // message costs the thread a round trip to the Wine server), for the run's own time;
    // it too stops after the run.
    bool runOnly = false;
    bool bare = false;
    for (int i = 1; i < argc; ++i) {
        runOnly = runOnly || std::string(argv[i]) == "--run-only";
        bare = bare || std::string(argv[i]) == "--bare";
    }
    CFrameHarness harness;
    kestrix::TempTree& tree = harness.tree;
    WriteTree(tree);

    // The command line, its page written to a string.
    std::ostringstream out;
    std::ostringstream err;
    const Clock::time_point cliStart = Clock::now();
    const double cliCpuStart = ProcessSeconds();
    const int status = RunCli({"search", kExpression, "-d", tree.root(), "-m", "*.txt"}, out, err);
    const double cli = Seconds(Clock::now() - cliStart);
    const double cliCpu = ProcessSeconds() - cliCpuStart;
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
    gFrame = frame->hwnd();
    if (!bare) {
        TimeWindow(gFrame, 0);
        EnumChildWindows(gFrame, TimeWindow, 0);
        gHook = SetWindowsHookExW(WH_GETMESSAGE, OnMessage, nullptr, GetCurrentThreadId());
        gCallHook = SetWindowsHookExW(WH_CALLWNDPROC, OnSend, nullptr, GetCurrentThreadId());
        gReturnHook =
            SetWindowsHookExW(WH_CALLWNDPROCRET, OnReturn, nullptr, GetCurrentThreadId());
    }
    const Clock::time_point windowStart = Clock::now();
    const double windowCpuStart = ProcessSeconds();
    gPaints.last = windowStart;
    gPaints.running = true;
    gSends.running = true;
    SendMessageW(frame->hwnd(), WM_COMMAND, MAKEWPARAM(ID_START_SEARCHING, 0), 0);
    // What the run left to be drawn counts as its time: the reader sees the page whole
    // only once it is drawn.
    RedrawWindow(frame->hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    gPaints.running = false;
    gSends.running = false;
    const double window = Seconds(Clock::now() - windowStart);
    const double windowCpu = ProcessSeconds() - windowCpuStart;
    if (!bare) {
        UnhookWindowsHookEx(gReturnHook);
        UnhookWindowsHookEx(gCallHook);
        UnhookWindowsHookEx(gHook);
    }
    std::printf("messages dispatched from the queue during the run (with what they send):\n");
    for (const auto& entry : gDispatches.spent)
        std::printf("    %-48ls %7.3f s in %d\n", entry.first.c_str(), Seconds(entry.second.first),
                    entry.second.second);
    if (runOnly || bare) {
        std::printf("window: %.3f s (processor %.3f s); command line %.3f s (processor %.3f s)\n",
                    window, windowCpu, cli, cliCpu);
        return 0;
    }
    // The window's own loop, until the page's text is all in the control.
    const Clock::time_point idleStart = Clock::now();
    // Each piece goes in on a timer tick: how long the ticks take tells whether putting
    // text in grows with the page's length.
    std::vector<double> ticks;
    MSG message{};
    while (frame->pageView().HasBacklog() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        const Clock::time_point tickStart = Clock::now();
        DispatchMessageW(&message);
        if (message.message == WM_TIMER)
            ticks.push_back(Seconds(Clock::now() - tickStart));
    }
    const double complete = Seconds(Clock::now() - idleStart);
    auto meanOf = [&ticks](std::size_t from, std::size_t to) {
        double sum = 0;
        for (std::size_t i = from; i < to; ++i)
            sum += ticks[i];
        return to > from ? sum / static_cast<double>(to - from) : 0.0;
    };
    const std::size_t fifth = ticks.size() / 5;
    const std::size_t found = frame->document().CurrentPage()
                                  ? frame->document().CurrentPage()->results.size()
                                  : 0;

    // The page's model and lines without the control, and its store, each on its own.
    double linesTime = 0;
    double storeTime = 0;
    double archiveTime = 0;
    std::size_t archiveBytes = 0;
    std::size_t rtfBytes = 0;
    if (CFileFindDoc* page = frame->document().CurrentPage()) {
        CountingSurface counting;
        CResultPageView view(counting);
        view.MemoOf(*page) = frame->pageView().MemoOf(*page);
        const Clock::time_point linesStart = Clock::now();
        view.Render(*page, [](const CSearchResult&) { return CFileFacts(); });
        view.Complete();
        linesTime = Seconds(Clock::now() - linesStart);
        rtfBytes = counting.rtf();
        const Clock::time_point archiveStart = Clock::now();
        CArchiveWriter archive;
        page->results.Store(archive);
        archiveTime = Seconds(Clock::now() - archiveStart);
        archiveBytes = archive.bytes().size();
        const Clock::time_point storeStart = Clock::now();
        frame->document().StorePageResults(*page);
        storeTime = Seconds(Clock::now() - storeStart);
    }

    std::printf("passages: %zu in %d files\n", found, kFiles);
    std::printf("command line: %.3f s (processor %.3f s)\n", cli, cliCpu);
    std::printf("window: %.3f s (processor %.3f s; %.2f times the command line, %.2f in processor time)\n",
                window, windowCpu, window / cli, cliCpu > 0 ? windowCpu / cliCpu : 0.0);
    std::printf("the window's run, by the controls its messages went to (wall clock):\n");
    double sent = 0;
    for (int share = 0; share < kShares; ++share) {
        sent += Seconds(gSends.spent[share]);
        std::printf("  %-50s %7.3f s in %d messages\n", kShareNames[share],
                    Seconds(gSends.spent[share]), gSends.calls[share]);
    }
    std::printf("    each stream-in in turn:");
    for (const Clock::duration& streamIn : gSends.streamIns)
        std::printf(" %.0f ms", Seconds(streamIn) * 1000);
    std::printf("\n");
    for (const auto& other : gSends.others)
        if (Seconds(other.second.first) >= 0.01)
            std::printf("    %-48ls %7.3f s in %d messages\n", other.first.c_str(),
                        Seconds(other.second.first), other.second.second);
    std::printf("  %-50s %7.3f s\n", "the rest (search, page model, store, pumping)",
                window - sent);
    std::printf("the whole page's model and lines alone: %.3f s (%zu bytes of RTF)\n",
                linesTime, rtfBytes);
    std::printf("the page stored into the result file alone: %.3f s (its %zu bytes built in %.3f s)\n",
                storeTime, archiveBytes, archiveTime);
    std::printf("paints during the run: %d (%d of them sent at once), longest gap %.0f ms\n",
                gPaints.paints, gPaints.sentPaints, Seconds(gPaints.longestGap) * 1000);
    std::printf("messages the run took from the queue (window class, message):\n");
    for (const auto& taken : gPaints.taken)
        std::printf("    %-48ls %d\n", taken.first.c_str(), taken.second);
    std::printf("the rest of the page, fed in while idle: %.3f s in %zu pieces\n", complete,
                ticks.size());
    if (fifth > 0)
        std::printf("  a piece took %.0f ms in the first fifth, %.0f ms in the last, longest %.0f ms\n",
                    meanOf(0, fifth) * 1000, meanOf(ticks.size() - fifth, ticks.size()) * 1000,
                    *std::max_element(ticks.begin(), ticks.end()) * 1000);
    return 0;
}
