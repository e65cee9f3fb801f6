// The search command of the front end: walks directories and prints what it finds.
#include "cli/SearchCommand.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <system_error>

#include "cli/CleanText.h"
#include "cli/CliArguments.h"
#include "cli/Cp1252.h"
#include "cli/PassageLine.h"
#include "engine/SearchExpression.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace fs = std::filesystem;

namespace {

// Windows hands the program its arguments in the ANSI code page and its console shows
// that code page, which for the texts searched is Windows-1252. Elsewhere terminals
// speak UTF-8: convert on the way in and out.
std::string ExpressionFromTerminal(const std::string& arg) {
#ifdef _WIN32
    return arg;
#else
    std::string converted;
    return Utf8ToCp1252(arg, converted) ? converted : arg;
#endif
}

std::string ForTerminal(const std::string& text) {
#ifdef _WIN32
    return text;
#else
    return Cp1252ToUtf8(text);
#endif
}

std::string DisplayPath(const fs::path& path) {
    const auto text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

// The regular files below `directory`, sorted by path. Directories that cannot be
// entered are reported and skipped.
std::vector<fs::path> CollectFiles(const fs::path& directory, std::ostream& err, bool& failed) {
    std::vector<fs::path> files;
    std::error_code error;
    if (!fs::is_directory(directory, error)) {
        err << "sorbex: not a directory: " << DisplayPath(directory) << "\n";
        failed = true;
        return files;
    }
    fs::recursive_directory_iterator it(directory, fs::directory_options::skip_permission_denied,
                                        error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) {
            files.push_back(it->path());
        }
    }
    if (error) {
        err << "sorbex: cannot list " << DisplayPath(directory) << ": " << error.message() << "\n";
        failed = true;
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool ReadFileBytes(const fs::path& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) {
        return false;
    }
    bytes = content.str();
    return true;
}

std::string TagTooHighMessage(int tag, int groupCount) {
    char message[512];
    std::snprintf(message, sizeof message, SorbexString(IDS_REPLACE_TAG_TOO_HIGH),
                  static_cast<long>(tag), static_cast<long>(groupCount));
    return message;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CliOptions options;
    const std::string usageError = ParseCliArguments(args, options);
    if (options.help) {
        out << kCliUsage;
        return 0;
    }
    if (!usageError.empty()) {
        err << "sorbex: " << usageError << "\n" << kCliUsage;
        return kExitError;
    }

    // An empty expression lists the files instead of searching them.
    const std::string expression = ExpressionFromTerminal(options.expression);
    CPatternRegistry registry;
    std::unique_ptr<CExprNode> root;
    if (!expression.empty()) {
        int groupCount = 0;
        if (auto error = CompileSearchExpression(expression, true, false, options.wholeWords,
                                                 options.matchCase, registry, root, groupCount)) {
            err << SorbexString(IDS_SEARCH_EXPRESSION_ERROR) << error->what() << "\n";
            return kExitError;
        }
        if (options.tag > groupCount) {
            err << SorbexString(IDS_SEARCH_EXPRESSION_ERROR)
                << TagTooHighMessage(options.tag, groupCount) << "\n";
            return kExitError;
        }
    }

    bool failed = false;
    bool found = false;
    for (const std::string& directory : options.directories) {
        for (const fs::path& path : CollectFiles(directory, err, failed)) {
            if (root == nullptr) {
                out << DisplayPath(path) << "\n";
                found = true;
                continue;
            }
            std::string bytes;
            if (!ReadFileBytes(path, bytes)) {
                err << "sorbex: cannot read " << DisplayPath(path) << "\n";
                failed = true;
                continue;
            }
            const std::string text = CleanText(std::move(bytes));
            std::unique_ptr<CPassageList> list =
                root->Evaluate(text.c_str(), text.size(), options.tag);
            if (list == nullptr) {
                continue;
            }
            switch (InterpretRootList(*list, options.tag)) {
            case ExprOutcome::NoMatch:
                break;
            case ExprOutcome::FileLevelMatch:
                out << DisplayPath(path) << "\n  (the file matches as a whole)\n";
                found = true;
                break;
            case ExprOutcome::MatchWithPassages:
                out << DisplayPath(path) << "\n";
                for (const CPassage& passage : list->passages) {
                    out << ForTerminal(FormatPassageLine(text, passage)) << "\n";
                }
                found = true;
                break;
            }
        }
    }
    if (failed) {
        return kExitError;
    }
    return found ? kExitFound : kExitNothingFound;
}

} // namespace sorbex
