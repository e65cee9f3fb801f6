// What the command line's golden tests share: how a run is shown, and how the parts
// that vary from run to run are made neutral so that transcripts compare byte for byte.
#pragma once

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cp1252.h"

namespace sorbex {
namespace transcript {

// Set SORBEX_UPDATE_GOLDEN=1 to write the outputs as the new golden files; review them.
inline std::string GoldenPath(const std::string& name) {
    return std::string(SORBEX_CLI_GOLDEN) + "/" + name + ".golden";
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

// The command as a user would type it, arguments quoted where a shell needs it.
inline std::string ShownCommand(const std::vector<std::string>& args) {
    std::string shown = "$ sorbex";
    for (const std::string& arg : args) {
        const bool plain = !arg.empty() && arg.find_first_of(" |&!()*?") == std::string::npos;
        shown += " " + (plain ? arg : "'" + arg + "'");
    }
    return shown;
}

// An argument as the program receives it: "ROOT" stands for the test's tree, and on
// Windows the program gets its arguments in the ANSI code page.
inline std::string ProgramArgument(const std::string& arg, const std::string& root) {
    std::string value = arg == "ROOT" ? root : arg;
#ifdef _WIN32
    std::string converted;
    if (Utf8ToCp1252(value, converted))
        value = converted;
#endif
    return value;
}

// The whole transcript of one run, with the tree's place, the path separators, the
// dates and the seconds made neutral.
inline std::string Compose(const std::string& shown, const std::string& out, const std::string& err,
                           int status, std::string root) {
    std::string printed = out + "--- stderr\n" + err;
#ifdef _WIN32
    printed = Cp1252ToUtf8(printed);
    root = Cp1252ToUtf8(root);
#endif
    std::string text = shown + "\n" + printed + "--- exit " + std::to_string(status) + "\n";
    for (std::size_t at; (at = text.find(root)) != std::string::npos;)
        text.replace(at, root.size(), "ROOT/");
    for (char& c : text)
        if (c == '\\')
            c = '/';
    text = std::regex_replace(text, std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d"),
                              "YYYY-MM-DD hh:mm");
    return std::regex_replace(text, std::regex("\\(\\d+\\.\\d\\d seconds\\)"), "(N.NN seconds)");
}

} // namespace transcript
} // namespace sorbex
