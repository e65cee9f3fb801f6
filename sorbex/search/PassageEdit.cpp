// Replacing the accepted passages of a file in one rewrite, after checking that the file
// still holds them.
#include "search/PassageEdit.h"

#include <cstdint>

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

CFileEdit ReplacePassagesInFile(kestrix::FileSystem& fs,
                                const std::vector<const CSearchResult*>& passages,
                                const std::string& replacement,
                                const COldContentKeeper& keepOldContent,
                                const CReplacementEncoding& encoding,
                                const CNewContentNoter& noteNewContent) {
    CFileEdit edit;
    edit.replacementLength =
        encoding.characters ? encoding.characters->size() : replacement.size();
    if (passages.empty())
        return edit;
    const std::string path = passages.front()->dir + passages.front()->name;
    std::string bytes;
    if ((edit.error = fs.ReadFile(path, bytes)))
        return edit;

    // The file is read as the search read it: the passages' offsets count in its text,
    // and text range [a, b) is file range [byteOffsets[a], byteOffsets[b]).
    const CDetectedEncoding detected =
        DetectEncoding(bytes, encoding.choice, IsHtmlName(passages.front()->name));
    const bool bytewise = detected.encoding == CTextEncoding::Ansi;
    std::string text;
    std::vector<std::uint32_t> byteOffsets;
    if (!bytewise)
        DecodeText(bytes, detected, text, nullptr, &byteOffsets);
    const std::string& searched = bytewise ? bytes : text;
    const auto fileOffset = [&](std::int32_t offset) {
        const auto at = static_cast<std::size_t>(offset);
        return bytewise ? at : static_cast<std::size_t>(byteOffsets[at]);
    };

    // The passages the file still holds, from the first, in their order.
    std::size_t textCopied = 0; // characters of the searched text before the last passage's end
    edit.status = CPassageEditStatus::Replaced;
    for (const CSearchResult* passage : passages) {
        if (!FileStillHoldsPassage(searched, *passage) ||
            static_cast<std::size_t>(passage->start) < textCopied) {
            edit.status = CPassageEditStatus::Changed;
            break;
        }
        textCopied = static_cast<std::size_t>(passage->end);
        ++edit.applied;
    }
    if (edit.applied == 0)
        return edit;

    // The replacement in the file's own encoding; a file that cannot hold it stays whole.
    std::string encoded;
    bool encodable = true;
    if (encoding.characters)
        encodable = EncodeCharacters(*encoding.characters, detected.encoding, encoded);
    else if (bytewise)
        encoded = replacement;
    else
        encodable = EncodeCharacters(Cp1252Characters(replacement), detected.encoding, encoded);
    if (!encodable) {
        edit.status = CPassageEditStatus::Unencodable;
        edit.applied = 0;
        return edit;
    }

    // Offsets are stored as 32-bit numbers; a file that would outgrow them could not be
    // addressed by the results after these. The size is worked out before the content is
    // made, which on a 32-bit system could not even be held.
    std::uint64_t newSize = bytes.size();
    for (std::size_t i = 0; i < edit.applied; ++i)
        newSize = newSize + encoded.size() -
                  (fileOffset(passages[i]->end) - fileOffset(passages[i]->start));
    if (newSize > kLargestEditableFile) {
        edit.status = CPassageEditStatus::TooLarge;
        edit.applied = 0;
        return edit;
    }

    // Every byte outside the passages (a byte-order mark too) stays as it was.
    std::string content;
    content.reserve(static_cast<std::size_t>(newSize));
    std::size_t copied = 0; // bytes of the old content already in `content`
    for (std::size_t i = 0; i < edit.applied; ++i) {
        const std::size_t byteStart = fileOffset(passages[i]->start);
        content.append(bytes, copied, byteStart - copied);
        content.append(encoded);
        copied = fileOffset(passages[i]->end);
    }
    content.append(bytes, copied, std::string::npos);

    if (!edit.error && keepOldContent)
        edit.error = keepOldContent(path, bytes);
    if (!edit.error)
        edit.error = fs.ReplaceFileContent(path, content);
    if (edit.error) {
        edit.status = CPassageEditStatus::WriteFailed;
        edit.applied = 0;
    } else if (noteNewContent) {
        noteNewContent(path, content);
    }
    return edit;
}

CPassageEdit ReplacePassageInFile(kestrix::FileSystem& fs, const CSearchResult& result,
                                  const std::string& replacement,
                                  const CReplacementEncoding& encoding) {
    const CFileEdit edit = ReplacePassagesInFile(fs, {&result}, replacement, nullptr, encoding);
    if (edit.status != CPassageEditStatus::Replaced)
        return {edit.status, 0};
    const auto delta = static_cast<std::int64_t>(edit.replacementLength) -
                       static_cast<std::int64_t>(result.end - result.start);
    return {CPassageEditStatus::Replaced, static_cast<int>(delta)};
}

} // namespace sorbex
