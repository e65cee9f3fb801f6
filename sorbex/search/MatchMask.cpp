// Whether a file name matches one file mask.
#include "search/MatchMask.h"

#include <vector>

#include "search/NameCase.h"

namespace sorbex {
namespace {

// Names up to this length are matched in rows on the stack: the walk matches every
// entry it meets, and two allocations each cost more than the match.
constexpr std::size_t kRowOnStack = 256;

// Dynamic programming from the ends: can[i] tells whether name[i..] matches the rest of
// the mask after position j. Masks of many stars stay linear per star, where
// backtracking would explode. Both rows hold name.size() + 1 entries.
bool MatchRows(const std::string& name, const std::string& mask, char* next, char* can) {
    const std::size_t n = name.size();
    const std::size_t m = mask.size();
    const bool nameHasDot = name.find('.') != std::string::npos;
    for (std::size_t i = 0; i < n; ++i)
        next[i] = 0;
    next[n] = 1; // the empty rest of the mask matches the empty rest of the name
    for (std::size_t j = m; j-- > 0;) {
        const char c = mask[j];
        for (std::size_t i = n + 1; i-- > 0;) {
            bool ok = false;
            if (c == '*') {
                ok = next[i] || (i < n && can[i + 1]);
            } else if (c == '?') {
                ok = next[i] || (i < n && next[i + 1]);
            } else {
                if (i < n && LowerNameChar(static_cast<unsigned char>(name[i])) ==
                                 LowerNameChar(static_cast<unsigned char>(c)))
                    ok = next[i + 1];
                if (!ok && c == '.' && i == n && !nameHasDot)
                    ok = next[i];
            }
            can[i] = ok;
        }
        char* const done = next;
        next = can;
        can = done;
    }
    return next[0] != 0;
}

} // namespace

bool MatchMask(const std::string& name, const std::string& mask) {
    if (name.size() < kRowOnStack) {
        char next[kRowOnStack];
        char can[kRowOnStack];
        return MatchRows(name, mask, next, can);
    }
    std::vector<char> next(name.size() + 1);
    std::vector<char> can(name.size() + 1);
    return MatchRows(name, mask, next.data(), can.data());
}

} // namespace sorbex
