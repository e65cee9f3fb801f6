// Tests under Wine of the seams that need no window of ours: the profile file through the
// system's functions, where it is kept, the RichEdit surface, and the text conversion.
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include "app/ResultPageView.h"
#include "app/win32/RichEditSurface.h"
#include "app/win32/WideText.h"
#include "app/win32/Win32Profile.h"
#include "platform/testing/TempTree.h"

namespace sorbex {
namespace {

TEST(WideTextTest, EveryWindows1252ByteSurvivesTheRoundTrip) {
    std::string all;
    for (int c = 0x20; c < 0x100; ++c)
        if (c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D)
            all += static_cast<char>(c);
    EXPECT_EQ(all, Narrow(Wide(all)));
    EXPECT_EQ(L"\u20AC\u00E4", Wide("\x80\xE4"));
    EXPECT_EQ("?", Narrow(L"\u4E2D"));
}

TEST(Win32ProfileTest, ValuesThroughTheSystemsProfileFunctions) {
    kestrix::TempTree tree;
    CWin32ProfileStore store(tree.Path("Sorbex.INI"));
    std::string value = "untouched";
    EXPECT_FALSE(store.Read("Options", "AutoLoad", value)) << "no file yet";
    store.Write("Options", "AutoLoad", "0");
    store.Write("Options", "Empty", "");
    store.Write("SearchDialog", "SearchExpression1", "gr\xE4y&20colou?r");
    const std::string longValue(3000, 'x');
    store.Write("SearchDialog", "Directory1", longValue);
    ASSERT_TRUE(store.Read("Options", "AutoLoad", value));
    EXPECT_EQ("0", value);
    ASSERT_TRUE(store.Read("Options", "Empty", value)) << "an empty value is present";
    EXPECT_EQ("", value);
    ASSERT_TRUE(store.Read("SearchDialog", "SearchExpression1", value));
    EXPECT_EQ("gr\xE4y&20colou?r", value);
    ASSERT_TRUE(store.Read("SearchDialog", "Directory1", value));
    EXPECT_EQ(longValue, value) << "long values are read whole";
    store.Remove("Options", "AutoLoad");
    EXPECT_FALSE(store.Read("Options", "AutoLoad", value));
    EXPECT_NE(std::string::npos, tree.Read("Sorbex.INI").find("[SearchDialog]"));

    // Typed values over the system's store.
    CProfile profile(store);
    profile.WriteTextList("SearchDialog", "FileName", {"*.txt", "*.htm | *.html"}, 25, false);
    EXPECT_EQ((std::vector<std::string>{"*.txt", "*.htm | *.html"}),
              profile.GetTextList("SearchDialog", "FileName"));
}

TEST(Win32ProfileTest, PlacesOfTheProfile) {
    kestrix::TempTree tree;
    tree.MakeDir("windows");
    tree.MakeDir("appdata");
    const std::string windows = tree.Path("windows") + "\\";
    const std::string appData = tree.Path("appdata") + "\\";
    CWin32ProfilePlaces places(windows, appData);

    // A first start: the user's folder, made on the way.
    CProfileLocation location = ChooseProfileLocation(places, "Sorbex.INI");
    EXPECT_EQ(appData + "Kestrix\\Sorbex.INI", location.path);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Wide(appData + "Kestrix").c_str()));

    // An old profile that can be written stays where it is.
    tree.Write("windows/Sorbex.INI", "[Options]\r\nAutoLoad=0\r\n");
    location = ChooseProfileLocation(places, "Sorbex.INI");
    EXPECT_TRUE(location.inWindowsDirectory);

    // One the user may not write is copied to the user's folder once. (A test that runs
    // as the system's superuser can write any file: another handle that lets nobody
    // write stands in for the system's protection.)
    const HANDLE guard = CreateFileW(Wide(windows + "Sorbex.INI").c_str(), GENERIC_READ,
                                     FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, guard);
    EXPECT_FALSE(places.CanWrite(windows + "Sorbex.INI"));
    location = ChooseProfileLocation(places, "Sorbex.INI");
    EXPECT_FALSE(location.inWindowsDirectory);
    EXPECT_TRUE(location.copiedFromWindowsDirectory);
    EXPECT_EQ("[Options]\r\nAutoLoad=0\r\n", tree.Read("appdata/Kestrix/Sorbex.INI"));
    location = ChooseProfileLocation(places, "Sorbex.INI");
    EXPECT_FALSE(location.copiedFromWindowsDirectory) << "only the first time";
    CloseHandle(guard);
}

std::unique_ptr<CSearchResult> Passage(const std::string& name, const std::string& excerpt,
                                       int from, int to, bool first) {
    auto r = std::make_unique<CSearchResult>();
    r->dir = "C:\\d\\";
    r->name = name;
    r->excerpt = excerpt;
    r->excerptStart = from;
    r->excerptEnd = to;
    r->start = 1000 + from;
    r->end = 1000 + to;
    r->flags = first ? kResultFirstOfFile : 0;
    return r;
}

// The page view over the real control: positions, counters and selections land on the
// characters they name, header table included.
TEST(RichEditSurfaceTest, PositionsCountersAndSelectionsInTheControl) {
    ASSERT_TRUE(LoadRichEdit());
    const HWND edit = CreateWindowExW(0, kRichEditClass, L"", WS_POPUP | ES_MULTILINE, 0, 0, 600,
                                      400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, edit);
    CRichEditSurface surface(edit);
    CResultPageView view(surface);
    CFileFindDoc page("grey");
    page.request.expression = "gr\xE4y";
    page.request.fileMask = "*.txt";
    page.request.directory = "C:\\d";
    view.BeginRun(page);
    const char* excerpts[] = {"a gr\xE4y {cat}", "\\gr\xE4y\tdog", "all gr\xE4y"};
    for (int i = 0; i < 30; ++i) {
        auto result = Passage("f" + std::to_string(i / 2) + ".txt", excerpts[i % 3],
                              i % 3 == 0   ? 2
                              : i % 3 == 1 ? 1
                                           : 4,
                              0, i % 2 == 0);
        result->excerptEnd = result->excerptStart + 4;
        CSearchResult& added = *result;
        page.results.Add(std::move(result));
        view.AppendResult(page, added, CFileFacts());
        if (i % 7 == 6)
            view.Refresh(i);
    }
    view.AppendClosingLine(page, "Searching terminated normally (0.01 seconds).");
    CSearchCounters counters;
    counters.filesWithPassages = 15;
    counters.found = 1234;
    counters.passages = 30;
    view.ShowCounters(page, counters);
    // The control shows fewer lines than the page has results: the rest waits for the
    // idle feed.
    EXPECT_TRUE(view.HasBacklog());
    view.Complete();
    const std::wstring all = surface.TextRange(0, surface.Length());
    EXPECT_NE(std::wstring::npos, all.find(L"Passages found\t30\tFiles found / total\t15 / 1234"))
        << Narrow(all);
    for (std::size_t i = 0; i < page.results.size(); ++i) {
        SCOPED_TRACE(i);
        const std::size_t at = static_cast<std::size_t>(page.results[i].viewPosition - 1);
        EXPECT_EQ(L"gr\u00E4y", surface.TextRange(at, at + 4));
        EXPECT_EQ(static_cast<int>(i), view.ResultAt(at));
    }
    view.SelectResult(page, 17);
    CHARRANGE selection{};
    SendMessageW(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    EXPECT_EQ(page.results[17].viewPosition - 1, selection.cpMin);
    EXPECT_EQ(selection.cpMin + 4, selection.cpMax);
    DestroyWindow(edit);
}

} // namespace
} // namespace sorbex
