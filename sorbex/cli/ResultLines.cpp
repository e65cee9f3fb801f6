// The printed lines of a result page: a file's line and a passage's line.
#include "cli/ResultLines.h"

#include <algorithm>
#include <ctime>

#include "cli/Cp1252.h"

namespace sorbex {
namespace {

// For a time the system cannot show as a date.
constexpr const char* kUnknownDate = "----------------";

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

} // namespace

std::string FormatFileLine(const std::string& name, const std::string& dir, bool isDirectory,
                           std::uint64_t size, std::int64_t modified) {
    const std::string sizeText = isDirectory ? "<DIR>" : std::to_string(size) + " bytes";
    return EscapeControls(name) + "  " + sizeText + "  " + FormatDate(modified) + "  " +
           EscapeControls(dir);
}

std::string FormatPassageLine(const CSearchResult& result, CHighlight highlight) {
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
    return "  " + std::to_string(result.start) + "-" + std::to_string(result.end) + ": " +
           EscapeControls(text.substr(0, static_cast<std::size_t>(from))) + open +
           EscapeControls(text.substr(static_cast<std::size_t>(from),
                                      static_cast<std::size_t>(to - from))) +
           (cut ? "..." : "") + close + EscapeControls(text.substr(static_cast<std::size_t>(to)));
}

} // namespace sorbex
