// A page surface for tests: it holds the text that the editor control would hold, as
// CRichTextBuilder::plain() spells it, and counts what reaches it.
#pragma once

#include <string>

#include "app/ResultPageView.h"

namespace sorbex {

class CPlainPageSurface : public CPageSurface {
public:
    std::string text;
    int appends = 0;
    int refreshes = 0;
    bool followedEnd = false;
    std::size_t selectedFrom = 0;
    std::size_t selectedTo = 0;
    std::size_t linesShown = 0; // as the control would tell; 0: it cannot

    void Clear() override { text.clear(); }
    void Append(const CRichTextBuilder& t) override {
        text += t.plain();
        ++appends;
    }
    std::size_t Length() override { return text.size(); }
    std::size_t FindCounterMark(std::size_t from) override {
        const std::size_t found = text.find(kPlainCounterMark, from);
        return found == std::string::npos ? kNoMark : found;
    }
    void Replace(std::size_t from, std::size_t to, const CRichTextBuilder& t) override {
        text.replace(from, to - from, t.plain());
    }
    void Select(std::size_t from, std::size_t to) override {
        selectedFrom = from;
        selectedTo = to;
    }
    void Refresh(bool followEnd) override {
        ++refreshes;
        followedEnd = followEnd;
    }
    std::size_t LinesShown() override { return linesShown; }
    std::string Selected() const { return text.substr(selectedFrom, selectedTo - selectedFrom); }
};

} // namespace sorbex
