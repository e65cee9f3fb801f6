// The print preview without its window: the pages of a text laid out for the printer,
// the one or two of them shown at a time, and where each is drawn in the window.
#include "viewer/PrintPreview.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace sorbex {

namespace {

struct CPaperSize {
    int number; // the printer interface's paper size number
    long width; // portrait, in twips
    long height;
};

constexpr CPaperSize kPaperSizes[] = {
    {1, 12240, 15840},  // Letter
    {5, 12240, 20160},  // Legal
    {8, 16838, 23811},  // A3
    {9, 11906, 16838},  // A4
    {11, 8391, 11906},  // A5
    {13, 10319, 14572}, // B5
};

} // namespace

CPrinterPage PaperPage(const CPageSetup& setup) {
    CPaperSize paper = {kPaperA4, 11906, 16838};
    for (const CPaperSize& size : kPaperSizes)
        if (size.number == setup.paperSize)
            paper = size;
    if (setup.orientation == kOrientationLandscape)
        std::swap(paper.width, paper.height);
    CPrinterPage page;
    page.paperWidth = paper.width;
    page.paperHeight = paper.height;
    page.printableWidth = paper.width;
    page.printableHeight = paper.height;
    return page;
}

int PreviewPagesFrom(int stored) {
    return std::clamp(stored, kMinPreviewPages, kMaxPreviewPages);
}

CPrintPreview::CPrintPreview(std::vector<long> pageStarts, int pagesAtOnce)
    : starts_(std::move(pageStarts)), pagesAtOnce_(PreviewPagesFrom(pagesAtOnce)) {
    if (starts_.empty())
        starts_.push_back(0);
}

std::size_t CPrintPreview::shownCount() const {
    return std::min<std::size_t>(static_cast<std::size_t>(pagesAtOnce_), starts_.size() - first_);
}

bool CPrintPreview::CanGoNext() const {
    return first_ + static_cast<std::size_t>(pagesAtOnce_) < starts_.size();
}

void CPrintPreview::Next() {
    if (CanGoNext())
        ++first_;
}

void CPrintPreview::Previous() {
    if (CanGoPrevious())
        --first_;
}

void CPrintPreview::TogglePagesAtOnce() {
    pagesAtOnce_ = pagesAtOnce_ == kMinPreviewPages ? kMaxPreviewPages : kMinPreviewPages;
    // Two pages at the end of the text show the last two.
    const auto atOnce = static_cast<std::size_t>(pagesAtOnce_);
    if (starts_.size() >= atOnce && first_ + atOnce > starts_.size())
        first_ = starts_.size() - atOnce;
}

std::vector<CPreviewRect> CPrintPreview::PageRects(int width, int height, long paperWidth,
                                                   long paperHeight) const {
    const int count = static_cast<int>(shownCount());
    const int roomAcross = (width - kPreviewGap * (count + 1)) / std::max(count, 1);
    const int roomDown = height - 2 * kPreviewGap;
    if (count == 0 || roomAcross <= 0 || roomDown <= 0 || paperWidth <= 0 || paperHeight <= 0)
        return {};
    // The biggest page in the paper's proportions that fits the room for one.
    int pageWidth = roomAcross;
    int pageHeight = static_cast<int>(std::int64_t{roomAcross} * paperHeight / paperWidth);
    if (pageHeight > roomDown) {
        pageHeight = roomDown;
        pageWidth = static_cast<int>(std::int64_t{roomDown} * paperWidth / paperHeight);
    }
    if (pageWidth <= 0 || pageHeight <= 0)
        return {};
    const int across = count * pageWidth + (count - 1) * kPreviewGap;
    const int left = (width - across) / 2;
    const int top = (height - pageHeight) / 2;
    std::vector<CPreviewRect> rects;
    for (int k = 0; k < count; ++k) {
        CPreviewRect rect;
        rect.left = left + k * (pageWidth + kPreviewGap);
        rect.top = top;
        rect.right = rect.left + pageWidth;
        rect.bottom = top + pageHeight;
        rects.push_back(rect);
    }
    return rects;
}

} // namespace sorbex
