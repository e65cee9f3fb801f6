// The search window's progress rules.
#include "registry/SearchStatus.h"

#include "strings/KeywrightStrings.h"

#include <cstdio>

namespace keywright {

namespace {

constexpr std::uint32_t kCountStep = 100;
constexpr std::size_t kCountText = 128;

std::string CountText(unsigned id, std::uint32_t count) {
    char buffer[kCountText] = {};
    // The format comes from our own string table, never from outside.
    if (const char* format = KeywrightString(id))
        std::snprintf(buffer, sizeof buffer, format, static_cast<int>(count));
    return buffer;
}

unsigned StateText(int kind) {
    switch (kind) {
    case kSearchCompleted:
        return kStrSearchCompleted;
    case kSearchInterrupted:
        return kStrSearchInterrupted;
    default:
        return kStrSearching;
    }
}

} // namespace

bool ProgressThrottle::ShouldPost(int kind) {
    std::uint32_t now = clock_.Milliseconds();
    if (waiting_ || (kind == postedKind_ && now - postedAt_ < kIntervalMs))
        return false;
    waiting_ = true;
    postedKind_ = kind;
    postedAt_ = now;
    return true;
}

void ProgressThrottle::Reset() {
    waiting_ = false;
    postedKind_ = 0;
    postedAt_ = 0;
}

StatusTexts SearchStatusView::Show(const SearchProgress& p) {
    StatusTexts texts;
    if (p.kind != shownKind_) {
        texts[0] = KeywrightString(StateText(p.kind));
        shownKind_ = p.kind;
    }
    if (p.kind == kSearchCompleted || p.kind == kSearchInterrupted) {
        texts[1] = CountText(kStrKeysFound, p.counters.keysFound);
        texts[2] = CountText(kStrValuesFound, p.counters.valuesFound);
        texts[3] = CountText(kStrDataFound, p.counters.dataFound);
        return texts;
    }
    const std::uint32_t counts[] = {p.counters.keysVisited, p.counters.valuesVisited,
                                    p.counters.dataExamined};
    const unsigned formats[] = {kStrKeysVisited, kStrValuesVisited, kStrDataVisited};
    for (std::size_t i = 0; i < shownHundreds_.size(); ++i) {
        std::uint32_t hundreds = counts[i] / kCountStep;
        if (hundreds != 0 && hundreds != shownHundreds_[i]) {
            texts[i + 1] = CountText(formats[i], hundreds * kCountStep);
            shownHundreds_[i] = hundreds;
        }
    }
    return texts;
}

void SearchStatusView::Reset() {
    shownKind_ = 0;
    shownHundreds_.fill(0);
}

} // namespace keywright
