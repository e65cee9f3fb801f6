// How numbers, dates and sizes are written in result pages.
#include "app/DisplayForms.h"

#include "strings/SorbexStrings.h"

namespace sorbex {

namespace {

std::string GroupDigits(const std::string& digits) {
    std::string grouped;
    grouped.reserve(digits.size() + digits.size() / 3 + 1);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += '.';
        grouped += digits[i];
    }
    return grouped;
}

} // namespace

std::string GroupThousands(std::int64_t value) {
    // The magnitude as unsigned, so that the smallest value has one too.
    const bool negative = value < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const std::string grouped = GroupDigits(std::to_string(magnitude));
    return negative ? "-" + grouped : grouped;
}

std::string FormatResultDate(const std::tm& time) {
    char text[128];
    const std::size_t length =
        std::strftime(text, sizeof text, SorbexString(IDS_RESULT_DATE_FORMAT), &time);
    return std::string(text, length);
}

bool FormatResultDate(std::int64_t secondsSince1970, std::string& text) {
    const auto seconds = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &seconds) != 0)
        return false;
#else
    if (!localtime_r(&seconds, &local))
        return false;
#endif
    text = FormatResultDate(local);
    return !text.empty();
}

std::string FormatResultSize(std::uint64_t bytes) {
    std::string text = SorbexString(IDS_RESULT_SIZE_FORMAT);
    const std::size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, GroupDigits(std::to_string(bytes)));
    return text;
}

} // namespace sorbex
