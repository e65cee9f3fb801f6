// Tests of building the file list from real directory trees, and of its order.
#include "search/FileCollector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"
#include "search/FileListOrder.h"
#include "search/FileListUiRecorder.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace sorbex {
namespace {

// "dir-relative-to-root|name|d" for a directory entry, "...|name|f" for a file.
std::vector<std::string> Describe(const std::vector<CFileEntry>& files, const std::string& root) {
    std::vector<std::string> out;
    for (const CFileEntry& f : files) {
        std::string dir = f.dir.substr(0, root.size()) == root ? f.dir.substr(root.size()) : f.dir;
        for (char& c : dir)
            if (c == kestrix::kPathSeparator)
                c = '/';
        out.push_back(dir + "|" + f.name + (f.isDirectory ? "|d" : "|f"));
    }
    return out;
}

class FileCollectorTest : public ::testing::Test {
protected:
    FileCollectorTest() {
        tree.Write("Top/A.c", "");
        tree.Write("Top/B.h", "");
        tree.Write("Top/Readme", "");
        tree.Write("Top/Notes.txt", "");
        tree.Write("Top/Sub/X.c", "");
        tree.Write("Top/Sub/Deeper/Y.c", "");
        tree.Write("Top/Zdir.c/Z.txt", "");
        tree.Write("Other/O.c", "");
    }

    std::string Dir(const std::string& relative) const {
        return tree.Path(relative) + kestrix::kPathSeparator;
    }

    std::vector<std::string> Collect(const std::vector<std::string>& dirs, const std::string& masks,
                                     bool subdirs) {
        added = collector.CollectFiles(dirs, "dir text", masks, subdirs,
                                       kestrix::EntryDetail::TypesOnly, filesSeen);
        return Describe(collector.files(), tree.root());
    }

    kestrix::TempTree tree;
    std::unique_ptr<kestrix::FileSystem> real = kestrix::MakeSystemFileSystem();
    kestrix::FaultyFileSystem fs{*real};
    CFileListUiRecorder ui;
    CFileCollector collector{fs, ui};
    int added = -1;
    int filesSeen = -1;
};

TEST_F(FileCollectorTest, Table) {
    struct Case {
        const char* name;
        std::vector<std::string> dirs;
        const char* masks;
        bool subdirs;
        std::vector<std::string> entries;
        int filesSeen;
    };
    const Case cases[] = {
        {"masks, no subdirectories", {"Top"}, "*.c | *.h", false, {"Top/|A.c|f", "Top/|B.h|f"}, 4},
        {"directories entered whatever their name, listed when they match",
         {"Top"},
         "*.c|*.h",
         true,
         {"Top/|Zdir.c|d", "Top/|A.c|f", "Top/|B.h|f", "Top/Sub/|X.c|f", "Top/Sub/Deeper/|Y.c|f"},
         7},
        {"every directory before the files of its parent",
         {"Top"},
         "*",
         true,
         {"Top/|Sub|d", "Top/|Zdir.c|d", "Top/|A.c|f", "Top/|B.h|f", "Top/|Notes.txt|f",
          "Top/|Readme|f", "Top/Sub/|Deeper|d", "Top/Sub/|X.c|f", "Top/Sub/Deeper/|Y.c|f",
          "Top/Zdir.c/|Z.txt|f"},
         7},
        {"names without extension", {"Top"}, "*.", false, {"Top/|Readme|f"}, 4},
        {"empty mask list matches nothing", {"Top"}, " | ", true, {}, 7},
        {"directories in sorted order",
         {"Top/Sub", "Other"},
         "*.c",
         false,
         {"Other/|O.c|f", "Top/Sub/|X.c|f"},
         2},
        // Overlapping folders and masks still list each file once, however spelled.
        {"a folder inside another given folder",
         {"Top", "Top/Sub"},
         "*.c",
         true,
         {"Top/|Zdir.c|d", "Top/|A.c|f", "Top/Sub/|X.c|f", "Top/Sub/Deeper/|Y.c|f"},
         7},
        {"a folder inside another, given first",
         {"Top/Sub/Deeper", "Top/Sub"},
         "*.c",
         true,
         {"Top/Sub/|X.c|f", "Top/Sub/Deeper/|Y.c|f"},
         2},
        {"one folder spelled twice", {"Top", "Top/Sub/.."}, "*.c", false, {"Top/|A.c|f"}, 4},
        {"masks that overlap", {"Top"}, "*.c|A.*|a.c", false, {"Top/|A.c|f"}, 4},
    };
    // Whether the listing tells each folder's index or the walk asks for it, the list
    // is the same.
    for (const bool indexesListed : {false, true}) {
        fs.listIndexes = indexesListed;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (indexesListed ? ", indexes listed" : ""));
            std::vector<std::string> dirs;
            for (const std::string& d : c.dirs)
                dirs.push_back(Dir(d));
            EXPECT_EQ(c.entries, Collect(dirs, c.masks, c.subdirs));
            EXPECT_EQ(static_cast<int>(c.entries.size()), added);
            EXPECT_EQ(c.filesSeen, filesSeen);
        }
    }
}

