// The texts a search run closes with, and the timing they report.
#include "search/RunMessages.h"

#include <cstdio>

#include "strings/SorbexStrings.h"

namespace sorbex {

double ElapsedSeconds(std::uint32_t startMs, std::uint32_t endMs) {
    const std::uint32_t elapsed = endMs - startMs;
    return elapsed * 0.001;
}

std::string FormatTimedMessage(unsigned id, double seconds) {
    char text[256];
    std::snprintf(text, sizeof text, SorbexString(id), seconds);
    return text;
}

std::string FormatReplaceTagTooHigh(int replaceTag, int groupCount) {
    char text[128];
    std::snprintf(text, sizeof text, SorbexString(IDS_REPLACE_TAG_TOO_HIGH),
                  static_cast<long>(replaceTag), static_cast<long>(groupCount));
    return text;
}

std::string FormatConverterFailure(const std::string& library, const std::string& file,
                                   CConverterFailure failure) {
    if (file.empty())
        return FormatSorbexString(IDS_CONVERTER_NOT_STARTED, {library});
    const unsigned id = failure == CConverterFailure::Crashed ? IDS_CONVERTER_CRASHED
                        : failure == CConverterFailure::Hung  ? IDS_CONVERTER_HUNG
                                                              : IDS_CONVERTER_TOO_LARGE;
    return FormatSorbexString(id, {file, library});
}

} // namespace sorbex
