// The printed lines of a result page: a file's line and a passage's line.
#include "cli/ResultLines.h"

#include <algorithm>
#include <charconv>
#include <ctime>

#include "cli/Cp1252.h"

namespace sorbex {
namespace {

// For a time the system cannot show as a date.
constexpr const char* kUnknownDate = "----------------";

} // namespace

namespace {

// The text of one time, as the system shows it, or false when it cannot.
bool LocalDateText(std::int64_t modified, char (&text)[32]) {
    const auto seconds = static_cast<std::time_t>(modified);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &seconds) != 0)
        return false;
#else
    if (!localtime_r(&seconds, &local))
        return false;
#endif
    return std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) != 0;
}

// The last time formatted and its text. Files unpacked or checked out together share
// their time, and the zone is read once per run (localtime_r does not read it again),
// so the same seconds always give the same text.
struct CLastDate {
    bool known = false;
    std::int64_t modified = 0;
    std::string text;
};

const std::string& CachedDate(std::int64_t modified) {
    thread_local CLastDate last;
    if (!last.known || last.modified != modified) {
        char text[32];
        last.text = LocalDateText(modified, text) ? text : kUnknownDate;
        last.modified = modified;
        last.known = true;
    }
    return last.text;
}

} // namespace

std::string FormatDate(std::int64_t modified) {
    return CachedDate(modified);
}

void AppendFileLine(std::string& out, const std::string& name, const std::string& dir,
                    bool isDirectory, std::uint64_t size, std::int64_t modified) {
    AppendControlsEscaped(name, out);
    out += "  ";
    if (isDirectory) {
        out += "<DIR>";
    } else {
        char digits[24];
        const auto [end, error] = std::to_chars(digits, digits + sizeof digits, size);
        static_cast<void>(error); // 24 places hold any 64-bit number
        out.append(digits, end);
        out += " bytes";
    }
    out += "  ";
    out += CachedDate(modified);
    out += "  ";
    AppendControlsEscaped(dir, out);
}

std::string FormatFileLine(const std::string& name, const std::string& dir, bool isDirectory,
                           std::uint64_t size, std::int64_t modified) {
    std::string line;
    line.reserve(name.size() + dir.size() + 48);
    AppendFileLine(line, name, dir, isDirectory, size, modified);
    return line;
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
    if (result.excerptOutside.empty()) {
        std::string line = FormatPassageLine(result, highlight);
        // A file matched as a whole has no excerpt: the line is plain ASCII.
        return result.start == 0 && result.end == 0 ? line : ForTerminal(line);
    }
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