// Opening every folder once more to learn its identity doubled the cost of a walk under
// Wine; where the listing tells a folder's index only the given folders are opened.
TEST_F(FileCollectorTest, OnlyTheGivenFoldersAreOpenedWhenTheListingTellsIndexes) {
    fs.listIndexes = true;
    Collect({Dir("Top"), Dir("Other")}, "*", true);
    EXPECT_EQ(2, fs.identityCalls);
    EXPECT_EQ(11, added);
}

// A listed index stands for a folder on the parent's volume. A file system mounted below
// (a plain folder under Wine) may list an index that a folder above or beside it has too;
// taken at its word, that folder was passed over as a loop or as walked already.
TEST_F(FileCollectorTest, AListedIndexMatchingAnotherFolderIsCheckedBeforeSkipping) {
    kestrix::FileIdentity top;
    kestrix::FileIdentity sub;
    ASSERT_FALSE(real->GetFileIdentity(Dir("Top"), top));
    ASSERT_FALSE(real->GetFileIdentity(Dir("Top/Sub"), sub));
    fs.listIndexes = true;
    fs.listedIndexes[tree.Path("Top/Zdir.c")] = sub.index;
    fs.listedIndexes[tree.Path("Top/Sub/Deeper")] = top.index;
    EXPECT_EQ(std::vector<std::string>({"Top/|Sub|d", "Top/|Zdir.c|d", "Top/|A.c|f", "Top/|B.h|f",
                                        "Top/|Notes.txt|f", "Top/|Readme|f", "Top/Sub/|Deeper|d",
                                        "Top/Sub/|X.c|f", "Top/Sub/Deeper/|Y.c|f",
                                        "Top/Zdir.c/|Z.txt|f"}),
              Collect({Dir("Top")}, "*", true));
    EXPECT_EQ(std::vector<std::string>{}, ui.skipped);
}

TEST_F(FileCollectorTest, TellsTheUserInterfaceWhatItDoes) {
    Collect({Dir("Top/Sub")}, "*.c", true);
    EXPECT_EQ(std::vector<std::string>({"Scanning directory " + Dir("Top/Sub"),
                                        "Scanning directory " + Dir("Top/Sub/Deeper")}),
              ui.statusTexts);
    EXPECT_EQ(1, ui.idleStatusCount);
    EXPECT_EQ("dir text", ui.historyDirectories);
    EXPECT_EQ("*.c", ui.historyMasks);
    // Once per directory, once per entry, once after each listed directory.
    EXPECT_EQ(2 + 3 + 1, ui.pumps);
}

