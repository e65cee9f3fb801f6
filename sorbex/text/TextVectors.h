// The SSE2 path of the text's byte loops: built for SSE2 where the compiler may assume
// it, else (32-bit x86 builds) compiled for it function by function (SSE2_FUNCTION) and
// taken only when the processor answers that it has it.
#pragma once

#if defined(__SSE2__) || (defined(__GNUC__) && defined(__i386__))
#define SORBEX_TEXT_VECTORS 1
#include <emmintrin.h>
#endif
#if defined(SORBEX_TEXT_VECTORS) && !defined(__SSE2__)
#define SSE2_FUNCTION __attribute__((target("sse2")))
#else
#define SSE2_FUNCTION
#endif
// A loop that gains from 32 bytes at a time also has an AVX2 path, compiled for it
// alone and taken only when the processor (and the system, for the wide registers)
// answers that it has it.
#if defined(SORBEX_TEXT_VECTORS)
#include <immintrin.h>
#define AVX2_FUNCTION __attribute__((target("avx2")))
#endif

namespace sorbex {

#if defined(SORBEX_TEXT_VECTORS)
// Every x86-64 processor has SSE2; a 32-bit build asks the processor once.
inline bool ProcessorHasSse2() {
#if defined(__SSE2__)
    return true;
#else
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("sse2") != 0;
    }();
    return has;
#endif
}

inline bool ProcessorHasAvx2() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}
#endif

} // namespace sorbex
