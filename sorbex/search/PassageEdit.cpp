// Replacing one passage of a result in its file, after checking that the file still holds it.
#include "search/PassageEdit.h"

#include <cstdint>
#include <limits>

#include "text/CleanText.h"
#include "text/FileTextLoader.h"

namespace sorbex {

bool FileStillHoldsPassage(const std::string& bytes, const CSearchResult& result) {
    if (result.start < 0 || result.end < result.start ||
        static_cast<std::uint64_t>(result.end) > bytes.size())
        return false;
    if (result.excerptStart < 0 || result.excerptEnd < result.excerptStart ||
        static_cast<std::size_t>(result.excerptEnd) > result.excerpt.size())
        return false;
    const auto kept = static_cast<std::size_t>(result.excerptEnd - result.excerptStart);
    const auto length = static_cast<std::size_t>(result.end - result.start);
    // A record whose excerpt claims more of the passage than the passage has, or less
    // than it could hold, does not describe what was searched.
    if (kept > length || (kept < length && kept < 510))
        return false;
    std::string cleaned = bytes.substr(static_cast<std::size_t>(result.start), kept);
    CleanText(cleaned.data(), cleaned.size());
    return cleaned.compare(0, kept, result.excerpt, static_cast<std::size_t>(result.excerptStart),
                           kept) == 0;
}

CPassageEdit ReplacePassageInFile(kestrix::FileSystem& fs, const CSearchResult& result,
                                  const std::string& replacement,
                                  const CReplacementEncoding& encoding) {
    const std::string path = result.dir + result.name;
    std::string bytes;
    if (fs.ReadFile(path, bytes))
        return {CPassageEditStatus::ReadFailed, 0};
    // The file is read as the search read it; its text's offsets are the results'.
    const CDetectedEncoding detected =
        DetectEncoding(bytes, encoding.choice, IsHtmlName(result.name));
    const bool bytewise = detected.encoding == CTextEncoding::Ansi;
    std::string text;
    std::vector<std::uint32_t> byteOffsets;
    if (!bytewise)
        DecodeText(bytes, detected, text, nullptr, &byteOffsets);
    if (!FileStillHoldsPassage(bytewise ? bytes : text, result))
        return {CPassageEditStatus::Changed, 0};

    std::string encoded;
    std::size_t characters = replacement.size();
    if (encoding.characters) {
        characters = encoding.characters->size();
        if (!EncodeCharacters(*encoding.characters, detected.encoding, encoded))
            return {CPassageEditStatus::Unencodable, 0};
    } else if (bytewise) {
        encoded = replacement;
    } else if (!EncodeCharacters(Cp1252Characters(replacement), detected.encoding, encoded)) {
        return {CPassageEditStatus::Unencodable, 0};
    }

    const auto start = static_cast<std::size_t>(result.start);
    const auto end = static_cast<std::size_t>(result.end);
    const std::size_t byteStart = bytewise ? start : byteOffsets[start];
    const std::size_t byteEnd = bytewise ? end : byteOffsets[end];
    // Offsets are stored as 32-bit numbers; a file that would outgrow them could not be
    // addressed by the results after this one.
    const std::uint64_t newSize =
        static_cast<std::uint64_t>(bytes.size()) - (byteEnd - byteStart) + encoded.size();
    if (newSize > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        return {CPassageEditStatus::WriteFailed, 0};

    std::string content;
    content.reserve(static_cast<std::size_t>(newSize));
    content.append(bytes, 0, byteStart);
    content.append(encoded);
    content.append(bytes, byteEnd, std::string::npos);
    if (fs.ReplaceFileContent(path, content))
        return {CPassageEditStatus::WriteFailed, 0};
    const auto delta =
        static_cast<std::int64_t>(characters) - static_cast<std::int64_t>(end - start);
    return {CPassageEditStatus::Replaced, static_cast<int>(delta)};
}

} // namespace sorbex
