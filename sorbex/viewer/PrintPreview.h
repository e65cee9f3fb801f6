// The print preview without its window: the pages of a text laid out for the printer,
// the one or two of them shown at a time, and where each is drawn in the window.
#pragma once

#include <cstddef>
#include <vector>

#include "viewer/PageSetup.h"

namespace sorbex {

// "PreviewPages": how many pages the preview shows side by side.
constexpr int kMinPreviewPages = 1;
constexpr int kMaxPreviewPages = 2;
// Around and between the pages drawn, in pixels.
constexpr int kPreviewGap = 12;

// A rectangle in the preview window's pixels.
struct CPreviewRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const CPreviewRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// The paper of `setup` as a page that can be printed all over, for a preview without
// a printer to ask: the paper size numbers in common use, A4 for any other, turned for
// landscape.
CPrinterPage PaperPage(const CPageSetup& setup);

// A stored "PreviewPages" as the preview can show it.
int PreviewPagesFrom(int stored);

class CPrintPreview {
public:
    // `pageStarts`: the first position of every page, as the printer lays the text out
    // (at least one page, an empty text included); `pagesAtOnce` from "PreviewPages".
    CPrintPreview(std::vector<long> pageStarts, int pagesAtOnce);

    std::size_t pageCount() const { return starts_.size(); }
    const std::vector<long>& pageStarts() const { return starts_; }
    // The first page shown, counted from 0.
    std::size_t first() const { return first_; }
    // How many pages the user asked to see at once (what "PreviewPages" keeps).
    int pagesAtOnce() const { return pagesAtOnce_; }
    // How many are shown now: fewer at the end of the text.
    std::size_t shownCount() const;

    bool CanGoNext() const;
    bool CanGoPrevious() const { return first_ > 0; }
    // One page on or back, so that with two pages each page is seen beside both of
    // its neighbours.
    void Next();
    void Previous();
    // Between one page and two; the first page shown stays.
    void TogglePagesAtOnce();

    // Where the shown pages go in a client area of `width` x `height` pixels: as big as
    // they fit beside each other with kPreviewGap around them, in the paper's
    // proportions, centred. Empty when there is no room or no paper.
    std::vector<CPreviewRect> PageRects(int width, int height, long paperWidth,
                                        long paperHeight) const;

private:
    std::vector<long> starts_;
    int pagesAtOnce_;
    std::size_t first_ = 0;
};

} // namespace sorbex
