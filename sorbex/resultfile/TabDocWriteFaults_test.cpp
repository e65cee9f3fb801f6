// The result file when the disk fills up in the middle of saving it: the file on the
// disk stays as it was, whole and readable, and the user is told.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <string>

#include "platform/CompoundStorage.h"
#include "platform/testing/FileSizeLimit.h"
#include "platform/testing/TempTree.h"
#include "resultfile/PageList.h"
#include "resultfile/TabDoc.h"
#include "storage/ArchiveError.h"
#include "storage/ArchiveReader.h"
#include "storage/StorageUiRecorder.h"
#include "storage/StreamIo.h"
#include "strings/SorbexStrings.h"
#include "strings/StringIds.h"

namespace sorbex {
namespace {

using kestrix::FileBytes;

std::unique_ptr<CSearchResult> Result(const std::string& name) {
    auto r = std::make_unique<CSearchResult>();
    r->start = 1;
    r->end = 4;
    r->excerpt = "an excerpt of " + name;
    r->excerptEnd = 3;
    r->passageCount = 1;
    r->dir = "/data/";
    r->name = name;
    return r;
}

// The number of results the file holds for its page `index`, read as another program
// would while the document is open; -1 when anything cannot be read.
long SavedResults(const std::string& path, std::size_t index) {
    namespace Mode = kestrix::StorageMode;
    std::unique_ptr<kestrix::Storage> root;
    std::unique_ptr<kestrix::StorageStream> stream;
    std::vector<std::uint8_t> bytes;
    CPageList pages;
    if (kestrix::SystemCompoundFiles().Open(
            path, Mode::kRead | Mode::kShareDenyNone | Mode::kTransacted, root) ||
        root->OpenStream("Index", Mode::kRead | Mode::kShareExclusive, stream) ||
        ReadWholeStream(*stream, bytes) || !ReadPageList(bytes.data(), bytes.size(), pages) ||
        index >= pages.pages.size())
        return -1;
    stream.reset();
    bytes.clear();
    CSearchResultArray results;
    if (root->OpenStream(pages.pages[index].streamName, Mode::kRead | Mode::kShareExclusive,
                         stream) ||
        ReadWholeStream(*stream, bytes))
        return -1;
    try {
        CArchiveReader archive(bytes.data(), bytes.size());
        results.Load(archive);
    } catch (const CArchiveError&) {
        return -1;
    }
    return static_cast<long>(results.size());
}

void AddPage(CTabDoc& doc, const std::string& caption, int results) {
    CFileFindDoc& page = doc.AddPage(caption);
    for (int i = 0; i < results; ++i)
        page.results.Add(Result(caption + std::to_string(i)));
    ASSERT_TRUE(doc.StorePageResults(page));
}

TEST(TabDocWriteFaultsTest, AResultFileSaveCutOffAnywhereKeepsTheSavedFileAndSaysSo) {
    kestrix::TempTree tree;
    const auto fs = kestrix::MakeSystemFileSystem();
    const std::string path = tree.Path("results.sbx");
    CStorageUiRecorder ui;
    CTabDoc doc(*fs, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(doc.NewDocument());
    AddPage(doc, "saved", 30);
    ASSERT_TRUE(doc.SaveDocument(path, ui));
    const std::string saved = FileBytes(path);
    AddPage(doc, "unsaved", 300);

    int cuts = 0;
    for (rlim_t cut = 0;; cut += kestrix::kWriteCutStep) {
        ui.events.clear();
        bool ok = false;
        {
            kestrix::FileSizeLimit limit(cut);
            ASSERT_TRUE(limit.active());
            ok = doc.SaveDocument(path, ui);
        }
        if (ok)
            break;
        SCOPED_TRACE(cut);
        ++cuts;
        // The reason is the system's: a write beyond the limit is a full disk to it.
        EXPECT_EQ(std::vector<std::string>{"error " + ResultFileFailureText(
                                                          IDS_FAILED_TO_SAVE_DOCUMENT, path,
                                                          kestrix::MakeOsError(
                                                              "", path, kestrix::StorageError::kMediumFull))},
                  ui.events);
        ASSERT_EQ(saved, FileBytes(path));
        // Readable beside the document, which keeps others from writing only.
        EXPECT_EQ(30, SavedResults(path, 0));
    }
    EXPECT_GT(cuts, 20) << "the save was cut at too few places to test anything";
    EXPECT_TRUE(ui.events.empty());
    EXPECT_EQ(30, SavedResults(path, 0));
    EXPECT_EQ(300, SavedResults(path, 1));
}

} // namespace
} // namespace sorbex
#endif
