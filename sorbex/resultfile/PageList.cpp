// The result file's "Index" stream: the pages in tab order with their stream names.
#include "resultfile/PageList.h"

#include <cstdio>

#include "storage/ArchiveError.h"
#include "storage/ArchiveReader.h"
#include "storage/ArchiveWriter.h"

namespace sorbex {

std::vector<std::uint8_t> WritePageList(const CPageList& list) {
    CArchiveWriter archive;
    archive.WriteUInt32(kPageListVersion);
    archive.WriteUInt32(list.nextPageNumber);
    archive.WriteInt32(static_cast<std::int32_t>(list.pages.size()));
    for (const CPageListEntry& page : list.pages) {
        archive.WriteString(page.streamName);
        archive.WriteString(page.caption);
    }
    return archive.bytes();
}

bool ReadPageList(const std::uint8_t* data, std::size_t size, CPageList& list) {
    list = CPageList();
    try {
        CArchiveReader archive(data, size);
        if (archive.ReadUInt32() != kPageListVersion)
            return true;
        CPageList read;
        read.nextPageNumber = archive.ReadUInt32();
        const std::int32_t count = archive.ReadInt32();
        // Pages are added as their bytes are read: a damaged count runs out of bytes
        // long before it could exhaust memory.
        for (std::int32_t i = 0; i < count; ++i) {
            CPageListEntry page;
            page.streamName = archive.ReadString();
            page.caption = archive.ReadString();
            read.pages.push_back(std::move(page));
        }
        list = std::move(read);
        return true;
    } catch (const CArchiveError&) {
        return false;
    }
}

std::string PageStreamName(std::uint32_t number) {
    char name[16];
    std::snprintf(name, sizeof name, "P%lx", static_cast<unsigned long>(number));
    return name;
}

} // namespace sorbex
