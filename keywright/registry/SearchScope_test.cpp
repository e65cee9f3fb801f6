// The search's scope from the editor's tree and its selection.
#include "registry/SearchScope.h"

#include "host/FakeKeyTree.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

const std::vector<std::string> kTree = {
    "KESTRIX",
    "KESTRIX\\HKEY_CURRENT_USER",
    "KESTRIX\\HKEY_LOCAL_MACHINE",
    "KESTRIX\\HKEY_LOCAL_MACHINE\\Software",
    "OTHER",
    "OTHER\\HKEY_LOCAL_MACHINE",
};

std::vector<std::string> Describe(const std::vector<SearchComputer>& computers) {
    std::vector<std::string> rows;
    for (const SearchComputer& c : computers) {
        std::string row = c.name + ":";
        for (const std::string& root : c.roots)
            row += " " + root;
        rows.push_back(row);
    }
    return rows;
}

TEST(SearchScope, WholeRegistryOrTheSelectedComputerRootOrKey) {
    const std::vector<std::string> all = {"KESTRIX: HKEY_CURRENT_USER HKEY_LOCAL_MACHINE",
                                          "OTHER: HKEY_LOCAL_MACHINE"};
    const struct {
        const char* name;
        bool whole;
        TreeItem selected; // item n is kTree[n - 1]
        std::optional<std::string> path;
        bool searchesWhole;
        std::vector<std::string> computers;
        const char* computer;
        const char* root;
        const char* subkey;
    } cases[] = {
        {"whole registry", true, 4, "KESTRIX\\HKEY_LOCAL_MACHINE\\Software", true, all, "", "",
         ""},
        {"nothing selected", false, 0, std::nullopt, true, all, "", "", ""},
        {"a key", false, 4, "KESTRIX\\HKEY_LOCAL_MACHINE\\Software", false, {}, "KESTRIX",
         "HKEY_LOCAL_MACHINE", "Software"},
        {"a root", false, 3, "KESTRIX\\HKEY_LOCAL_MACHINE", false, {}, "KESTRIX",
         "HKEY_LOCAL_MACHINE", ""},
        {"a remote computer", false, 5, "OTHER", false, {"OTHER: HKEY_LOCAL_MACHINE"}, "OTHER",
         "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeKeyTree tree(kTree);
        RegistrySearch search{SearchEnvironment{}};
        search.wholeRegistry = c.whole;
        search.startSubkey = "left over from the last search";
        SetSearchScope(search, tree, c.selected, c.path);
        EXPECT_EQ(c.searchesWhole, search.wholeRegistry);
        EXPECT_EQ(c.computers, Describe(search.computers));
        EXPECT_EQ(c.computer, search.computerName);
        EXPECT_EQ(c.root, search.rootName);
        EXPECT_EQ(c.subkey, search.startSubkey);
        EXPECT_EQ(std::string(c.root).empty() ? 0 : kestrix::kHkeyLocalMachine,
                  search.rootHandle);
    }
}

} // namespace
} // namespace keywright
