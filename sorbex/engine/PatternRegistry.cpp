// The compiled patterns of the current search expression, addressed by index.
#include "engine/PatternRegistry.h"

#include "engine/ExprError.h"
#include "engine/PhoneticMatcher.h"
#include "engine/RegexMatcher.h"
#include "engine/SearchFlags.h"

namespace sorbex {
namespace {

// Any method other than the phonetic one is the standard one, as in the compile of an
// expression.
std::unique_ptr<CPatternMatcher> CreatePatternMatcher(unsigned method) {
    if (method == kSearchMethodPhonetic) {
        return std::make_unique<CPhoneticMatcher>();
    }
    return std::make_unique<CRegexMatcher>();
}

} // namespace

int CPatternRegistry::Add(const std::string& pattern, unsigned flags) {
    std::unique_ptr<CPatternMatcher> matcher = CreatePatternMatcher(flags & kSearchMethodMask);
    const unsigned error = matcher->Compile(pattern, (flags & kSearchMatchCase) != 0,
                                            (flags & kSearchWholeWords) != 0);
    if (error != 0) {
        throw CExprError(error);
    }
    matcher->SetStopFlag(&stopped);
    matchers.push_back(std::move(matcher));
    return static_cast<int>(matchers.size() - 1);
}

CPatternMatcher* CPatternRegistry::At(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= matchers.size()) {
        return nullptr;
    }
    return matchers[static_cast<std::size_t>(index)].get();
}

bool CPatternRegistry::Activate(int index) {
    CPatternMatcher* matcher = At(index);
    if (matcher == nullptr) {
        return false;
    }
    matcher->Activate(active);
    return true;
}

bool CPatternRegistry::Deactivate(int index) {
    CPatternMatcher* matcher = At(index);
    if (matcher == nullptr) {
        return false;
    }
    matcher->Deactivate(active);
    return true;
}

void CPatternRegistry::Clear() {
    active = nullptr;
    matchers.clear();
}

bool CPatternRegistry::FindMatch(const char* text, std::size_t length, int group, int& start,
                                 int& end) {
    return active != nullptr && active->FindMatch(text, length, group, start, end);
}

} // namespace sorbex
