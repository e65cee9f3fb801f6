// A converter given up on a file reaches the user: the command line's run names the file
// and what happened, searches the file as its bytes, and says that not everything was
// searched as text. The converters run in a forked helper that crashes, hangs or floods.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliSearchUi.h"
#include "platform/Clock.h"
#include "platform/testing/TempTree.h"
#include "search/ResultDocument.h"
#include "search/SearchController.h"
#include "text/ForkedHelper_test.h"
#include "text/TextConverterList.h"

namespace sorbex {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST(ConverterFailureTest, EachConverterGivenUpIsNamedWithItsFileAndNotTriedAgain) {
    kestrix::TempTree tree;
    tree.Write("a.doc", "alpha one");
    tree.Write("crash.doc", "alpha crash");
    tree.Write("flood.doc", "alpha flood");
    tree.Write("hang.doc", "alpha hang");

    const std::unique_ptr<kestrix::FileSystem> fileSystem = kestrix::MakeSystemFileSystem();
    const std::unique_ptr<kestrix::Clock> clock = kestrix::MakeSteadyClock();
    forked::ForkedHelperLink link;
    CHelperLimits limits;
    // What the hanging converter costs the test; the flood must come within it even on a
    // machine that is busy with other work.
    limits.convertMs = 2000;
    limits.maxRtf = std::size_t(1) << 20;
    CHelperConverterLoader helper(link, limits, fileSystem.get());
    CTextConverterList converters;
    converters.Add(std::make_unique<CTextConverter>(helper, "wordconv.cnv", "Word", "doc"));

    std::ostringstream out;
    std::ostringstream err;
    CCliSearchUi ui(out, err, CCliTerminal{});
    CResultDocument document;
    CSearchController run(*fileSystem, *clock, ui, document);
    helper.SetFailureHandler(run.ConverterFailureHandler());
    run.loader().SetConverters(&converters);

    CSearchRequest request;
    request.expression = "alpha";
    request.fileMask = "*.doc";
    request.directory = tree.root();
    const auto said = [&](const char* what, const char* file) {
        return "sorbex: The converter \"wordconv.cnv\" " + std::string(what) + " \"" +
               tree.Path(file) + "\". The file was searched as it is, without conversion.";
    };

    // The converted a.doc holds no "alpha"; the three given up are searched as bytes.
    CRunOutcome outcome = run.StartSearching(request);
    ASSERT_NE(nullptr, outcome.page);
    EXPECT_EQ(3u, outcome.page->results.size());
    EXPECT_EQ((std::vector<std::string>{said("crashed while reading the file", "crash.doc"),
                                        said("did not answer in time while reading the file",
                                             "hang.doc"),
                                        said("produced too much text for the file", "flood.doc")}),
              Lines(err.str()));
    EXPECT_TRUE(ui.skippedReported());
    const int starts = link.starts;

    // The next search in the same process does not run the converter on them again.
    err.str("");
    outcome = run.StartSearching(request);
    ASSERT_NE(nullptr, outcome.page);
    EXPECT_EQ(3u, outcome.page->results.size());
    EXPECT_EQ("", err.str());
    EXPECT_EQ(starts + 1, link.starts) << "a helper for a.doc, and none stopped since";
}

} // namespace
} // namespace sorbex
#endif
