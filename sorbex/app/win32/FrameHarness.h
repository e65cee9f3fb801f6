// For the window tests and the window benchmark: what a main window of this process
// needs around it, on a scratch tree, and a search started from its "Search" page.
#pragma once

#include <memory>
#include <string>

#include "app/UserDialogsScript.h"
#include "app/win32/MainFrame.h"
#include "app/win32/SorbexIds.h"
#include "platform/testing/TempTree.h"

namespace sorbex {

// The real disk, clock and compound files, a profile in memory and dialogs answered
// from a script, bound into the context a main window is opened with.
struct CFrameHarness {
    CFrameHarness() {
        context.instance = GetModuleHandleW(nullptr);
        context.fs = fs.get();
        context.clock = clock.get();
        context.files = &kestrix::SystemCompoundFiles();
        context.profile = &profile;
        context.dialogs = &dialogs;
    }
    CFrameHarness(const CFrameHarness&) = delete;
    CFrameHarness& operator=(const CFrameHarness&) = delete;

    kestrix::TempTree tree;
    std::unique_ptr<kestrix::FileSystem> fs = kestrix::MakeSystemFileSystem();
    std::unique_ptr<kestrix::Clock> clock = kestrix::MakeSteadyClock();
    CMemoryProfileStore store;
    CProfile profile{store};
    CUserDialogsScript dialogs;
    CFrameContext context;
};

// The command `id`, sent as the menu sends it.
inline LRESULT SendFrameCommand(CMainFrame& frame, WORD id) {
    return SendMessageW(frame.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

// Fills the "Search" page with a search of `expression` over `directory`.
inline void SetFrameSearch(CMainFrame& frame, const std::string& directory,
                           const std::string& expression, const std::string& mask) {
    CSearchPageValues values;
    values.expression = expression;
    values.fileMask = mask;
    values.directory = directory;
    frame.propertyBar().searchPage().SetValues(values);
}

// A search from the "Search" page, run to its closing line (the run pumps the queue
// itself and returns when it has ended).
inline void RunFrameSearch(CMainFrame& frame, const std::string& directory,
                           const std::string& expression, const std::string& mask) {
    SetFrameSearch(frame, directory, expression, mask);
    SendFrameCommand(frame, ID_START_SEARCHING);
}

} // namespace sorbex
