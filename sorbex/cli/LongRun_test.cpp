// Hundreds of searches and replacements in one process, as a long session runs them:
// what the process holds must not grow once the first hundred are behind it.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/SearchCommand.h"
#include "platform/testing/ProcessUsage.h"
#include "platform/testing/TempTree.h"

namespace sorbex {
namespace {

constexpr int kWarmUpRounds = 100;
constexpr int kRounds = 300;
// What one round may leave behind at most, on average (none was measured): a round
// allocates tens of kilobytes, so that one lost page or result per round passes it.
constexpr std::uint64_t kHeapBytesPerRound = 16;

int RunQuietly(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    return RunCli(args, out, err);
}

TEST(LongRunTest, SearchesAndReplacementsLeaveNoMemoryFilesOrThreadsBehind) {
    kestrix::TempTree tree;
    tree.Write("Plain.txt", "grey and grey\r\ngreyish\n");
    tree.Write("Page.htm", "<html><body><p>a grey &amp; <b>grey</b> page</p></body></html>");
    tree.Write("Letter.rtf", "{\\rtf1\\ansi {\\b grey} letter\\par}");
    tree.Write("Sub/Deep.txt", "no colour here\nbut grey there\n");
    const std::string root = tree.root();

    kestrix::ProcessUsage warm;
    for (int round = 1; round <= kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(kExitFound, RunQuietly({"search", "(grey|blue)&!colour", "-d", root}));
        // There and back again, so that every round has passages to replace.
        const bool back = round % 2 == 0;
        ASSERT_EQ(kExitFound, RunQuietly({"replace", back ? "blue" : "grey", "--with",
                                          back ? "grey" : "blue", "--all", "-d", root}));
        if (round == kWarmUpRounds)
            warm = kestrix::MeasureProcessUsage();
    }
    const kestrix::ProcessUsage last = kestrix::MeasureProcessUsage();
    std::cout << "heap " << warm.heapBytes << " -> " << last.heapBytes << " bytes, files "
              << warm.openFiles << " -> " << last.openFiles << ", threads " << warm.threads
              << " -> " << last.threads << "\n";
    EXPECT_EQ(warm.openFiles, last.openFiles);
    EXPECT_EQ(warm.threads, last.threads);
    EXPECT_LE(last.heapBytes, warm.heapBytes + kHeapBytesPerRound * (kRounds - kWarmUpRounds));
    // An even number of replacements went there and back: the files are as they were.
    EXPECT_EQ("grey and grey\r\ngreyish\n", tree.Read("Plain.txt"));
}

} // namespace
} // namespace sorbex
