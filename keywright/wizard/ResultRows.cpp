// The proposed change of each hit and the texts of its row.
#include "wizard/ResultRows.h"

#include "host/KeyPath.h"
#include "strings/KeywrightStrings.h"
#include "wizard/WizardStrings.h"

#include <algorithm>
#include <cstring>

namespace keywright {

unsigned TypeTextOf(const SearchHit& hit) {
    if (hit.flags & kHitKeyName)
        return kStrRowKey;
    return (hit.flags & kHitValueName) ? kStrRowValue : kStrRowData;
}

unsigned AppliedTextOf(AppliedState state) {
    switch (state) {
    case AppliedState::Yes:
        return kStrAppliedYes;
    case AppliedState::Failed:
        return kStrAppliedFailed;
    case AppliedState::Undone:
        return kStrUndone;
    case AppliedState::UndoFailed:
        return kStrUndoFailed;
    default:
        return kStrAppliedNo;
    }
}

std::string_view KeyNameOf(std::string_view keyPath) {
    std::size_t slash = keyPath.rfind('\\');
    return slash == std::string_view::npos ? keyPath : keyPath.substr(slash + 1);
}

std::string_view ParentPathOf(std::string_view keyPath) {
    std::size_t slash = keyPath.rfind('\\');
    return slash == std::string_view::npos ? std::string_view() : keyPath.substr(0, slash + 1);
}

namespace {

std::string_view DataText(const SearchHit& hit) {
    return std::string_view(reinterpret_cast<const char*>(hit.data.data()), hit.data.size());
}

} // namespace

std::string_view FirstString(const SearchHit& hit) {
    std::string_view all = DataText(hit);
    return all.substr(0, all.find('\0'));
}

std::vector<std::string_view> MultiStrings(const SearchHit& hit) {
    std::vector<std::string_view> strings;
    std::string_view all = DataText(hit);
    for (std::size_t at = 0; at < all.size();) {
        std::size_t end = all.find('\0', at);
        std::string_view piece = all.substr(at, end == std::string_view::npos ? end : end - at);
        if (piece.empty())
            break;
        strings.push_back(piece);
        at += piece.size() + 1;
    }
    return strings;
}

Replacement ReplaceForHit(const SearchHit& hit, std::string_view source, std::size_t room,
                          const SegmentCallback& segment, bool showOld) {
    Replacement result;
    // "Whole string only" leaves a string alone unless it is the text as a whole (the
    // other strings of a multi-string).
    if (hit.wholeString && !Match(true, hit.matchCase, source,
                                  hit.matchCase ? hit.searchText : UpperAscii(hit.searchText))) {
        result.fitted = source.size() <= room;
        result.text = source.substr(0, room);
        if (segment && result.fitted)
            segment(source, false);
        return result;
    }
    // Zeroed, so that what fitted of a result that did not fit ends at its first NUL.
    std::vector<char> buffer(room + 1, '\0');
    const std::string& replacement = showOld ? hit.searchText : hit.replacementText;
    result.fitted = ReplaceAll(buffer.data(), room, source, hit.searchText, replacement,
                               hit.matchCase, &result.replaced, segment, showOld) != 0;
    result.text.assign(buffer.data(), strnlen(buffer.data(), room));
    return result;
}

std::string ReplaceWhole(const SearchHit& hit, std::string_view source,
                         const SegmentCallback& segment, bool showOld) {
    const std::size_t find = std::max<std::size_t>(hit.searchText.size(), 1);
    const std::size_t replacement = showOld ? hit.searchText.size() : hit.replacementText.size();
    const std::size_t room = source.size() + (source.size() / find) * replacement;
    return ReplaceForHit(hit, source, room, segment, showOld).text;
}

std::unique_ptr<ResultRow> MakeResultRow(std::unique_ptr<SearchHit> hit,
                                         const WizardMessages& messages) {
    auto show = [&messages](unsigned id) {
        if (messages.bare)
            messages.bare(KeywrightString(id));
    };
    auto row = std::make_unique<ResultRow>();
    if (hit->flags & kHitKeyName) {
        // A root's own name can match; the root cannot be renamed.
        if (SplitKeyPath(hit->keyPath).subkey.empty())
            return nullptr;
        Replacement name = ReplaceForHit(*hit, KeyNameOf(hit->keyPath), kRowKeyNameRoom);
        if (!name.fitted || !name.replaced)
            show(kStrReviewKeyError);
        row->resultText = std::string(ParentPathOf(hit->keyPath)) + name.text;
    } else if (hit->flags & kHitValueName) {
        Replacement name = ReplaceForHit(*hit, hit->valueName, kRowTextRoom);
        if (!name.fitted || !name.replaced)
            show(kStrReviewValueError);
        row->resultText = name.text;
    } else {
        // A multi-string shows its first string, which need not be the one that matched.
        Replacement data = ReplaceForHit(*hit, FirstString(*hit), kRowTextRoom);
        if (!data.fitted)
            show(kStrReviewDataError);
        row->resultText = data.text;
    }
    row->hit = std::move(hit);
    return row;
}

int RowToSelectAfterRemove(const std::vector<int>& removed, int countBefore) {
    int countAfter = countBefore - static_cast<int>(removed.size());
    if (countAfter <= 0)
        return -1;
    int lowest = removed.empty() ? 0 : removed.front();
    return lowest < countAfter ? lowest : countAfter - 1;
}

} // namespace keywright
