// A long session in the real main window under Wine, created in this process: repeated
// searches, replacements and page closes must leave the process's handles, GDI objects
// and windows where the first rounds left them.
#include "app/win32/MainFrame.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iostream>

#include "app/win32/FrameHarness.h"
#include "platform/testing/ProcessUsage.h"

namespace sorbex {
namespace {

constexpr int kWarmUpRounds = 20;
constexpr int kRounds = 60;

// The GDI objects of the process. Where the system does not count them (Wine), every
// slot of its handle table is asked for an object: a handle without its upper half
// names the slot whatever object holds it now.
DWORD GdiObjects() {
    if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return counted;
    DWORD live = 0;
    for (std::uintptr_t slot = 1; slot < 0x10000; ++slot)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0)
            ++live;
    return live;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

// A top-level window and all its descendants, which EnumChildWindows reaches at once.
BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    EnumChildWindows(window, &CountChild, count);
    return TRUE;
}

// The USER objects of the process; where the system does not count them, its windows.
DWORD UserObjects() {
    if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))
        return counted;
    DWORD windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

struct Usage {
    DWORD handles = 0;
    std::uintptr_t handleReach = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
};

Usage Measure() {
    Usage usage;
    GetProcessHandleCount(GetCurrentProcess(), &usage.handles);
    usage.handleReach = kestrix::HandleReach();
    usage.gdiObjects = GdiObjects();
    usage.userObjects = UserObjects();
    return usage;
}

TEST(MainFrameLongRunTest, SearchesReplacementsAndPageClosesLeaveNoHandlesOrObjectsBehind) {
    CFrameHarness harness;
    harness.tree.Write("Alpha.txt", "The grey cat sat.\nA grey dog ran.\n");
    harness.tree.Write("Beta.htm", "<p>Azure sky over <b>dog</b> roofs.</p>\n");
    harness.tree.Write("Gamma.txt", "nothing to see\n");
    CUserDialogsScript& dialogs = harness.dialogs;
    CMainFrame frame(harness.context);
    ASSERT_NE(nullptr, frame.Open(SW_SHOWNORMAL, ""));
    const auto command = [&](WORD id) { SendFrameCommand(frame, id); };
    const auto run = [&](const char* expression) {
        RunFrameSearch(frame, harness.tree.root(), expression, "*");
    };
    const auto pages = [&] {
        return SendMessageW(frame.tabView().pageRow(), TCM_GETITEMCOUNT, 0, 0);
    };

    Usage warm;
    for (int round = 1; round <= kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // There and back again, so that every round has passages to replace.
        const bool back = round % 2 == 0;
        const char* from = back ? "blue" : "grey";
        run("cat|sky|dog");
        run(from);
        ASSERT_EQ(2u, frame.document().CurrentPage()->results.size());

        frame.propertyBar().ActivatePage(CDefinitionPageKind::Replace);
        frame.propertyBar().replacePage().SetValues({back ? "grey" : "blue", 0});
        dialogs.confirmations = {{CReplaceAnswer::Yes, true}}; // Replace All
        run(from);
        frame.propertyBar().ActivatePage(CDefinitionPageKind::Search);
        ASSERT_TRUE(dialogs.confirmations.empty());

        while (pages() > 1)
            command(ID_DELETE_PAGE);
        if (round == kWarmUpRounds)
            warm = Measure();
    }
    const Usage last = Measure();
    std::cout << "handles " << warm.handles << " -> " << last.handles << ", reach "
              << warm.handleReach << " -> " << last.handleReach << ", GDI " << warm.gdiObjects
              << " -> " << last.gdiObjects << ", USER " << warm.userObjects << " -> "
              << last.userObjects << "\n";
    EXPECT_LE(last.handles, warm.handles);
    EXPECT_LE(last.handleReach, warm.handleReach);
    EXPECT_LE(last.gdiObjects, warm.gdiObjects);
    EXPECT_LE(last.userObjects, warm.userObjects);
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ("The grey cat sat.\nA grey dog ran.\n", harness.tree.Read("Alpha.txt"));
}

} // namespace
} // namespace sorbex
