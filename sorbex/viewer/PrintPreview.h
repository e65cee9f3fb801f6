// The print preview without its window: the pages of a text laid out for the printer,
// the one or two of them shown at a time, and where each is drawn in the window.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/Rect.h"
#include "viewer/PageSetup.h"

namespace sorbex {

// "PreviewPages": how many pages the preview shows side by side.
constexpr int kMinPreviewPages = 1;
constexpr int kMaxPreviewPages = 2;
// Around and between the pages drawn, in pixels.
constexpr int kPreviewGap = 12;
// The zoom steps, in percent of the size at which the shown pages fit the window; the
// first is where the preview opens.
constexpr int kPreviewZoomSteps[] = {100, 150, 200, 300, 400};
constexpr std::size_t kPreviewZoomStepCount = sizeof kPreviewZoomSteps / sizeof(int);
// How far one step of the scroll bar's arrows moves the pages, in pixels.
constexpr int kPreviewScrollLine = 24;

// A rectangle in the preview window's pixels.
using CPreviewRect = kestrix::Rect;

// What the pages are drawn in: the client area in pixels and the paper in twips.
struct CPreviewView {
    int width = 0;
    int height = 0;
    long paperWidth = 0;
    long paperHeight = 0;
};

// How big the shown pages are with the gaps around them, in pixels, and where the
// window's view of them begins (0 where they fit across or down).
struct CPreviewExtent {
    int width = 0;
    int height = 0;
    int scrollX = 0;
    int scrollY = 0;
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

    // Takes over the first page shown, the zoom and the scrolling of `other`, the preview
    // of the same text before it was laid out again; the first page stays within this
    // text's pages.
    void KeepViewOf(const CPrintPreview& other);

    // The zoom step, counted from 0 (the pages fit the window).
    std::size_t zoom() const { return zoom_; }
    int zoomPercent() const { return kPreviewZoomSteps[zoom_]; }
    bool CanZoomIn() const { return zoom_ + 1 < kPreviewZoomStepCount; }
    bool CanZoomOut() const { return zoom_ > 0; }
    void ZoomIn();
    void ZoomOut();

    // Moves the view of pages bigger than the window by `dx`, `dy` pixels, or to
    // `x`, `y`; kept where the pages still fill the window.
    void ScrollBy(int dx, int dy, const CPreviewView& view);
    void ScrollTo(int x, int y, const CPreviewView& view);
    CPreviewExtent Extent(const CPreviewView& view) const;

    // Where the shown pages go in a client area of `width` x `height` pixels: at the
    // first zoom step as big as they fit beside each other with kPreviewGap around
    // them, in the paper's proportions, centred; bigger by the zoom and moved by the
    // scrolling at the others. Empty when there is no room or no paper.
    std::vector<CPreviewRect> PageRects(int width, int height, long paperWidth,
                                        long paperHeight) const;
    std::vector<CPreviewRect> PageRects(const CPreviewView& view) const {
        return PageRects(view.width, view.height, view.paperWidth, view.paperHeight);
    }

private:
    // The size of one shown page in pixels at the zoom; 0 x 0 when none fits.
    void PageSize(const CPreviewView& view, int& width, int& height) const;

    std::vector<long> starts_;
    int pagesAtOnce_;
    std::size_t first_ = 0;
    std::size_t zoom_ = 0;
    int scrollX_ = 0;
    int scrollY_ = 0;
};

} // namespace sorbex
