// The printed form of one passage: its offsets and its line with the passage marked.
#include "cli/PassageLine.h"

#include <algorithm>

namespace sorbex {
namespace {

constexpr std::size_t kContext = 40;       // bytes shown on each side of a passage
constexpr std::size_t kPassageShown = 200; // bytes shown of a long passage

} // namespace

std::string FormatPassageLine(std::string_view text, const CPassage& passage) {
    const std::size_t start =
        std::min(static_cast<std::size_t>(std::max(passage.start, 0)), text.size());
    const std::size_t end =
        std::clamp(static_cast<std::size_t>(std::max(passage.end, 0)), start, text.size());

    const std::size_t feedBefore =
        start == 0 ? std::string_view::npos : text.rfind('\n', start - 1);
    std::size_t lineStart = feedBefore == std::string_view::npos ? 0 : feedBefore + 1;
    std::size_t lineEnd = text.find('\n', end);
    if (lineEnd == std::string_view::npos) {
        lineEnd = text.size();
    }

    std::string out =
        "  " + std::to_string(passage.start) + "-" + std::to_string(passage.end) + ": ";
    if (start - lineStart > kContext) {
        lineStart = start - kContext;
        out += "...";
    }
    out.append(text.substr(lineStart, start - lineStart));
    out += "[[";
    if (end - start > kPassageShown) {
        out.append(text.substr(start, kPassageShown));
        out += "...";
    } else {
        out.append(text.substr(start, end - start));
    }
    out += "]]";
    const bool cutAfter = lineEnd - end > kContext;
    out.append(text.substr(end, std::min(lineEnd - end, kContext)));
    if (cutAfter) {
        out += "...";
    }
    return out;
}

} // namespace sorbex
