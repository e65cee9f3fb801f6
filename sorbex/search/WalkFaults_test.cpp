// The run over a real tree that changes under it, and over paths longer than the classic
// limit of 260 characters: each file is searched or named with the reason it was not,
// and the rest of the tree is searched. These run under Wine as well as natively.
#include "search/SearchController.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "search/SearchTestBed.h"

namespace sorbex {
namespace {

class WalkFaultsTest : public ::testing::Test, protected CSearchTestBed {
protected:
    CSearchRequest Request(const std::string& mask) const {
        CSearchRequest request;
        request.expression = "colour";
        request.fileMask = mask;
        request.directory = tree.root();
        request.useInternalFilter = false;
        request.useExternalFilter = false;
        return request;
    }
    // The names of the files with results, in the order found.
    std::vector<std::string> Found() {
        std::vector<std::string> names;
        if (CFileFindDoc* page = document.CurrentPage())
            for (std::size_t i = 0; i < page->results.size(); ++i)
                names.push_back(page->results[i].name);
        return names;
    }
    // Calls `act` once, when the run's status shows that it is about to read `name`.
    void BeforeReading(const std::string& name, std::function<void()> act) {
        ui.fileList.onPump = [this, name, act, done = false]() mutable {
            const std::vector<std::string>& shown = ui.fileList.statusTexts;
            if (done || shown.empty() || shown.back().size() < name.size() ||
                shown.back().compare(shown.back().size() - name.size(), name.size(), name) != 0)
                return;
            done = true;
            act();
        };
    }
    std::string NotRead(const std::string& path, kestrix::FileFailure failure) const {
        return path + ": The file \"" + path + "\" could not be read: " +
               kestrix::OsErrorText(kestrix::NativeCodeFor(failure));
    }
};

TEST_F(WalkFaultsTest, AFileThatVanishesBeforeItIsReadIsNamedAndTheRestSearched) {
    tree.Write("A.txt", "colour");
    tree.Write("Gone.txt", "colour");
    tree.Write("Z.txt", "colour");
    BeforeReading("Gone.txt", [&] { ASSERT_EQ(0, std::remove(tree.Path("Gone.txt").c_str())); });
    run.StartSearching(Request("*.txt"));
    EXPECT_EQ((std::vector<std::string>{"A.txt", "Z.txt"}), Found());
    EXPECT_EQ((std::vector<std::string>{
                  NotRead(tree.Path("Gone.txt"), kestrix::FileFailure::NotFound)}),
              ui.fileList.skipped);
    EXPECT_EQ(1, ui.counters.skipped);
}

#ifdef _WIN32
// `path` under `tree` in the extended form, which passes the classic length limit and
// keeps a name's trailing dots and blanks (the ordinary form drops them).
std::wstring AsNamed(const kestrix::TempTree& tree, const std::string& path) {
    std::wstring extended = L"\\\\?\\";
    for (char c : tree.Path(path))
        extended += static_cast<wchar_t>(c == '/' ? '\\' : c);
    return extended;
}

bool WriteAsNamed(const kestrix::TempTree& tree, const std::string& path, const std::string& bytes) {
    const std::wstring extended = AsNamed(tree, path);
    if (extended.back() == L'\\')
        return CreateDirectoryW(extended.c_str(), nullptr) != 0;
    HANDLE file = CreateFileW(extended.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD count = 0;
    const bool written = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count,
                                   nullptr) && count == bytes.size();
    CloseHandle(file);
    return written;
}
#endif

// Deep enough that the file's path passes 260 characters, whatever the root.
std::string DeepFolder() {
    std::string path;
    for (int i = 0; i < 6; ++i)
        path += std::string(50, static_cast<char>('a' + i)) + "/";
    return path;
}

TEST_F(WalkFaultsTest, APathLongerThan260CharactersIsSearched) {
    tree.Write("A.txt", "colour");
    const std::string deep = DeepFolder();
#ifdef _WIN32
    // Beyond the classic limit only the extended form of a path can make it.
    std::string folder;
    for (char c : deep) {
        folder += c;
        if (c == '/')
            WriteAsNamed(tree, folder, "");
    }
    ASSERT_TRUE(WriteAsNamed(tree, deep + "Deep.txt", "colour"));
#else
    tree.Write(deep + "Deep.txt", "colour");
#endif
    ASSERT_GT(tree.Path(deep + "Deep.txt").size(), 260u);
    run.StartSearching(Request("*.txt"));
    const std::vector<std::string> found = Found();
    EXPECT_NE(found.end(), std::find(found.begin(), found.end(), "A.txt"));
    // Beyond the classic limit a file is still found and read: it is no more silently
    // passed over than named as skipped.
    EXPECT_NE(found.end(), std::find(found.begin(), found.end(), "Deep.txt"));
    EXPECT_EQ(std::vector<std::string>{}, ui.fileList.skipped);
}

#ifdef _WIN32
// Names ending in dots or blanks were listed but opened as the name without that end:
// another file, or none, so that they were reported unreadable or searched wrongly.
TEST_F(WalkFaultsTest, NamesEndingInDotsOrBlanksAreSearchedAndReplacedAsNamed) {
    tree.Write("Dot.txt", "no passage");
    ASSERT_TRUE(WriteAsNamed(tree, "Dot.txt.", "colour"));
    ASSERT_TRUE(WriteAsNamed(tree, "Blank.txt ", "colour"));
    ASSERT_TRUE(WriteAsNamed(tree, "Folder. /", ""));
    ASSERT_TRUE(WriteAsNamed(tree, "Folder. /Inner.txt..", "colour"));
    run.StartSearching(Request("*"));
    std::vector<std::string> found = Found();
    std::sort(found.begin(), found.end());
    EXPECT_EQ((std::vector<std::string>{"Blank.txt ", "Dot.txt.", "Inner.txt.."}), found);
    EXPECT_EQ(std::vector<std::string>{}, ui.fileList.skipped);

    const std::string inner = tree.Path("Folder. /Inner.txt..");
    ASSERT_FALSE(fs->ReplaceFileContent(inner, "blue"));
    std::string bytes;
    ASSERT_FALSE(fs->ReadFile(inner, bytes));
    EXPECT_EQ("blue", bytes);
    ASSERT_FALSE(fs->ReadFile(tree.Path("Dot.txt"), bytes));
    EXPECT_EQ("no passage", bytes);
    // The scratch tree's own removal takes the ordinary form.
    for (const char* file : {"Dot.txt.", "Blank.txt ", "Folder. /Inner.txt.."})
        EXPECT_TRUE(DeleteFileW(AsNamed(tree, file).c_str())) << file;
    EXPECT_TRUE(RemoveDirectoryW(AsNamed(tree, "Folder. ").c_str()));
}

TEST_F(WalkFaultsTest, AFileLockedByAnotherProgramIsNamedAndTheRestSearched) {
    tree.Write("A.txt", "colour");
    tree.Write("Locked.txt", "colour");
    tree.Write("Z.txt", "colour");
    HANDLE lock = CreateFileA(tree.Path("Locked.txt").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    run.StartSearching(Request("*.txt"));
    CloseHandle(lock);
    EXPECT_EQ((std::vector<std::string>{"A.txt", "Z.txt"}), Found());
    EXPECT_EQ((std::vector<std::string>{
                  NotRead(tree.Path("Locked.txt"), kestrix::FileFailure::Locked)}),
              ui.fileList.skipped);
}
#endif

} // namespace
} // namespace sorbex
