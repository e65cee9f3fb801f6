// The open-file dialog's filter list from its string-table form.
#include "preview/FileFilter.h"

#include "strings/KeywrightStrings.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

TEST(FileFilter, SplitsAtTheFirstCharacter) {
    using namespace std::string_literals;
    EXPECT_EQ(
        "Registry Files (*.txt, *.reg, *.re4)\0*.TXT;*.REG;*.RE4\0All Files (*.*)\0*.*\0\0\0\0"s,
        OpenFileFilter(KeywrightString(kStrPreviewFileFilter)));
    EXPECT_EQ("A\0*.a\0\0"s, OpenFileFilter("#A#*.a"));
    EXPECT_EQ("\0\0"s, OpenFileFilter("|"));
    EXPECT_EQ(std::nullopt, OpenFileFilter(""));
}

} // namespace
} // namespace keywright
