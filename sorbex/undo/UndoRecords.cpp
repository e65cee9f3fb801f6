// The undo journal's record files: what a walk kept of each file, read and written as text.
#include "undo/UndoRecords.h"

#include <string>

#include "undo/ContentHash.h"

namespace sorbex {
namespace {

constexpr const char* kKeptKind = "sorbex-undo-kept";
constexpr const char* kLeftKind = "sorbex-undo-left";
constexpr const char* kWalkKind = "sorbex-undo-walk";
// The path comes last and runs to the end of the record: POSIX names may hold any
// byte but NUL, a line break too.
constexpr const char* kPathKey = "path";

std::string Header(const char* kind) {
    return std::string(kind) + " " + std::to_string(kUndoFormatVersion) + "\n";
}

// The fields of a record "KIND VERSION\nkey value\n...", or false when the first line
// is not `kind` at this version or a line has no value.
bool ReadFields(const std::string& text, const char* kind,
                std::map<std::string, std::string>& fields) {
    fields.clear();
    std::size_t at = text.find('\n');
    if (at == std::string::npos || text.compare(0, at, Header(kind), 0, at) != 0 ||
        at + 1 != Header(kind).size())
        return false;
    ++at;
    while (at < text.size()) {
        const std::size_t space = text.find(' ', at);
        if (space == std::string::npos)
            return false;
        const std::string key = text.substr(at, space - at);
        if (key == kPathKey) {
            if (text.back() != '\n')
                return false;
            fields[key] = text.substr(space + 1, text.size() - space - 2);
            return true;
        }
        const std::size_t end = text.find('\n', space);
        if (end == std::string::npos)
            return false;
        fields[key] = text.substr(space + 1, end - space - 1);
        at = end + 1;
    }
    return true;
}

bool ReadNumber(const std::map<std::string, std::string>& fields, const char* key,
                std::uint64_t& value) {
    const auto found = fields.find(key);
    if (found == fields.end() || found->second.empty() || found->second.size() > 20)
        return false;
    value = 0;
    for (const char c : found->second) {
        if (c < '0' || c > '9')
            return false;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

bool ReadHash(const std::map<std::string, std::string>& fields, const char* key,
              std::uint64_t& value) {
    const auto found = fields.find(key);
    return found != fields.end() && ParseHashText(found->second, value);
}

} // namespace

std::string FormatKept(const CUndoKept& kept) {
    return Header(kKeptKind) + "old-size " + std::to_string(kept.oldSize) + "\nold-hash " +
           HashText(kept.oldHash) + "\nattributes " + std::to_string(kept.attributes) + "\n" +
           kPathKey + " " + kept.path + "\n";
}

std::string FormatLeft(const CUndoLeft& left) {
    return Header(kLeftKind) + "size " + std::to_string(left.size) + "\nwrite-time " +
           std::to_string(left.writeTime) + "\nhash " + HashText(left.hash) + "\n";
}

std::string FormatWalkRecord(const CUndoWalkRecord& walk) {
    return Header(kWalkKind) + "started " + std::to_string(walk.started) + "\n";
}

bool ParseKept(const std::string& text, CUndoKept& kept) {
    std::map<std::string, std::string> fields;
    std::uint64_t attributes = 0;
    if (!ReadFields(text, kKeptKind, fields) || !ReadNumber(fields, "old-size", kept.oldSize) ||
        !ReadHash(fields, "old-hash", kept.oldHash) ||
        !ReadNumber(fields, "attributes", attributes) || attributes > UINT32_MAX)
        return false;
    const auto path = fields.find(kPathKey);
    if (path == fields.end() || path->second.empty())
        return false;
    kept.path = path->second;
    kept.attributes = static_cast<std::uint32_t>(attributes);
    return true;
}

bool ParseLeft(const std::string& text, CUndoLeft& left) {
    std::map<std::string, std::string> fields;
    return ReadFields(text, kLeftKind, fields) && ReadNumber(fields, "size", left.size) &&
           ReadNumber(fields, "write-time", left.writeTime) && ReadHash(fields, "hash", left.hash);
}

bool ParseWalkRecord(const std::string& text, CUndoWalkRecord& walk) {
    std::map<std::string, std::string> fields;
    std::uint64_t started = 0;
    if (!ReadFields(text, kWalkKind, fields) || !ReadNumber(fields, "started", started) ||
        started > static_cast<std::uint64_t>(INT64_MAX))
        return false;
    walk.started = static_cast<std::int64_t>(started);
    return true;
}

} // namespace sorbex
