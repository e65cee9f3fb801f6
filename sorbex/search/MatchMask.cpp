// Whether a file name matches one file mask.
#include "search/MatchMask.h"

#include <vector>

#include "search/NameCase.h"

namespace sorbex {

bool MatchMask(const std::string& name, const std::string& mask) {
    const std::size_t n = name.size();
    const std::size_t m = mask.size();
    const bool nameHasDot = name.find('.') != std::string::npos;
    // Dynamic programming from the ends: can[i] tells whether name[i..] matches the
    // rest of the mask after position j. Masks of many stars stay linear per star,
    // where backtracking would explode.
    std::vector<char> next(n + 1, 0);
    next[n] = 1; // the empty rest of the mask matches the empty rest of the name
    std::vector<char> can(n + 1, 0);
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
        next.swap(can);
    }
    return next[0] != 0;
}

} // namespace sorbex
