// Turning a file's bytes into the text that search expressions see.
#include "text/CleanText.h"

#include <cstdint>
#include <cstring>

#include "text/TextVectors.h"

// The ASCII start is cleaned 64 bytes at a time with AVX2 instructions, or sixteen at a
// time with SSE2 ones, where the processor has them (TextVectors.h).

namespace sorbex {
namespace {

unsigned char CleanByte(unsigned char byte) {
    const unsigned char kept = byte < 32 ? static_cast<unsigned char>(' ') : byte;
    return (byte == '\r' || byte == '\n') ? static_cast<unsigned char>('\n') : kept;
}

#if defined(SORBEX_TEXT_VECTORS)
// One block of ASCII bytes cleaned: every byte below 32 is raised to a blank, and the
// blanks that were CR or LF are turned into LF by flipping the bits they differ in.
SSE2_FUNCTION inline __m128i CleanBlock(__m128i v) {
    const __m128i feed = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')),
                                      _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
    const __m128i raised = _mm_max_epu8(v, _mm_set1_epi8(' '));
    return _mm_xor_si128(raised, _mm_and_si128(feed, _mm_set1_epi8(' ' ^ '\n')));
}

// Cleans whole blocks of ASCII bytes, two of sixteen at a time and then one; stops
// before the first block that holds a byte from 0x80 up, or before fewer than sixteen
// bytes are left.
SSE2_FUNCTION std::size_t CleanAsciiBlocks(unsigned char* bytes, std::size_t length) {
    std::size_t at = 0;
    for (; at + 32 <= length; at += 32) {
        auto* block = reinterpret_cast<__m128i*>(bytes + at);
        const __m128i a = _mm_loadu_si128(block);
        const __m128i b = _mm_loadu_si128(block + 1);
        if (_mm_movemask_epi8(_mm_or_si128(a, b)) != 0)
            break;
        _mm_storeu_si128(block, CleanBlock(a));
        _mm_storeu_si128(block + 1, CleanBlock(b));
    }
    for (; at + 16 <= length; at += 16) {
        auto* block = reinterpret_cast<__m128i*>(bytes + at);
        const __m128i v = _mm_loadu_si128(block);
        if (_mm_movemask_epi8(v) != 0)
            break;
        _mm_storeu_si128(block, CleanBlock(v));
    }
    return at;
}

// The same on 64 bytes at a time, for processors with AVX2.
AVX2_FUNCTION inline __m256i CleanWideBlock(__m256i v) {
    const __m256i feed = _mm256_or_si256(_mm256_cmpeq_epi8(v, _mm256_set1_epi8('\r')),
                                         _mm256_cmpeq_epi8(v, _mm256_set1_epi8('\n')));
    const __m256i raised = _mm256_max_epu8(v, _mm256_set1_epi8(' '));
    return _mm256_xor_si256(raised, _mm256_and_si256(feed, _mm256_set1_epi8(' ' ^ '\n')));
}

AVX2_FUNCTION std::size_t CleanAsciiWideBlocks(unsigned char* bytes, std::size_t length) {
    std::size_t at = 0;
    for (; at + 64 <= length; at += 64) {
        auto* block = reinterpret_cast<__m256i*>(bytes + at);
        const __m256i a = _mm256_loadu_si256(block);
        const __m256i b = _mm256_loadu_si256(block + 1);
        if (_mm256_movemask_epi8(_mm256_or_si256(a, b)) != 0)
            break;
        _mm256_storeu_si256(block, CleanWideBlock(a));
        _mm256_storeu_si256(block + 1, CleanWideBlock(b));
    }
    return at;
}
#endif

} // namespace

void CleanText(char* buffer, std::size_t length) {
    // Every byte of every file searched passes here, so the loop has no branch per
    // byte: each byte is computed by selects and stored back, which the compiler turns
    // into vector instructions where the target has them.
    auto* bytes = reinterpret_cast<unsigned char*>(buffer);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = CleanByte(bytes[i]);
}

std::size_t CleanAsciiStart(char* buffer, std::size_t length) {
    auto* bytes = reinterpret_cast<unsigned char*>(buffer);
    std::size_t at = 0;
#if defined(SORBEX_TEXT_VECTORS)
    if (ProcessorHasAvx2())
        at = CleanAsciiWideBlocks(bytes, length);
    if (ProcessorHasSse2())
        at += CleanAsciiBlocks(bytes + at, length - at);
#endif
    // Eight at a time where a word holds no high bit, then byte by byte.
    for (; at + 8 <= length; at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes + at, 8);
        if ((word & 0x8080808080808080ull) != 0)
            break;
        for (std::size_t i = at; i < at + 8; ++i)
            bytes[i] = CleanByte(bytes[i]);
    }
    for (; at < length && bytes[at] < 0x80; ++at)
        bytes[at] = CleanByte(bytes[at]);
    return at;
}

} // namespace sorbex
