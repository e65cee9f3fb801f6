// The rows and the key order of the preview.
#include "preview/PreviewRows.h"

#include "host/AsciiCase.h"
#include "platform/Registry.h"
#include "strings/KeywrightStrings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace keywright {

namespace {

constexpr std::size_t kFirstDataSize = 512;
constexpr std::size_t kNameBufferSize = 8192;
constexpr std::uint32_t kKeyNameBufferSize = 512;

enum class DataForm { kString, kNumber, kBytes };

struct TypeRow {
    std::uint32_t type;
    int image;
    DataForm form;
};

// The type table, sorted by type; a type not in it gets no row.
constexpr TypeRow kTypeRows[] = {
    {1, kImageStringValue, DataForm::kString}, // string
    {2, kImageOtherValue, DataForm::kBytes},   // expandable string
    {3, kImageOtherValue, DataForm::kBytes},   // binary
    {4, kImageOtherValue, DataForm::kNumber},  // double word
    {6, kImageOtherValue, DataForm::kBytes},   // link
    {7, kImageOtherValue, DataForm::kBytes},   // multi-string
    {8, kImageOtherValue, DataForm::kBytes},   // resource list
};

std::string StringData(const std::uint8_t* data, std::uint32_t length) {
    // Up to the first zero byte, and never past the data when they hold none
    // (hex(1):41,42).
    const auto* end = std::find(data, data + length, 0);
    return "\"" +
           std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(end - data)) +
           "\"";
}

std::string NumberData(const std::uint8_t* data, std::uint32_t length) {
    // A double word read from the file has four bytes; one given as hex(4) may have
    // fewer, and the missing high bytes count as zero.
    std::uint32_t number = 0;
    for (std::uint32_t i = 0; i < length && i < 4; ++i)
        number |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    char text[32];
    std::snprintf(text, sizeof text, "0x%08x (%d)", static_cast<unsigned>(number),
                  static_cast<int>(static_cast<std::int32_t>(number)));
    return text;
}

std::string BytesData(const std::uint8_t* data, std::uint32_t length) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(length * 3);
    for (std::uint32_t i = 0; i < length; ++i) {
        if (i > 0)
            text.push_back(' ');
        text.push_back(kDigits[data[i] >> 4]);
        text.push_back(kDigits[data[i] & 15]);
    }
    return text;
}

} // namespace

std::optional<PreviewRow> RowForValue(std::string_view name, std::uint32_t type,
                                      const std::uint8_t* data, std::uint32_t length) {
    const auto row = std::lower_bound(std::begin(kTypeRows), std::end(kTypeRows), type,
                                      [](const TypeRow& r, std::uint32_t t) { return r.type < t; });
    if (row == std::end(kTypeRows) || row->type != type)
        return std::nullopt;
    PreviewRow out;
    out.name = name.empty() ? KeywrightString(kStrDefaultValueName) : std::string(name);
    out.image = row->image;
    switch (row->form) {
    case DataForm::kString:
        out.data = StringData(data, length);
        break;
    case DataForm::kNumber:
        out.data = NumberData(data, length);
        break;
    case DataForm::kBytes:
        out.data = BytesData(data, length);
        break;
    }
    return out;
}

ValueListReader::ValueListReader() : data_(kFirstDataSize), name_(kNameBufferSize) {}

std::vector<PreviewRow> ValueListReader::Rows(const CRE4Tree& tree, const CRE4Key* key) {
    std::vector<PreviewRow> rows;
    bool defaultSeen = false;
    for (std::uint32_t index = 0;;) {
        auto nameSize = static_cast<std::uint32_t>(name_.size());
        auto dataSize = static_cast<std::uint32_t>(data_.size());
        std::uint32_t type = 0;
        const long result = tree.EnumValue(key, index, name_.data(), &nameSize, nullptr, &type,
                                           data_.data(), &dataSize);
        if (result == kRE4MoreData) {
            data_.assign(data_.size() * 2, 0);
            continue; // the same index again
        }
        if (result != kRE4Success)
            break;
        const std::string_view name(name_.data());
        if (name.empty())
            defaultSeen = true;
        if (auto row = RowForValue(name, type, data_.data(), dataSize))
            rows.push_back(std::move(*row));
        ++index;
    }
    if (!defaultSeen)
        rows.push_back({KeywrightString(kStrDefaultValueName), kImageStringValue,
                        KeywrightString(kStrValueNotSet)});
    std::stable_sort(rows.begin(), rows.end(), [](const PreviewRow& a, const PreviewRow& b) {
        return PreviewNameLess(a.name, b.name);
    });
    return rows;
}

bool PreviewNameLess(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(AsciiUpper(a[i]));
        const auto y = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    // Names that differ only in case: a fixed order all the same.
    return a < b;
}

std::vector<PreviewChild> ChildrenOf(const CRE4Tree& tree, const CRE4Key* key) {
    std::vector<PreviewChild> children;
    char name[kKeyNameBufferSize];
    for (std::uint32_t index = 0; tree.EnumKey(key, index, name, sizeof name) == kRE4Success;
         ++index) {
        PreviewChild child;
        child.name = name;
        if (tree.OpenKey(key, child.name, &child.key) == kRE4Success) {
            char first[1];
            child.hasChildren = tree.EnumKey(child.key, 0, first, sizeof first) == kRE4Success;
        } else {
            child.key = nullptr;
        }
        children.push_back(std::move(child));
    }
    std::stable_sort(children.begin(), children.end(),
                     [](const PreviewChild& a, const PreviewChild& b) {
                         return PreviewNameLess(a.name, b.name);
                     });
    return children;
}

std::string InvalidFileFormatText(std::uint32_t line) {
    std::string text = KeywrightString(kStrInvalidFileFormat);
    const std::size_t at = text.find("%u");
    if (at != std::string::npos)
        text.replace(at, 2, std::to_string(line));
    return text;
}

} // namespace keywright
