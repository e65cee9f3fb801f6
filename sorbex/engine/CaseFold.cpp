// Case folding of Windows-1252 bytes for searches that ignore case.
#include "engine/CaseFold.h"

namespace sorbex {
namespace {

// Only the umlauts fold among the bytes from 0x80 up: the texts searched are German or
// English, and folding é, à, ... was never asked of the search.
struct FoldPair {
    unsigned char lower;
    unsigned char upper;
};
constexpr FoldPair kUmlauts[] = {{0xE4, 0xC4}, {0xF6, 0xD6}, {0xFC, 0xDC}};

} // namespace

unsigned char FoldToUpper(unsigned char c) {
    if (c >= 'a' && c <= 'z') {
        return static_cast<unsigned char>(c - 'a' + 'A');
    }
    for (const FoldPair& pair : kUmlauts) {
        if (c == pair.lower) {
            return pair.upper;
        }
    }
    return c;
}

} // namespace sorbex
