// One result of a search: a passage of a file, a file without passages, or a listed entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "text/TextEncoding.h"
#include "text/TextOrigin.h"

namespace sorbex {

class CArchiveReader;
class CArchiveWriter;

// Bits of CSearchResult::flags.
constexpr int kResultReplaced = 0x1;
constexpr int kResultFirstOfFile = 0x2; // in a file listing: first entry of a new directory
constexpr int kResultDirectory = 0x4;
constexpr int kResultConverted = kTextConverted;
constexpr int kResultExternal = kTextExternal;

class CSearchResult {
public:
    static constexpr const char* kClassName = "CSearchResult";
    static constexpr std::uint16_t kSchema = 1;
    static constexpr std::int32_t kVersion = 1;

    CSearchResult() = default;
    // Takes the passage [start, end) of `text` and builds the excerpt around it; the
    // search run sets passageCount and flags afterwards.
    CSearchResult(const char* text, std::size_t length, int start, int end, std::string dir,
                  std::string name);

    // The record without its object tag. Load returns false, reading nothing after the
    // version, when the record is of a version this program does not know.
    void Store(CArchiveWriter& archive) const;
    bool Load(CArchiveReader& archive);

    std::int32_t start = 0; // offset of the passage in the file's search text
    std::int32_t end = 0;   // one past the passage
    std::string excerpt;    // one line around the passage, at most 510 characters
    std::int32_t excerptStart = 0;
    std::int32_t excerptEnd = 0;
    std::int32_t viewPosition = 0; // where the result page wrote the result
    std::int32_t passageCount = 0; // results of this file in this search
    std::string dir;               // ends in a path separator
    std::string name;
    std::int32_t flags = 0;
    // The characters of the file that the excerpt holds as the substitute byte, their
    // offsets counted in the excerpt; known while the search runs, not stored.
    std::vector<COutsideCharacter> excerptOutside;
};

} // namespace sorbex
