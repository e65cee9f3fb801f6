// The result file's "Index" stream: the pages in tab order with their stream names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sorbex {

constexpr std::uint32_t kPageListVersion = 1;

struct CPageListEntry {
    std::string streamName; // empty for a page without results
    std::string caption;
};

struct CPageList {
    std::uint32_t nextPageNumber = 0;
    std::vector<CPageListEntry> pages;
};

std::vector<std::uint8_t> WritePageList(const CPageList& list);

// Reads a whole "Index" stream. Another version reads as an empty list (true). A
// negative count reads as 0. Bytes that end before the pages their count announces
// fail, leaving `list` empty.
bool ReadPageList(const std::uint8_t* data, std::size_t size, CPageList& list);

// "P" and the page number in lower-case hexadecimal.
std::string PageStreamName(std::uint32_t number);

} // namespace sorbex
