// The profile: named values in sections, and the text encoding of each kind of value.
#include "app/Profile.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sorbex {
namespace {

constexpr const char* kFaceNameKey = "FaceName";
constexpr const char* kStyleNameKey = "StyleName";
constexpr const char* kHeightKey = "Height";
constexpr const char* kWeightKey = "Weight";
constexpr const char* kStyleKey = "Style";
constexpr const char* kColorKey = "Color";
constexpr std::size_t kPlacementNumbers = 10;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trimmed(const std::string& text) {
    std::size_t from = 0;
    std::size_t to = text.size();
    while (from < to && IsBlank(text[from]))
        ++from;
    while (to > from && IsBlank(text[to - 1]))
        --to;
    return text.substr(from, to - from);
}

std::string ListKey(const std::string& base, std::size_t number) {
    return base + std::to_string(number);
}

} // namespace

bool CMemoryProfileStore::Read(const std::string& section, const std::string& key,
                               std::string& value) {
    const auto found = values_.find({section, key});
    if (found == values_.end())
        return false;
    value = found->second;
    return true;
}

void CMemoryProfileStore::Write(const std::string& section, const std::string& key,
                                const std::string& value) {
    values_[{section, key}] = value;
}

void CMemoryProfileStore::Remove(const std::string& section, const std::string& key) {
    values_.erase({section, key});
}

bool CWindowPlacementValue::operator==(const CWindowPlacementValue& o) const {
    return flags == o.flags && showCommand == o.showCommand && minX == o.minX && minY == o.minY &&
           maxX == o.maxX && maxY == o.maxY && left == o.left && top == o.top && right == o.right &&
           bottom == o.bottom;
}

bool ParseProfileNumber(const std::string& text, long& value) {
    const std::string digits = Trimmed(text);
    std::size_t i = 0;
    if (i < digits.size() && (digits[i] == '-' || digits[i] == '+'))
        ++i;
    if (i == digits.size())
        return false;
    for (std::size_t j = i; j < digits.size(); ++j)
        if (digits[j] < '0' || digits[j] > '9')
            return false;
    errno = 0;
    const long parsed = std::strtol(digits.c_str(), nullptr, 10);
    if (errno == ERANGE)
        return false;
    value = parsed;
    return true;
}

std::string FormatProfileDouble(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%lf", value);
    return text;
}

bool ParseProfileDouble(const std::string& text, double& value) {
    const std::string number = Trimmed(text);
    if (number.empty())
        return false;
    char* end = nullptr;
    const double parsed = std::strtod(number.c_str(), &end);
    if (end != number.c_str() + number.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

std::string FormatNumberList(const std::vector<long>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += ',';
        text += std::to_string(values[i]);
    }
    return text;
}

bool ParseNumberList(const std::string& text, std::size_t count, std::vector<long>& values) {
    std::vector<long> parsed;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t comma = text.find(',', from);
        if (comma == std::string::npos)
            comma = text.size();
        long number = 0;
        if (!ParseProfileNumber(text.substr(from, comma - from), number))
            return false;
        parsed.push_back(number);
        from = comma + 1;
    }
    if (parsed.size() != count)
        return false;
    values = parsed;
    return true;
}

std::string FormatPlacement(const CWindowPlacementValue& p) {
    char text[160];
    std::snprintf(text, sizeof text, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.showCommand,
                  p.minX, p.minY, p.maxX, p.maxY, p.left, p.top, p.right, p.bottom);
    return text;
}

bool ParsePlacement(const std::string& text, CWindowPlacementValue& placement) {
    std::vector<long> n;
    if (!ParseNumberList(text, kPlacementNumbers, n))
        return false;
    for (long value : n)
        if (value < INT_MIN || value > INT_MAX)
            return false;
    if (n[0] < 0 || n[1] < 0)
        return false;
    placement.flags = static_cast<unsigned>(n[0]);
    placement.showCommand = static_cast<unsigned>(n[1]);
    int* fields[] = {&placement.minX, &placement.minY, &placement.maxX,  &placement.maxY,
                     &placement.left, &placement.top,  &placement.right, &placement.bottom};
    for (std::size_t i = 0; i < 8; ++i)
        *fields[i] = static_cast<int>(n[i + 2]);
    return true;
}

