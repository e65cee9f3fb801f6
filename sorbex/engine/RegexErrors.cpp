// Translation of the regular-expression library's compile errors into message numbers.
#include "engine/RegexErrors.h"

#include <cstring>

#include "engine/GnuRegex.h"
#include "strings/StringIds.h"

namespace sorbex {
namespace {

// The library's error codes run from REG_NOMATCH (1) to REG_ERPAREN (16).
constexpr int kFirstCode = REG_NOMATCH;
constexpr int kLastCode = REG_ERPAREN;
static_assert(kFirstCode == 1 && kLastCode == 16, "error codes 1..16 map onto 9800..9815");

} // namespace

unsigned RegexCompileErrorId(const char* libraryMessage) {
    // re_compile_pattern hands back its message, translated for the current locale,
    // rather than the code. regerror translates the same message texts the same way, so
    // asking it for every code now finds the code whatever the language is.
    regex_t unused{};
    char text[512];
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        regerror(code, &unused, text, sizeof text);
        if (std::strcmp(text, libraryMessage) == 0) {
            return IDS_RE_NOT_FOUND + static_cast<unsigned>(code - kFirstCode);
        }
    }
    return IDS_RE_INVALID;
}

} // namespace sorbex
