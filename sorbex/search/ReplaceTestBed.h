// For tests of replacement walks: a scratch tree on the real disk behind a file system
// that can be made to fail, a scripted user, a profile in memory, and the page to walk.
#pragma once

#include <memory>

#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"
#include "search/ReplacePassages.h"
#include "search/ReplaceUiRecorder.h"

namespace sorbex {

struct CReplaceTestBed {
    // The warning before the first replacement is taken as already turned off.
    CReplaceTestBed() { profile.values["Options/NoReplaceWarning"] = 1; }
    CReplaceTestBed(const CReplaceTestBed&) = delete;
    CReplaceTestBed& operator=(const CReplaceTestBed&) = delete;

    kestrix::TempTree tree;
    std::unique_ptr<kestrix::FileSystem> real = kestrix::MakeSystemFileSystem();
    kestrix::FaultyFileSystem fs{*real};
    CRunFlags state;
    CReplaceUiRecorder ui{state.quitRequested};
    CMemoryProfile profile;
    CReplaceContext context{ui, profile, fs, state};
    CSearchResultArray page;
};

} // namespace sorbex
