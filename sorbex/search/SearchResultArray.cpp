// The results of one result page, in the order the search run recorded them.
#include "search/SearchResultArray.h"

#include "storage/ArchiveError.h"
#include "storage/ArchiveReader.h"
#include "storage/ArchiveWriter.h"

namespace sorbex {

void CSearchResultArray::Add(std::unique_ptr<CSearchResult> result) {
    if (result)
        results_.push_back(std::move(result));
}

void CSearchResultArray::Store(CArchiveWriter& archive) const {
    archive.WriteCount(static_cast<std::uint32_t>(results_.size()));
    for (const auto& result : results_) {
        archive.WriteObjectTag(CSearchResult::kClassName, CSearchResult::kSchema);
        result->Store(archive);
    }
}

void CSearchResultArray::Load(CArchiveReader& archive) {
    RemoveAll();
    try {
        const std::uint32_t count = archive.ReadCount();
        // No reserve(count): a damaged count must not allocate before the bytes run out.
        for (std::uint32_t i = 0; i < count; ++i) {
            const CObjectTag tag = archive.ReadObjectTag();
            if (tag.kind == CObjectTag::Kind::Null)
                continue;
            if (tag.kind != CObjectTag::Kind::NewObject ||
                tag.className != CSearchResult::kClassName || tag.schema != CSearchResult::kSchema)
                throw CArchiveError("result list holds an object that is not a result");
            auto result = std::make_unique<CSearchResult>();
            if (!result->Load(archive))
                throw CArchiveError("result of an unknown version");
            results_.push_back(std::move(result));
        }
    } catch (...) {
        RemoveAll();
        throw;
    }
}

} // namespace sorbex
