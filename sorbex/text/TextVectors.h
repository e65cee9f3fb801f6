// The vector paths of the text's byte loops: SSE2, and AVX2 for a loop that gains from
// 32 bytes at a time, each taken only when the processor answers that it has it.
#pragma once

#include "cpu/ProcessorFeatures.h"

#if defined(SORBEX_VECTORS)
#define SORBEX_TEXT_VECTORS 1
#include <emmintrin.h>
#include <immintrin.h>
#endif