int CProfile::GetInt(const std::string& section, const std::string& key, int fallback) {
    std::string text;
    long value = 0;
    if (!store_.Read(section, key, text) || !ParseProfileNumber(text, value) || value < INT_MIN ||
        value > INT_MAX)
        return fallback;
    return static_cast<int>(value);
}

void CProfile::WriteInt(const std::string& section, const std::string& key, int value) {
    store_.Write(section, key, std::to_string(value));
}

std::string CProfile::GetString(const std::string& section, const std::string& key,
                                const std::string& fallback) {
    std::string text;
    return store_.Read(section, key, text) ? text : fallback;
}

void CProfile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    store_.Write(section, key, value);
}

double CProfile::GetDouble(const std::string& section, const std::string& key, double fallback) {
    std::string text;
    double value = 0;
    if (!store_.Read(section, key, text) || !ParseProfileDouble(text, value))
        return fallback;
    return value;
}

void CProfile::WriteDouble(const std::string& section, const std::string& key, double value) {
    store_.Write(section, key, FormatProfileDouble(value));
}

bool CProfile::GetNumberList(const std::string& section, const std::string& key,
                             std::vector<long>& values) {
    std::string text;
    return store_.Read(section, key, text) && ParseNumberList(text, values.size(), values);
}

void CProfile::WriteNumberList(const std::string& section, const std::string& key,
                               const std::vector<long>& values) {
    store_.Write(section, key, FormatNumberList(values));
}

bool CProfile::GetPlacement(const std::string& section, const std::string& key,
                            CWindowPlacementValue& placement) {
    std::string text;
    return store_.Read(section, key, text) && ParsePlacement(text, placement);
}

void CProfile::WritePlacement(const std::string& section, const std::string& key,
                              const CWindowPlacementValue& placement) {
    store_.Write(section, key, FormatPlacement(placement));
}

std::vector<std::string> CProfile::GetTextList(const std::string& section,
                                               const std::string& base) {
    std::vector<std::string> list;
    std::string text;
    for (std::size_t n = 1; store_.Read(section, ListKey(base, n), text) && !text.empty(); ++n)
        list.push_back(text);
    return list;
}

void CProfile::WriteTextList(const std::string& section, const std::string& base,
                             const std::vector<std::string>& list, std::size_t maxCount,
                             bool deleteHigher) {
    const std::size_t count = list.size() < maxCount ? list.size() : maxCount;
    for (std::size_t i = 0; i < count; ++i)
        store_.Write(section, ListKey(base, i + 1), list[i]);
    if (!deleteHigher)
        return;
    std::string text;
    for (std::size_t n = count + 1; store_.Read(section, ListKey(base, n), text); ++n)
        store_.Remove(section, ListKey(base, n));
}

CViewerFont CProfile::GetFont(const std::string& section) {
    const CViewerFont defaults;
    CViewerFont font;
    font.faceName = GetString(section, kFaceNameKey, defaults.faceName);
    font.styleName = GetString(section, kStyleNameKey, defaults.styleName);
    font.height = GetInt(section, kHeightKey, defaults.height);
    font.weight = GetInt(section, kWeightKey, defaults.weight);
    font.style = GetInt(section, kStyleKey, defaults.style);
    font.color = GetInt(section, kColorKey, defaults.color);
    return font;
}

void CProfile::WriteFont(const std::string& section, const CViewerFont& font) {
    WriteString(section, kFaceNameKey, font.faceName);
    WriteString(section, kStyleNameKey, font.styleName);
    WriteInt(section, kHeightKey, font.height);
    WriteInt(section, kWeightKey, font.weight);
    WriteInt(section, kStyleKey, font.style);
    WriteInt(section, kColorKey, font.color);
}

} // namespace sorbex
