// One result of a search: a passage of a file, a file without passages, or a listed entry.
#include "search/SearchResult.h"

#include <utility>

#include "search/Excerpt.h"
#include "storage/ArchiveReader.h"
#include "storage/ArchiveWriter.h"

namespace sorbex {

CSearchResult::CSearchResult(const char* text, std::size_t length, int start_, int end_,
                             std::string dir_, std::string name_)
    : start(start_), end(end_), dir(std::move(dir_)), name(std::move(name_)) {
    CExcerpt built = BuildExcerpt(text, length, start_, end_);
    excerpt = std::move(built.text);
    excerptStart = built.passageStart;
    excerptEnd = built.passageEnd;
}

void CSearchResult::Store(CArchiveWriter& archive) const {
    archive.WriteInt32(kVersion);
    for (std::int32_t value :
         {start, end, excerptStart, excerptEnd, viewPosition, passageCount, flags})
        archive.WriteInt32(value);
    archive.WriteString(excerpt);
    archive.WriteString(dir);
    archive.WriteString(name);
}

bool CSearchResult::Load(CArchiveReader& archive) {
    if (archive.ReadInt32() != kVersion)
        return false;
    for (std::int32_t* field :
         {&start, &end, &excerptStart, &excerptEnd, &viewPosition, &passageCount, &flags})
        *field = archive.ReadInt32();
    excerpt = archive.ReadString();
    dir = archive.ReadString();
    name = archive.ReadString();
    return true;
}

} // namespace sorbex
