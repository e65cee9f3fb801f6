// Tests of the profile's encodings and of every setting's key, kind and default.
#include "app/AppSettings.h"

#include <gtest/gtest.h>

#include "app/DefinitionPages.h"
#include "app/History.h"
#include "app/RecentFiles.h"

namespace sorbex {
namespace {

class ProfileTest : public ::testing::Test {
protected:
    std::string Stored(const char* section, const std::string& key) {
        std::string value;
        return store_.Read(section, key, value) ? value : "<missing>";
    }

    CMemoryProfileStore store_;
    CProfile profile_{store_};
    CAppSettings settings_{profile_};
};

TEST(ProfileEncodingTest, Numbers) {
    struct Case {
        const char* text;
        bool readable;
        long value;
    };
    const Case cases[] = {
        {"0", true, 0},    {"42", true, 42}, {"-3", true, -3},   {" 7 ", true, 7},
        {"+5", true, 5},   {"", false, 0},   {"abc", false, 0},  {"12abc", false, 0},
        {"1.5", false, 0}, {"-", false, 0},  {"0x10", false, 0}, {"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        long value = 12345;
        EXPECT_EQ(c.readable, ParseProfileNumber(c.text, value));
        if (c.readable) {
            EXPECT_EQ(c.value, value);
        }
    }
}

TEST(ProfileEncodingTest, DoublesAndNumberLists) {
    EXPECT_EQ("0.380000", FormatProfileDouble(0.38));
    double d = 0;
    EXPECT_TRUE(ParseProfileDouble("0.5", d));
    EXPECT_DOUBLE_EQ(0.5, d);
    for (const char* bad : {"", " ", "half", "0.5x", "nan", "inf"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseProfileDouble(bad, d));
    }

    EXPECT_EQ("1134,1134,-1,0", FormatNumberList({1134, 1134, -1, 0}));
    struct Case {
        const char* text;
        bool complete;
    };
    const Case lists[] = {
        {"1,2,3,4", true}, {"1, 2 ,3,4", true}, {"1,2,3", false}, {"1,2,3,4,5", false},
        {"1,2,,4", false}, {"1,2,3,x", false},  {"", false},      {"1,2,3,4,", false},
    };
    for (const Case& c : lists) {
        SCOPED_TRACE(c.text);
        std::vector<long> values = {9, 9, 9, 9};
        EXPECT_EQ(c.complete, ParseNumberList(c.text, 4, values));
        if (!c.complete) {
            EXPECT_EQ((std::vector<long>{9, 9, 9, 9}), values) << "untouched";
        }
    }
}

TEST(ProfileEncodingTest, PlacementNeedsAllTenNumbers) {
    CWindowPlacementValue p;
    p.flags = 2;
    p.showCommand = 3;
    p.minX = -1;
    p.minY = -1;
    p.maxX = -8;
    p.maxY = -30;
    p.left = 10;
    p.top = 20;
    p.right = 810;
    p.bottom = 620;
    EXPECT_EQ("2,3,-1,-1,-8,-30,10,20,810,620", FormatPlacement(p));
    CWindowPlacementValue read;
    ASSERT_TRUE(ParsePlacement(FormatPlacement(p), read));
    EXPECT_EQ(p, read);
    for (const char* bad : {"2,3,-1,-1,-8,-30,10,20,810", "", "-2,3,0,0,0,0,0,0,0,0",
                            "2,3,0,0,0,0,0,0,0,99999999999"}) {
        SCOPED_TRACE(bad);
        CWindowPlacementValue untouched;
        EXPECT_FALSE(ParsePlacement(bad, untouched));
    }
}

TEST_F(ProfileTest, OptionsDefaultsAndTabLimitRule) {
    EXPECT_FALSE(settings_.DontUseFileViewer());
    EXPECT_TRUE(settings_.AutoLoad());
    EXPECT_TRUE(settings_.LimitTabs());
    EXPECT_EQ(10, settings_.TabLimit());
    EXPECT_TRUE(settings_.UseInternalFilter());
    EXPECT_TRUE(settings_.UseExternalFilter());
    EXPECT_EQ(0, profile_.GetInt("Options", "NoReplaceWarning", 0));
    EXPECT_FALSE(settings_.Gif());
    EXPECT_EQ(std::optional<int>(10), settings_.PageLimit());
    EXPECT_EQ(CEncodingChoice::Auto, settings_.Encoding());
    settings_.SetEncoding(CEncodingChoice::Utf16Be);
    EXPECT_EQ("utf-16be", Stored("Options", "Encoding"));
    EXPECT_EQ(CEncodingChoice::Utf16Be, settings_.Encoding());
    store_.Write("Options", "Encoding", "klingon");
    EXPECT_EQ(CEncodingChoice::Auto, settings_.Encoding()) << "unknown names read as auto";

    struct Case {
        const char* stored;
        int limit;
    };
    const Case limits[] = {{"0", 1},      {"1", 1},      {"3", 3},    {"999", 999},
                           {"1000", 999}, {"5000", 999}, {"-3", 999}, {"junk", 10}};
    for (const Case& c : limits) {
        SCOPED_TRACE(c.stored);
        store_.Write("Options", "TabLimit", c.stored);
        EXPECT_EQ(c.limit, settings_.TabLimit());
    }
    settings_.SetLimitTabs(false);
    EXPECT_EQ("0", Stored("Options", "LimitTabs")) << "written at once";
    EXPECT_EQ(std::nullopt, settings_.PageLimit());

    // The options page's field.
    EXPECT_EQ(1, ClampTabLimitField(0));
    EXPECT_EQ(1, ClampTabLimitField(-5));
    EXPECT_EQ(998, ClampTabLimitField(998));
    EXPECT_EQ(999, ClampTabLimitField(1000));
}

TEST_F(ProfileTest, UndoLimitsAreReadAsTheJournalReadsThemAndClampedOnThePage) {
    EXPECT_EQ(5, settings_.UndoWalks());
    EXPECT_EQ(100, settings_.UndoMegabytes());
    struct StoredLimits {
        const char* walks;
        const char* megabytes;
        int expectedWalks;
        int expectedMegabytes;
    };
    const StoredLimits stored[] = {
        {"0", "1", 0, 1}, {"99", "4096", 99, 4096}, {"100", "0", 99, 1},
        {"-1", "-7", 0, 1}, {"junk", "junk", 5, 100},
    };
    for (const StoredLimits& c : stored) {
        SCOPED_TRACE(std::string(c.walks) + " / " + c.megabytes);
        store_.Write("Options", "UndoWalks", c.walks);
        store_.Write("Options", "UndoMegabytes", c.megabytes);
        EXPECT_EQ(c.expectedWalks, settings_.UndoWalks());
        EXPECT_EQ(c.expectedMegabytes, settings_.UndoMegabytes());
    }
    settings_.SetUndoWalks(0);
    settings_.SetUndoMegabytes(250);
    EXPECT_EQ("0", Stored("Options", "UndoWalks"));
    EXPECT_EQ("250", Stored("Options", "UndoMegabytes"));

    // The options page's fields.
    const struct {
        long field;
        int walks;
        int megabytes;
    } fields[] = {
        {-1, 0, 1},        {0, 0, 1},          {1, 1, 1},
        {99, 99, 99},      {100, 99, 100},     {999999, 99, 999999},
        {1000000, 99, 999999},
    };
    for (const auto& f : fields) {
        SCOPED_TRACE(f.field);
        EXPECT_EQ(f.walks, ClampUndoWalksField(f.field));
        EXPECT_EQ(f.megabytes, ClampUndoMegabytesField(f.field));
    }
}

TEST_F(ProfileTest, SearchDialogOptionsAndHistories) {
    const CSearchOptionValues defaults = settings_.SearchOptions();
    EXPECT_EQ(1, defaults.withSubDirectories);
    EXPECT_EQ(0, defaults.matchCase + defaults.matchWholeWords + defaults.searchMethod +
                     defaults.replaceTag);

    EXPECT_EQ(std::vector<std::string>{"*.htm | *.html"},
              settings_.History(CHistoryKind::FileName));
    EXPECT_EQ(std::vector<std::string>{"C:\\"}, settings_.History(CHistoryKind::Directory));
    EXPECT_TRUE(settings_.History(CHistoryKind::SearchExpression).empty());
    EXPECT_TRUE(settings_.History(CHistoryKind::ReplaceString).empty());

    // Only the limits of the kinds are written.
    std::vector<std::string> many;
    for (int i = 1; i <= 60; ++i)
        many.push_back("expr" + std::to_string(i));
    settings_.SetHistory(CHistoryKind::SearchExpression, many);
    settings_.SetHistory(CHistoryKind::Directory, many);
    EXPECT_EQ("expr50", Stored("SearchDialog", "SearchExpression50"));
    EXPECT_EQ("<missing>", Stored("SearchDialog", "SearchExpression51"));
    EXPECT_EQ("<missing>", Stored("SearchDialog", "Directory26"));
    EXPECT_EQ(25u, settings_.History(CHistoryKind::Directory).size());

    // A shorter history written over a longer one leaves the higher entries, and they
    // come back next time.
    settings_.SetHistory(CHistoryKind::SearchExpression, {"new1", "new2"});
    const std::vector<std::string> read = settings_.History(CHistoryKind::SearchExpression);
    ASSERT_EQ(50u, read.size());
    EXPECT_EQ("new2", read[1]);
    EXPECT_EQ("expr3", read[2]);

    // Reading stops at the first missing or empty entry.
    store_.Write("SearchDialog", "FileName1", "*.txt");
    store_.Write("SearchDialog", "FileName2", "");
    store_.Write("SearchDialog", "FileName3", "*.doc");
    EXPECT_EQ(std::vector<std::string>{"*.txt"}, settings_.History(CHistoryKind::FileName));
}

TEST_F(ProfileTest, TextListsDeleteHigherEntriesOnlyWhenAsked) {
    profile_.WriteTextList("S", "Item", {"a", "b", "c"}, 10, false);
    profile_.WriteTextList("S", "Item", {"x"}, 10, true);
    EXPECT_EQ(std::vector<std::string>{"x"}, profile_.GetTextList("S", "Item"));
    EXPECT_EQ("<missing>", Stored("S", "Item2"));
}

TEST_F(ProfileTest, WindowPlacementSplitterPageSetupAndFont) {
    CWindowPlacementValue placement;
    EXPECT_FALSE(settings_.MainWindowPlacement(placement)) << "no default";
    placement.flags = kPlacementRestoreToMaximized;
    placement.showCommand = 3;
    placement.right = 640;
    placement.bottom = 480;
    settings_.SetMainWindowPlacement(placement);
    EXPECT_EQ("2,3,0,0,0,0,0,0,640,480", Stored("Settings", "MainWindowPlacement"));
    CWindowPlacementValue read;
    ASSERT_TRUE(settings_.MainWindowPlacement(read));
    EXPECT_EQ(placement, read);

    EXPECT_DOUBLE_EQ(0.38, settings_.SplitFactor());
    store_.Write("StdBarState1", "SearchReplaceSplitFactor", "");
    EXPECT_DOUBLE_EQ(0.38, settings_.SplitFactor()) << "an empty value yields the default";
    settings_.SetSplitFactor(0.5);
    EXPECT_EQ("0.500000", Stored("StdBarState1", "SearchReplaceSplitFactor"));

    EXPECT_EQ((std::vector<long>{1134, 1134, 1134, 1134}), settings_.Margins());
    store_.Write("PageSetup", "Margin", "500,600,700");
    EXPECT_EQ((std::vector<long>{1134, 1134, 1134, 1134}), settings_.Margins())
        << "three numbers are ignored as a whole";
    store_.Write("PageSetup", "Margin", "500,600,700,800");
    EXPECT_EQ((std::vector<long>{500, 600, 700, 800}), settings_.Margins());
    EXPECT_EQ(1, settings_.Orientation());
    EXPECT_EQ(9, settings_.PaperSize());
    CPageSetup setup;
    setup.margins = {{1440, 720, 1440, 720}};
    setup.orientation = kOrientationLandscape;
    setup.paperSize = 1;
    settings_.SetPageSetup(setup);
    EXPECT_EQ("1440,720,1440,720", Stored("PageSetup", "Margin"));
    EXPECT_EQ("2", Stored("PageSetup", "Orientation"));
    const CPageSetup back = settings_.PageSetup();
    EXPECT_EQ(setup.margins, back.margins);
    EXPECT_EQ(kOrientationLandscape, back.orientation);
    EXPECT_EQ(1, back.paperSize);

    EXPECT_EQ(CViewerFont(), settings_.ViewerFont());
    CViewerFont font;
    font.faceName = "Courier New";
    font.styleName = "Bold Italic";
    font.height = 125;
    font.weight = 700;
    font.style = kFontItalic | kFontBold | (238u << 24);
    font.color = 0x0000FF;
    settings_.SetViewerFont(font);
    EXPECT_EQ("Courier New", Stored("SearchOptions", "FaceName"));
    EXPECT_EQ("125", Stored("SearchOptions", "Height"));
    EXPECT_EQ(font, settings_.ViewerFont());
}

TEST_F(ProfileTest, BarStateSaysWhichBarsShow) {
    constexpr int kToolbar = 59392;
    constexpr int kStatusBar = 59393;
    EXPECT_TRUE(settings_.BarVisible(kToolbar)) << "a fresh profile shows every bar";

    settings_.SetBarsShown({{kToolbar, false}, {kStatusBar, true}});
    EXPECT_EQ("2", Stored("StdBarState1-Summary", "Bars"));
    EXPECT_EQ("59392", Stored("StdBarState1-Bar0", "BarID"));
    EXPECT_EQ("0", Stored("StdBarState1-Bar0", "Visible"));
    EXPECT_EQ("59393", Stored("StdBarState1-Bar1", "BarID"));
    EXPECT_EQ("1", Stored("StdBarState1-Bar1", "Visible"));
    EXPECT_FALSE(settings_.BarVisible(kToolbar));
    EXPECT_TRUE(settings_.BarVisible(kStatusBar));
    EXPECT_TRUE(settings_.BarVisible(1234)) << "a bar the profile does not name shows";

    // The summary's count bounds the sections read: a section left from an earlier,
    // longer list does not count.
    store_.Write("StdBarState1-Bar2", "BarID", "777");
    store_.Write("StdBarState1-Bar2", "Visible", "0");
    EXPECT_TRUE(settings_.BarVisible(777));
    // The bars are found by their id, in whatever order they were written.
    settings_.SetBarsShown({{kStatusBar, false}, {kToolbar, true}});
    EXPECT_FALSE(settings_.BarVisible(kStatusBar));
    EXPECT_TRUE(settings_.BarVisible(kToolbar));
    // A section without its id names no bar.
    store_.Write("StdBarState1-Bar0", "BarID", "");
    EXPECT_TRUE(settings_.BarVisible(kStatusBar));
}

TEST(HistoryTest, AddMovesToTheFrontAsTheDropDownMust) {
    CHistoryList empty;
    EXPECT_TRUE(empty.Add("first").inserted) << "an empty list takes its first entry";
    EXPECT_EQ(std::vector<std::string>{"first"}, empty.entries());

    CHistoryList history({"one", "two", "three"});
    CHistoryChange change = history.Add("three");
    EXPECT_EQ(2, change.removedAt);
    EXPECT_TRUE(change.inserted);
    EXPECT_EQ((std::vector<std::string>{"three", "one", "two"}), history.entries());

    change = history.Add("three");
    EXPECT_EQ(-1, change.removedAt);
    EXPECT_FALSE(change.inserted) << "the first entry is only selected";
    EXPECT_EQ((std::vector<std::string>{"three", "one", "two"}), history.entries());

    change = history.Add("four");
    EXPECT_EQ(-1, change.removedAt);
    EXPECT_TRUE(change.inserted);
    EXPECT_EQ(4u, history.entries().size());

    // Former fault: an empty expression (a file listing) went into the history, and the
    // stored list, which ends at its first empty entry, came back empty.
    change = history.Add("");
    EXPECT_FALSE(change.inserted);
    EXPECT_EQ("four", history.entries()[0]);
}

TEST_F(ProfileTest, RecentFilesKeepFourWithoutRepeats) {
    CRecentFiles recent;
    recent.Load(profile_);
    EXPECT_EQ("", recent.MostRecent());
    for (const char* path :
         {"C:\\a.sbx", "C:\\b.sbx", "C:\\c.sbx", "C:\\d.sbx", "C:\\e.sbx", "c:\\B.SBX"})
        recent.Add(path);
    EXPECT_EQ((std::vector<std::string>{"c:\\B.SBX", "C:\\e.sbx", "C:\\d.sbx", "C:\\c.sbx"}),
              recent.entries());
    recent.Save(profile_);
    EXPECT_EQ("c:\\B.SBX", Stored("Recent File List", "File1"));
    EXPECT_EQ("C:\\c.sbx", Stored("Recent File List", "File4"));
    recent.Remove("C:\\E.sbx");
    recent.Save(profile_);
    EXPECT_EQ("<missing>", Stored("Recent File List", "File4")) << "a removed file leaves";
    CRecentFiles again;
    again.Load(profile_);
    EXPECT_EQ(recent.entries(), again.entries());
    EXPECT_EQ("&2 C:\\R&&D\\x.sbx", RecentFileMenuText(1, "C:\\R&D\\x.sbx"));
}

TEST_F(ProfileTest, DefinitionPagesTakeAndGiveBackTheirState) {
    store_.Write("SearchDialog", "SearchExpression1", "grey");
    store_.Write("SearchDialog", "MatchCase", "1");
    store_.Write("Options", "UseExternalFilter", "0");
    CDefinitionState state;
    state.Load(settings_);
    EXPECT_EQ(1, state.options.matchCase);
    EXPECT_EQ(std::vector<std::string>{"grey"},
              state.History(CHistoryKind::SearchExpression).entries());
    EXPECT_EQ(std::vector<std::string>{"C:\\"}, state.History(CHistoryKind::Directory).entries());

    CSearchPageValues search;
    search.expression = "(a)b";
    search.fileMask = "*.txt";
    search.directory = "C:\\d";
    search.matchCase = 1;
    CReplacePageValues replace{"x", 1};
    CSearchRequest request = MakeSearchRequest(search, nullptr, settings_);
    EXPECT_EQ(0, request.replaceMode);
    EXPECT_EQ(1, request.useInternalFilter);
    EXPECT_EQ(0, request.useExternalFilter) << "the filters come from the profile";
    request = MakeSearchRequest(search, &replace, settings_);
    EXPECT_EQ(1, request.replaceMode);
    EXPECT_EQ("x", request.replaceString);
    EXPECT_EQ(1, request.replaceTag);

    state.History(CHistoryKind::ReplaceString).Add("x");
    state.options.searchMethod = 1;
    state.Save(settings_);
    EXPECT_EQ("x", Stored("SearchDialog", "ReplaceString1"));
    EXPECT_EQ("1", Stored("SearchDialog", "SearchMethod"));
    EXPECT_EQ("C:\\", Stored("SearchDialog", "Directory1")) << "the offered default is kept";
    EXPECT_EQ("Entire Search Expression", std::string(ReplaceTagCaption(0)));
    EXPECT_EQ("5. Subexpression", std::string(ReplaceTagCaption(5)));
    EXPECT_EQ("Phonetic", MethodCaption(1));
}

} // namespace
} // namespace sorbex
