// Tests of the page row: where new pages go, the page limit, and the page commands.
#include "app/PageRow.h"

#include <gtest/gtest.h>

#include "platform/memory/MemoryCompoundFiles.h"
#include "platform/testing/FaultyFileSystem.h"

namespace sorbex {
namespace {

TEST(PageRowTest, PagesKeptForANewPage) {
    struct Case {
        std::size_t old;
        std::optional<int> limit;
        std::size_t kept;
    };
    const Case cases[] = {
        {0, 10, 0},           {3, 3, 2}, {2, 3, 2}, {9, 10, 9}, {12, 10, 9}, {5, 1, 0},
        {5, std::nullopt, 5}, {0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.old << " pages, limit " << c.limit.value_or(-1));
        EXPECT_EQ(c.kept, PagesKeptForNewPage(c.old, c.limit));
    }
    EXPECT_EQ(18, TabRowHeight(13));
}

class PageRowDocTest : public ::testing::Test {
protected:
    PageRowDocTest() : system_(kestrix::MakeSystemFileSystem()), fs_(*system_), doc_(fs_, files_) {
        EXPECT_TRUE(doc_.NewDocument());
    }

    // A search run's page: appended, given results, stored, then placed.
    void Search(const std::string& caption, std::optional<int> limit) {
        CFileFindDoc& page = doc_.AddPage(caption);
        auto result = std::make_unique<CSearchResult>();
        result->name = caption + ".txt";
        page.results.Add(std::move(result));
        PlaceNewPage(doc_, limit);
        EXPECT_TRUE(doc_.StorePageResults(*doc_.CurrentPage()));
    }

    std::string Row() {
        std::string row;
        for (std::size_t i = 0; i < doc_.size(); ++i)
            row += (i ? " " : "") + doc_[i].caption + (i == doc_.currentIndex() ? "*" : "");
        return row;
    }

    kestrix::MemoryCompoundFiles files_;
    std::unique_ptr<kestrix::FileSystem> system_;
    kestrix::FaultyFileSystem fs_;
    CTabDoc doc_;
};

TEST_F(PageRowDocTest, NewPagesGoLeftAndTheLimitDeletesFromTheRight) {
    Search("a", 3);
    Search("b", 3);
    Search("c", 3);
    EXPECT_EQ("c* b a", Row());
    Search("d", 3);
    EXPECT_EQ("d* c b", Row()) << "the two leftmost old pages stay";
    Search("e", std::nullopt);
    EXPECT_EQ("e* d c b", Row());
    Search("f", 1);
    EXPECT_EQ("f*", Row());
    EXPECT_TRUE(doc_.modified());
}

TEST_F(PageRowDocTest, DeleteShiftAndRename) {
    Search("a", std::nullopt);
    EXPECT_FALSE(DeleteCurrentPage(doc_)) << "the only page stays";
    Search("b", std::nullopt);
    Search("c", std::nullopt);
    ASSERT_EQ("c* b a", Row());
    EXPECT_FALSE(ShiftCurrentPage(doc_, true));
    EXPECT_TRUE(ShiftCurrentPage(doc_, false));
    EXPECT_EQ("b c* a", Row());
    EXPECT_TRUE(ShiftCurrentPage(doc_, false));
    EXPECT_EQ("b a c*", Row());
    EXPECT_FALSE(ShiftCurrentPage(doc_, false));
    EXPECT_TRUE(ShiftCurrentPage(doc_, true));
    EXPECT_EQ("b c* a", Row());

    EXPECT_TRUE(DeleteCurrentPage(doc_));
    EXPECT_EQ("b* a", Row()) << "the page to the left becomes current";
    EXPECT_TRUE(DeleteCurrentPage(doc_));
    EXPECT_EQ("a*", Row()) << "deleting the leftmost makes the new leftmost current";

    EXPECT_TRUE(RenamePage(doc_, 0, "renamed"));
    EXPECT_EQ("renamed*", Row());
    EXPECT_FALSE(RenamePage(doc_, 1, "none"));
}

} // namespace
} // namespace sorbex
