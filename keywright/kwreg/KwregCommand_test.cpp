// `kwreg` transcripts: each command's standard output, standard error and exit status
// compared byte for byte with a golden file in testdata/.
#include "kwreg/KwregCommand.h"

#include "platform/Cp1252.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace keywright {
namespace {

// Wine shows the source tree on drive Z:.
std::string TestData() {
    std::string dir = KWREG_TESTDATA;
#ifdef _WIN32
    if (!dir.empty() && dir[0] == '/')
        dir = "Z:" + dir;
#endif
    return dir;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

// The command as typed, then what it printed, with the test data's folder shown as
// TESTDATA. Windows prints the code page, which the golden files hold as UTF-8.
std::string Transcript(const std::vector<std::string>& args) {
    std::vector<std::string> passed;
    std::string shown = "$ kwreg";
    for (const std::string& arg : args) {
        std::string value = arg;
        if (value.rfind("TESTDATA/", 0) == 0)
            value = TestData() + value.substr(8);
        passed.push_back(value);
        shown += " " + arg;
    }
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunKwreg(passed, out, err);
    std::string printed = out.str() + "--- stderr\n" + err.str();
#ifdef _WIN32
    printed = kestrix::Cp1252ToUtf8(printed);
#endif
    std::string text = shown + "\n" + printed + "--- exit " + std::to_string(status) + "\n";
    const std::string dir = TestData();
    for (std::size_t at; (at = text.find(dir)) != std::string::npos;)
        text.replace(at, dir.size(), "TESTDATA");
    return text;
}

TEST(KwregCommand, MatchesTheGoldenTranscripts) {
    struct Case {
        const char* golden;
        std::vector<std::string> args;
    } cases[] = {
        {"check_valid", {"check", "TESTDATA/regedit4.reg", "TESTDATA/version5.reg"}},
        {"check_invalid",
         {"check", "TESTDATA/regedit4.reg", "TESTDATA/broken.reg", "TESTDATA/missing.reg"}},
        {"show_regedit4", {"show", "TESTDATA/regedit4.reg"}},
        {"show_version5", {"show", "TESTDATA/version5.reg"}},
        {"show_invalid", {"show", "TESTDATA/broken.reg"}},
        {"usage_none", {}},
        {"usage_check_without_files", {"check"}},
        {"usage_show_two_files", {"show", "TESTDATA/regedit4.reg", "TESTDATA/version5.reg"}},
        {"usage_unknown_command", {"list", "TESTDATA/regedit4.reg"}},
        {"help", {"--help"}},
    };
    // Set KWREG_UPDATE_GOLDEN=1 to write the outputs as the new golden files; review them.
    const bool update = std::getenv("KWREG_UPDATE_GOLDEN") != nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        const std::string path = TestData() + "/" + c.golden + ".golden";
        const std::string actual = Transcript(c.args);
        if (update)
            std::ofstream(path, std::ios::binary) << actual;
        EXPECT_EQ(ReadBytes(path), actual);
    }
}

} // namespace
} // namespace keywright
