// The processor's vector instructions as the byte loops of the engine and the text take
// them: SSE2 where the compiler may assume it, else (32-bit x86 builds) compiled function
// by function (SSE2_FUNCTION) and taken only when the processor answers that it has it;
// AVX2 always compiled function by function (AVX2_FUNCTION) and asked for at run time.
// The intrinsics' headers are the loops' own to include.
#pragma once

#if defined(__SSE2__) || (defined(__GNUC__) && defined(__i386__))
#define SORBEX_VECTORS 1
#define AVX2_FUNCTION __attribute__((target("avx2")))
#endif
#if defined(SORBEX_VECTORS) && !defined(__SSE2__)
#define SSE2_FUNCTION __attribute__((target("sse2")))
#else
#define SSE2_FUNCTION
#endif

namespace sorbex {

#if defined(SORBEX_VECTORS)
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

// Both builds ask the processor, and the processor whether the system keeps the wide
// registers.
inline bool ProcessorHasAvx2() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}
#endif

} // namespace sorbex
