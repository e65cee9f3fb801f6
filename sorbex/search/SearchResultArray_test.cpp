// Tests of results: building one from a text, and the stored form of a result list.
#include "search/SearchResultArray.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "storage/ArchiveError.h"
#include "storage/ArchiveReader.h"
#include "storage/ArchiveWriter.h"

namespace sorbex {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The bytes of a golden hex file: pairs of hex digits, '#' to the end of a line ignored.
Bytes ReadHexFile(const std::string& name) {
    std::ifstream in(std::string(SORBEX_SEARCH_TESTDATA) + "/" + name);
    EXPECT_TRUE(in.good()) << name;
    Bytes bytes;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string word;
        while (words >> word)
            bytes.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
    }
    return bytes;
}

std::unique_ptr<CSearchResult> MakeResult(int start, int end, const std::string& excerpt,
                                          int excerptStart, int excerptEnd, int view, int count,
                                          const std::string& name, int flags) {
    auto r = std::make_unique<CSearchResult>();
    r->start = start;
    r->end = end;
    r->excerpt = excerpt;
    r->excerptStart = excerptStart;
    r->excerptEnd = excerptEnd;
    r->viewPosition = view;
    r->passageCount = count;
    r->dir = "C:\\d\\";
    r->name = name;
    r->flags = flags;
    return r;
}

CSearchResultArray TwoResults() {
    CSearchResultArray array;
    array.Add(MakeResult(10, 15, "a passage here", 2, 9, 100, 2, "a.txt",
                         kResultFirstOfFile | kResultConverted));
    array.Add(MakeResult(0, 0, "", 0, 0, 200, 1, "b.txt", 0));
    return array;
}

void ExpectSame(const CSearchResult& x, const CSearchResult& y) {
    EXPECT_EQ(x.start, y.start);
    EXPECT_EQ(x.end, y.end);
    EXPECT_EQ(x.excerpt, y.excerpt);
    EXPECT_EQ(x.excerptStart, y.excerptStart);
    EXPECT_EQ(x.excerptEnd, y.excerptEnd);
    EXPECT_EQ(x.viewPosition, y.viewPosition);
    EXPECT_EQ(x.passageCount, y.passageCount);
    EXPECT_EQ(x.dir, y.dir);
    EXPECT_EQ(x.name, y.name);
    EXPECT_EQ(x.flags, y.flags);
}

TEST(SearchResultTest, ConstructorKeepsThePlaceAndBuildsTheExcerpt) {
    const std::string text = "line one\n  find the needle here \nline three";
    const int start = static_cast<int>(text.find("needle"));
    const CSearchResult r(text.data(), text.size(), start, start + 6, "/d/", "f.txt");
    EXPECT_EQ(start, r.start);
    EXPECT_EQ(start + 6, r.end);
    EXPECT_EQ("find the needle here", r.excerpt);
    EXPECT_EQ(9, r.excerptStart);
    EXPECT_EQ(15, r.excerptEnd);
    EXPECT_EQ("/d/", r.dir);
    EXPECT_EQ("f.txt", r.name);
    EXPECT_EQ(0, r.flags);
}

TEST(SearchResultArrayTest, StoresTheGoldenBytes) {
    CArchiveWriter writer;
    TwoResults().Store(writer);
    EXPECT_EQ(ReadHexFile("two_results.hex"), writer.bytes());
}

TEST(SearchResultArrayTest, LoadsBackEveryField) {
    const CSearchResultArray original = TwoResults();
    const Bytes golden = ReadHexFile("two_results.hex");
    CArchiveReader reader(golden);
    CSearchResultArray loaded;
    loaded.Add(MakeResult(1, 2, "old", 0, 1, 0, 1, "old.txt", 0));
    loaded.Load(reader);
    ASSERT_EQ(original.size(), loaded.size()) << "loading replaces what the array held";
    for (std::size_t i = 0; i < original.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectSame(original[i], loaded[i]);
    }
    EXPECT_EQ(0u, reader.remaining());
}

TEST(SearchResultArrayTest, NullEntriesAreSkipped) {
    CArchiveWriter writer;
    writer.WriteCount(2);
    writer.WriteNullObject();
    writer.WriteObjectTag(CSearchResult::kClassName, CSearchResult::kSchema);
    MakeResult(1, 2, "x", 0, 1, 0, 1, "a", 0)->Store(writer);
    CArchiveReader reader(writer.bytes());
    CSearchResultArray loaded;
    loaded.Load(reader);
    ASSERT_EQ(1u, loaded.size());
    EXPECT_EQ("a", loaded[0].name);
}

TEST(SearchResultArrayTest, DamagedListsLeaveTheArrayEmpty) {
    const Bytes golden = ReadHexFile("two_results.hex");
    struct Case {
        const char* name;
        Bytes bytes;
    };
    Bytes secondVersion2 = golden;
    secondVersion2[82] = 2; // the second record's version
    Bytes otherClass = golden;
    otherClass[8] = 'X'; // "CSearchResult" becomes "XSearchResult"
    Bytes otherSchema = golden;
    otherSchema[4] = 2;
    Bytes reference = golden;
    reference[80] = 0x02; // the second tag names object 2 instead of class 1
    reference[81] = 0x00;
    Bytes countTooBig = golden;
    countTooBig[0] = 3;
    const Case cases[] = {
        {"truncated", Bytes(golden.begin(), golden.end() - 3)},
        {"count too big", countTooBig},
        {"second record of version 2", secondVersion2},
        {"another class", otherClass},
        {"another schema", otherSchema},
        {"a reference to an earlier result", reference},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CArchiveReader reader(c.bytes);
        CSearchResultArray loaded;
        loaded.Add(MakeResult(1, 2, "old", 0, 1, 0, 1, "old.txt", 0));
        EXPECT_THROW(loaded.Load(reader), CArchiveError);
        EXPECT_TRUE(loaded.empty());
    }
}

} // namespace
} // namespace sorbex
