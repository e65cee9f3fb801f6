// The printed lines of a result page: a file's line and a passage's line.
#include "cli/ResultLines.h"

#include <algorithm>
#include <ctime>

#include "cli/Cp1252.h"

namespace sorbex {
namespace {

// For a time the system cannot show as a date.
constexpr const char* kUnknownDate = "----------------";

} // namespace

std::string FormatDate(std::int64_t modified) {
    const auto seconds = static_cast<std::time_t>(modified);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &seconds) != 0)
        return kUnknownDate;
#else
    if (!localtime_r(&seconds, &local))
        return kUnknownDate;
#endif
    char text[32];
    if (std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) == 0)
        return kUnknownDate;
    return text;
}

std::string FormatFileLine(const std::string& name, const std::string& dir, bool isDirectory,
                           std::uint64_t size, std::int64_t modified) {
    const std::string sizeText = isDirectory ? "<DIR>" : std::to_string(size) + " bytes";
    return EscapeControls(name) + "  " + sizeText + "  " + FormatDate(modified) + "  " +
           EscapeControls(dir);
}

namespace {

// The passage line with each piece of the excerpt written by `piece`(text, offset in
// the excerpt).
template <typename PieceWriter>
std::string FormatPassageLineWith(const CSearchResult& result, CHighlight highlight,
                                  PieceWriter piece) {
    if (result.start == 0 && result.end == 0)
        return "  (the file matches as a whole)";
    const std::string& excerpt = result.excerpt;
    const auto size = static_cast<std::int32_t>(excerpt.size());
    const std::int32_t from = std::clamp(result.excerptStart, 0, size);
    const std::int32_t to = std::clamp(result.excerptEnd, from, size);
    const char* open = highlight == CHighlight::Colour ? "\x1b[1;31m" : "[[";
    const char* close = highlight == CHighlight::Colour ? "\x1b[0m" : "]]";
    // A passage longer than the excerpt goes on beyond its end.
    const bool cut = result.end - result.start > to - from;
    // A stored page may hold any bytes in its excerpts.
    const std::string_view text = excerpt;
    const auto at = static_cast<std::size_t>(from);
    const auto past = static_cast<std::size_t>(to);
    return "  " + std::to_string(result.start) + "-" + std::to_string(result.end) + ": " +
           piece(text.substr(0, at), 0) + open + piece(text.substr(at, past - at), at) +
           (cut ? "..." : "") + close + piece(text.substr(past), past);
}

} // namespace

std::string FormatPassageLine(const CSearchResult& result, CHighlight highlight) {
    return FormatPassageLineWith(
        result, highlight, [](std::string_view text, std::size_t) { return EscapeControls(text); });
}

std::string PassageLineForTerminal(const CSearchResult& result, CHighlight highlight) {
    if (result.excerptOutside.empty())
        return ForTerminal(FormatPassageLine(result, highlight));
    const std::vector<COutsideCharacter>& outside = result.excerptOutside;
    return FormatPassageLineWith(result, highlight, [&](std::string_view text, std::size_t offset) {
        std::string out;
        auto next = std::lower_bound(
            outside.begin(), outside.end(), static_cast<std::uint32_t>(offset),
            [](const COutsideCharacter& entry, std::uint32_t o) { return entry.offset < o; });
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto here = static_cast<std::uint32_t>(offset + i);
            while (next != outside.end() && next->offset < here)
                ++next;
            if (next != outside.end() && next->offset == here && text[i] == kSubstituteByte)
                out += CharacterForTerminal(next->character);
            else
                out += ForTerminal(EscapeControls(text.substr(i, 1)));
        }
        return out;
    });
}

} // namespace sorbex
