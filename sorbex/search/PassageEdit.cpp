// Replacing the accepted passages of a file in one rewrite, after checking that the file
// still holds them.
#include "search/PassageEdit.h"

#include <cstdint>
#include <limits>

#include "text/CleanText.h"

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
                                const COldContentKeeper& keepOldContent) {
    CFileEdit edit;
    if (passages.empty())
        return edit;
    const std::string path = passages.front()->dir + passages.front()->name;
    std::string bytes;
    if ((edit.error = fs.ReadFile(path, bytes)))
        return edit;

    std::string content;
    std::size_t copied = 0; // bytes of the old content already in `content`
    edit.status = CPassageEditStatus::Replaced;
    for (const CSearchResult* passage : passages) {
        if (!FileStillHoldsPassage(bytes, *passage) ||
            static_cast<std::size_t>(passage->start) < copied) {
            edit.status = CPassageEditStatus::Changed;
            break;
        }
        content.append(bytes, copied, static_cast<std::size_t>(passage->start) - copied);
        content.append(replacement);
        copied = static_cast<std::size_t>(passage->end);
        ++edit.applied;
    }
    if (edit.applied == 0)
        return edit;
    content.append(bytes, copied, std::string::npos);

    // Offsets are stored as 32-bit numbers; a file that would outgrow them could not be
    // addressed by the results after these.
    if (content.size() > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        edit.error = kestrix::MakeOsError("ReplaceFileContent", path,
                                          kestrix::NativeCodeFor(kestrix::FileFailure::NoSpace));
    if (!edit.error && keepOldContent)
        edit.error = keepOldContent(path, bytes);
    if (!edit.error)
        edit.error = fs.ReplaceFileContent(path, content);
    if (edit.error) {
        edit.status = CPassageEditStatus::WriteFailed;
        edit.applied = 0;
    }
    return edit;
}

CPassageEdit ReplacePassageInFile(kestrix::FileSystem& fs, const CSearchResult& result,
                                  const std::string& replacement) {
    const CFileEdit edit = ReplacePassagesInFile(fs, {&result}, replacement);
    if (edit.status != CPassageEditStatus::Replaced)
        return {edit.status, 0};
    const auto delta = static_cast<std::int64_t>(replacement.size()) -
                       static_cast<std::int64_t>(result.end - result.start);
    return {CPassageEditStatus::Replaced, static_cast<int>(delta)};
}

} // namespace sorbex
