// Fuzz target: the result file's page list and page stream readers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "search/SearchResultArray.h"
#include "storage/ArchiveError.h"
#include "storage/ArchiveReader.h"
#include "storage/ArchiveWriter.h"
#include "resultfile/PageList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sorbex::CPageList list;
    if (sorbex::ReadPageList(data, size, list)) {
        const std::vector<std::uint8_t> again = sorbex::WritePageList(list);
        sorbex::CPageList back;
        if (!sorbex::ReadPageList(again.data(), again.size(), back) ||
            back.pages.size() != list.pages.size())
            std::abort();
    }
    sorbex::CSearchResultArray results;
    try {
        sorbex::CArchiveReader archive(data, size);
        results.Load(archive);
    } catch (const sorbex::CArchiveError&) {
        if (!results.empty())
            std::abort(); // a failed load keeps nothing
        return 0;
    }
    // A page that loads stores to bytes that load to the same number of results.
    sorbex::CArchiveWriter writer;
    results.Store(writer);
    sorbex::CSearchResultArray back;
    sorbex::CArchiveReader reader(writer.bytes());
    back.Load(reader);
    if (back.size() != results.size())
        std::abort();
    return 0;
}
