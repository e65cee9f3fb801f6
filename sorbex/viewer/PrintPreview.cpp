// The print preview without its window: the pages of a text laid out for the printer,
// the one or two of them shown at a time, and where each is drawn in the window.
#include "viewer/PrintPreview.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/FitSpan.h"

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

void CPrintPreview::KeepViewOf(const CPrintPreview& other) {
    first_ = std::min(other.first_, starts_.size() - 1);
    zoom_ = other.zoom_;
    scrollX_ = other.scrollX_;
    scrollY_ = other.scrollY_;
}

void CPrintPreview::ZoomIn() {
    if (CanZoomIn())
        ++zoom_;
}

void CPrintPreview::ZoomOut() {
    if (CanZoomOut())
        --zoom_;
}

void CPrintPreview::PageSize(const CPreviewView& view, int& width, int& height) const {
    width = 0;
    height = 0;
    const int count = static_cast<int>(shownCount());
    const int roomAcross = (view.width - kPreviewGap * (count + 1)) / std::max(count, 1);
    const int roomDown = view.height - 2 * kPreviewGap;
    if (count == 0 || roomAcross <= 0 || roomDown <= 0 || view.paperWidth <= 0 ||
        view.paperHeight <= 0)
        return;
    // The biggest page in the paper's proportions that fits the room for one.
    std::int64_t across = roomAcross;
    std::int64_t down = across * view.paperHeight / view.paperWidth;
    if (down > roomDown) {
        down = roomDown;
        across = down * view.paperWidth / view.paperHeight;
    }
    if (across <= 0 || down <= 0)
        return;
    width = static_cast<int>(across * zoomPercent() / 100);
    height = static_cast<int>(down * zoomPercent() / 100);
}

CPreviewExtent CPrintPreview::Extent(const CPreviewView& view) const {
    CPreviewExtent extent;
    int pageWidth = 0;
    int pageHeight = 0;
    PageSize(view, pageWidth, pageHeight);
    if (pageWidth <= 0)
        return extent;
    const int count = static_cast<int>(shownCount());
    extent.width = count * pageWidth + (count + 1) * kPreviewGap;
    extent.height = pageHeight + 2 * kPreviewGap;
    // The view stays where the pages still fill the window.
    const auto fit = [](int scroll, int shown, int size) {
        int end = scroll + shown;
        kestrix::FitSpan(scroll, end, 0, size);
        return scroll;
    };
    extent.scrollX = fit(scrollX_, view.width, extent.width);
    extent.scrollY = fit(scrollY_, view.height, extent.height);
    return extent;
}

void CPrintPreview::ScrollTo(int x, int y, const CPreviewView& view) {
    scrollX_ = x;
    scrollY_ = y;
    const CPreviewExtent extent = Extent(view);
    scrollX_ = extent.scrollX;
    scrollY_ = extent.scrollY;
}

void CPrintPreview::ScrollBy(int dx, int dy, const CPreviewView& view) {
    const CPreviewExtent extent = Extent(view);
    ScrollTo(extent.scrollX + dx, extent.scrollY + dy, view);
}

std::vector<CPreviewRect> CPrintPreview::PageRects(int width, int height, long paperWidth,
                                                   long paperHeight) const {
    const CPreviewView view{width, height, paperWidth, paperHeight};
    int pageWidth = 0;
    int pageHeight = 0;
    PageSize(view, pageWidth, pageHeight);
    if (pageWidth <= 0 || pageHeight <= 0)
        return {};
    const CPreviewExtent extent = Extent(view);
    const int count = static_cast<int>(shownCount());
    const int across = count * pageWidth + (count - 1) * kPreviewGap;
    // Centred where they fit, moved by the scrolling where they do not.
    const int left = extent.width <= width ? (width - across) / 2 : kPreviewGap - extent.scrollX;
    const int top =
        extent.height <= height ? (height - pageHeight) / 2 : kPreviewGap - extent.scrollY;
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