TEST_F(FileCollectorTest, UnlistableDirectoryAddsNothingAndSaysNothing) {
    fs.failList[Dir("Top/Sub")] = kestrix::FileFailure::AccessDenied;
    EXPECT_EQ(std::vector<std::string>({"Top/|Zdir.c|d", "Top/|A.c|f"}),
              Collect({Dir("Top")}, "*.c", true));
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(FileCollectorTest, CancelStopsTheWalkAndKeepsWhatWasFound) {
    ui.cancelAtPump = 3; // after at most two entries, whatever order the disk gives
    const auto entries = Collect({Dir("Top"), Dir("Other")}, "*", true);
    EXPECT_LE(entries.size(), 2u);
    EXPECT_EQ(static_cast<int>(entries.size()), added);
    EXPECT_LE(filesSeen, 2);
    // No directory is entered after the cancel, and the list is still tidied up.
    EXPECT_EQ(0, ui.statusTextsAfterCancel);
    EXPECT_GE(2u, ui.statusTexts.size());
    EXPECT_EQ(1, ui.idleStatusCount);
}

TEST_F(FileCollectorTest, CancelBeforeTheFirstDirectoryListsNothing) {
    ui.cancelAtPump = 1;
    EXPECT_TRUE(Collect({Dir("Top")}, "*", true).empty());
    EXPECT_EQ(0, filesSeen);
}

TEST_F(FileCollectorTest, EachCollectionStartsAfresh) {
    Collect({Dir("Top")}, "*", true);
    EXPECT_EQ(std::vector<std::string>{"Other/|O.c|f"}, Collect({Dir("Other")}, "*", true));
    EXPECT_EQ(1, filesSeen);
}

#ifndef _WIN32
TEST_F(FileCollectorTest, LinkedDirectoriesAreListedButNotEntered) {
    ASSERT_EQ(0, ::symlink(tree.Path("Top").c_str(), tree.Path("Top/Sub/Loop").c_str()));
    const auto entries = Collect({Dir("Top/Sub")}, "*", true);
    EXPECT_EQ(std::vector<std::string>({"Top/Sub/|Deeper|d", "Top/Sub/|Loop|d", "Top/Sub/|X.c|f",
                                        "Top/Sub/Deeper/|Y.c|f"}),
              entries);
}

// Wine shows a Unix link as a plain folder: the index its parent's listing gives is the
// one of the folder it leads back to, and that is enough to stop there.
TEST_F(FileCollectorTest, AFolderLeadingBackUpIsKnownByItsListedIndex) {
    ASSERT_EQ(0, ::symlink(tree.Path("Top").c_str(), tree.Path("Top/Sub/Loop").c_str()));
    fs.linksAsFolders = true;
    fs.listIndexes = true;
    EXPECT_EQ(std::vector<std::string>({"Top/|Zdir.c|d", "Top/|A.c|f", "Top/Sub/|X.c|f",
                                        "Top/Sub/Deeper/|Y.c|f"}),
              Collect({Dir("Top")}, "*.c", true));
    ASSERT_EQ(1u, ui.skipped.size());
    EXPECT_EQ(Dir("Top/Sub/Loop") + ": The directory \"" + Dir("Top/Sub/Loop") +
                  "\" was not entered: it leads back to \"" + Dir("Top") + "\".",
              ui.skipped[0]);
    // The given folder, and both ends of the loop once the listing made them meet.
    EXPECT_EQ(3, fs.identityCalls);
}
#else
TEST_F(FileCollectorTest, ShortNamesAreShownRecased) {
    tree.Write("case/README.TXT", "");
    tree.Write("case/Mixed Case Name.TXT", "");
    EXPECT_EQ(std::vector<std::string>({"case/|Mixed Case Name.TXT|f", "case/|Readme.txt|f"}),
              Collect({Dir("case")}, "*.txt", false));
}
#endif

TEST(FileListOrderTest, DirectoryThenDirectoriesFirstThenName) {
    auto fs = kestrix::MakeSystemFileSystem();
    const char sep = kestrix::kPathSeparator;
    const std::string a = std::string("C:") + sep + "a" + sep;
    const std::string upperA = std::string("C:") + sep + "A" + sep;
    const std::string b = std::string("c:") + sep + "b" + sep;
    std::vector<CFileEntry> files = {
        {"f", b, 0},    {"Zeta", a, 0},   {"alpha", a, 0}, {"sub", a, 1},
        {"Beta", a, 0}, {"x", upperA, 0}, {"A-dir", b, 1},
    };
    SortFileList(files, *fs);
    std::vector<std::string> order;
    for (const CFileEntry& f : files)
        order.push_back(f.dir + f.name);
    // Case is ignored, but one spelling of a directory never mixes with another's.
    EXPECT_EQ(std::vector<std::string>({upperA + "x", a + "sub", a + "alpha", a + "Beta",
                                        a + "Zeta", b + "A-dir", b + "f"}),
              order);
}

// Lists built in any order (a directory's entries apart or together, one directory in
// two spellings, the same entry twice) take the order of one stable sort by directory,
// directories first, then name, whatever steps the sort takes to get there.
TEST(FileListOrderTest, AnyListTakesTheOrderOfOneStableSort) {
    auto fs = kestrix::MakeSystemFileSystem();
    const char sep = kestrix::kPathSeparator;
    // Spellings that differ only in case, in digits, in bytes of 0x80 and above, and
    // in their length; the deeper ones share long beginnings.
    const std::vector<std::string> parts = {"a",   "A",   "b",   "a1",  "a10", "a2",  "\xE4",
                                            "\xC4", "\xFF", "\x80x", "_",   "a.b", "a b"};
    std::vector<std::string> dirs;
    for (const std::string& first : parts) {
        dirs.push_back("r" + std::string(1, sep) + first + sep);
        for (std::size_t i = 0; i < parts.size(); i += 3)
            dirs.push_back("r" + std::string(1, sep) + first + sep + parts[i] + sep);
    }
    std::mt19937 random(20261210);
    for (int round = 0; round < 40; ++round) {
        std::vector<CFileEntry> files;
        const std::size_t count = random() % 300;
        for (std::size_t i = 0; i < count; ++i) {
            // Mostly runs of one directory, as a walk lists them; now and then another.
            const std::string& dir = !files.empty() && random() % 4 != 0
                                         ? files.back().dir
                                         : dirs[random() % dirs.size()];
            CFileEntry entry{parts[random() % parts.size()] + parts[random() % parts.size()], dir,
                             static_cast<int>(random() % 3 == 0)};
            entry.size = i; // tells entries of equal names apart
            entry.modified = static_cast<std::int64_t>(round);
            entry.statusKnown = random() % 2 == 0;
            files.push_back(entry);
        }
        std::vector<CFileEntry> expected = files;
        std::stable_sort(expected.begin(), expected.end(),
                         [&](const CFileEntry& x, const CFileEntry& y) {
                             const auto compare = [&](const std::string& a, const std::string& b) {
                                 if (a == b)
                                     return 0;
                                 const int locale = fs->CompareNames(a, b);
                                 return locale != 0 ? locale : a.compare(b);
                             };
                             if (const int byDir = compare(x.dir, y.dir))
                                 return byDir < 0;
                             if (x.isDirectory != y.isDirectory)
                                 return x.isDirectory > y.isDirectory;
                             return compare(x.name, y.name) < 0;
                         });
        SortFileList(files, *fs);
        ASSERT_EQ(expected.size(), files.size());
        for (std::size_t i = 0; i < files.size(); ++i) {
            SCOPED_TRACE("round " + std::to_string(round) + ", entry " + std::to_string(i));
            EXPECT_EQ(expected[i].dir, files[i].dir);
            EXPECT_EQ(expected[i].name, files[i].name);
            EXPECT_EQ(expected[i].isDirectory, files[i].isDirectory);
            EXPECT_EQ(expected[i].size, files[i].size);
            EXPECT_EQ(expected[i].modified, files[i].modified);
            EXPECT_EQ(expected[i].statusKnown, files[i].statusKnown);
        }
    }
}

} // namespace
} // namespace sorbex
