// What the command line's golden tests share: how a run is shown, and how the parts
// that vary from run to run are made neutral so that transcripts compare byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cp1252.h"
#include "cli/SearchCommand.h"

namespace sorbex {
namespace transcript {

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

// An argument as the program receives it: "ROOT" stands for the test's tree, alone, at
// the start of a path ("ROOT/r.sbx") or of an option's value ("--save=ROOT/r.sbx"); on
// Windows the program gets its arguments in the ANSI code page.
inline std::string ProgramArgument(const std::string& arg, const std::string& root) {
    std::string value = arg;
#ifdef _WIN32
    std::string converted;
    if (Utf8ToCp1252(value, converted))
        value = converted;
#endif
    if (value == "ROOT")
        return root;
    const std::size_t equals = value.find('=');
    const std::size_t at = equals == std::string::npos ? 0 : equals + 1;
    if (value.compare(at, 5, "ROOT/") == 0)
        value.replace(at, 5, root);
    else if (value.compare(0, 5, "ROOT/") == 0)
        value.replace(0, 5, root);
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

// Runs the command line that `args` show (see ProgramArgument) on the tree at `root` and
// returns its transcript; `input`, the answers typed at the questions, is shown after
// the command (null: standard input is no terminal).
inline std::string Run(const std::vector<std::string>& args, const std::string& root,
                       const CCliTerminal& terminal, const char* input, int& status) {
    std::vector<std::string> real;
    for (const std::string& arg : args)
        real.push_back(ProgramArgument(arg, root));
    std::string shown = ShownCommand(args);
    if (input != nullptr)
        shown += "\n--- stdin\n" + std::string(input);
    std::ostringstream out;
    std::ostringstream err;
    status = RunCli(real, out, err, terminal);
    return Compose(shown, out.str(), err.str(), status, root);
}

// Compares a transcript with its golden file. Set SORBEX_UPDATE_GOLDEN=1 to write the
// transcripts as the new golden files instead; review them.
inline void ExpectGolden(const std::string& name, const std::string& transcript) {
    if (std::getenv("SORBEX_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(GoldenPath(name), std::ios::binary) << transcript;
        return;
    }
    EXPECT_EQ(ReadBytes(GoldenPath(name)), transcript);
}

// A text of one-byte characters (Windows-1252 below 0x100) as UTF-16LE with its
// byte-order mark, as a text file holds it.
inline std::string Utf16LeFile(const std::string& latin) {
    std::string bytes = "\xFF\xFE";
    for (const char c : latin) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

} // namespace transcript
} // namespace sorbex
