// The flags that say where a searched text came from; every result of the file keeps them.
#pragma once

namespace sorbex {

// The text is not the raw file: an internal reader ran, or a converter or the cache gave it.
constexpr int kTextConverted = 0x8;
// The text came from a word-processor converter or from the document cache.
constexpr int kTextExternal = 0x10;

} // namespace sorbex
