// The do-nothing defaults of the pattern matcher interface.
#include "engine/PatternMatcher.h"

namespace sorbex {

unsigned CPatternMatcher::Compile(const std::string&, bool, bool) {
    return 0;
}

void CPatternMatcher::Activate(CPatternMatcher*&) {}

void CPatternMatcher::Deactivate(CPatternMatcher*&) {}

} // namespace sorbex
