// The interface of every compiled pattern that a search expression's terms use.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>

namespace sorbex {

class CPatternMatcher {
public:
    CPatternMatcher() = default;
    CPatternMatcher(const CPatternMatcher&) = delete;
    CPatternMatcher& operator=(const CPatternMatcher&) = delete;
    virtual ~CPatternMatcher() = default;

    // Compiles `pattern`; returns 0, or the string number of the message that says why
    // it cannot be compiled. The base accepts anything.
    virtual unsigned Compile(const std::string& pattern, bool matchCase, bool wholeWords);

    // Makes this matcher the one that `activeSlot` (the search function's) refers to,
    // keeping what was there; Deactivate puts that back. The base does neither.
    virtual void Activate(CPatternMatcher*& activeSlot);
    virtual void Deactivate(CPatternMatcher*& activeSlot);

    // Finds the first match in the `length` bytes from `text`, `text` counting as the
    // start of a line. On success `start` and `end` are offsets from `text` of the whole
    // match (group 0) or of group `group`; a group that took no part in the match
    // gives a negative start.
    virtual bool FindMatch(const char* text, std::size_t length, int group, int& start,
                           int& end) = 0;

    // Once `flag` is set, FindMatch finds nothing more from its next line on: a search
    // that was given up ends soon even while it still runs on another thread.
    void SetStopFlag(const std::atomic<bool>* flag) { stop_ = flag; }

protected:
    bool Stopped() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }

private:
    const std::atomic<bool>* stop_ = nullptr;
};

} // namespace sorbex
