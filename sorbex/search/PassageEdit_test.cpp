// Tests of the check that a file still holds a passage, and of the bytes put in its place.
#include "search/PassageEdit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/testing/TempTree.h"
#include "text/CleanText.h"

namespace sorbex {
namespace {

// A literal with its embedded NULs.
template <std::size_t N> std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

// The result the search would have recorded for [start, end) of a file holding `bytes`.
CSearchResult ResultFor(const std::string& bytes, int start, int end, const std::string& dir,
                        const std::string& name) {
    std::string text = bytes;
    CleanText(text.data(), text.size());
    return CSearchResult(text.data(), text.size(), start, end, dir, name);
}

TEST(FileStillHoldsPassageTest, ComparesTheCleanedBytesWithTheExcerpt) {
    const std::string searched = Bytes("ab\r\nx\0y\tz end");
    const CSearchResult passage = ResultFor(searched, 2, 9, "", "f"); // "\r\nx\0y\tz"
    const std::string longLine(2000, 'q');
    const CSearchResult longPassage = ResultFor(longLine, 100, 1500, "", "f");
    struct Case {
        const char* what;
        std::string bytes;
        const CSearchResult& result;
        bool holds;
    };
    const Case cases[] = {
        {"unchanged, control bytes and CR match their cleaned form", searched, passage, true},
        {"a byte inside the passage changed", Bytes("ab\r\nX\0y\tz end"), passage, false},
        {"bytes outside the passage changed", Bytes("AB\r\nx\0y\tz END"), passage, true},
        {"the passage moved by one byte", Bytes(" ab\r\nx\0y\tz end"), passage, false},
        {"the file now ends inside the passage", Bytes("ab\r\nx\0"), passage, false},
        {"the file is empty", "", passage, false},
        {"a long passage is checked as far as the excerpt holds it", longLine, longPassage, true},
        {"a long passage changed within what the excerpt holds",
         std::string(300, 'q') + "Q" + std::string(1699, 'q'), longPassage, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FileStillHoldsPassage(c.bytes, c.result), c.holds);
    }
}

class PassageEditTest : public ::testing::Test {
protected:
    kestrix::TempTree tree;
    std::unique_ptr<kestrix::FileSystem> fs = kestrix::MakeSystemFileSystem();
};

TEST_F(PassageEditTest, WritesOnlyThePassageAndKeepsEveryOtherByte) {
    const std::string before = Bytes("\x80\xff\0head\r\nold\r\ntail\0\xe9");
    tree.Write("f.bin", before);
    const CSearchResult r = ResultFor(before, 9, 12, tree.root(), "f.bin");

    const CPassageEdit edit = ReplacePassageInFile(*fs, r, "brand-new");

    EXPECT_EQ(edit.status, CPassageEditStatus::Replaced);
    EXPECT_EQ(edit.delta, 6);
    EXPECT_EQ(tree.Read("f.bin"), Bytes("\x80\xff\0head\r\nbrand-new\r\ntail\0\xe9"));
}

} // namespace
} // namespace sorbex
