// The one place that chooses where the GNU regular-expression interface comes from.
#pragma once

#if defined(KESTRIX_GNULIB_REGEX)
// gnulib's copy renames its functions and widens its offsets in this generated
// header; the pattern buffer's layout differs unless it comes first.
#include <gnulib_regex_config.h>
#ifndef _GNU_SOURCE
#define _GNU_SOURCE 1
#endif
#include <regex.h>
#else
// glibc declares the GNU extensions (re_search, the syntax bits) only for _GNU_SOURCE,
// which g++ defines anyway; C++ code that includes this header first still needs it.
#ifndef _GNU_SOURCE
#define _GNU_SOURCE 1
#endif
#include <regex.h>
#endif
