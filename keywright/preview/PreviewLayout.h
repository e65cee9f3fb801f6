// The preview window's arithmetic: where tree, splitter bar and list go, the smallest
// window, the splitter's drag line, the progress bar in the status bar and its steps,
// and where the window opens.
#pragma once

#include "platform/Rect.h"

#include <cstdint>

namespace keywright {

using PreviewRect = kestrix::Rect;

constexpr int kSplitterWidth = 4;
constexpr int kInitialSplitPercent = 50;

// What the window measures before each layout, in client coordinates.
struct PreviewMeasures {
    int clientWidth = 0;
    int buttonWidth = 0;       // the OK button's
    int buttonRightMargin = 0; // from the button's right edge to the client's
    int left = 0;              // the tree's left edge, from the dialog template
    int top = 0;               // the panes' top edge, from the dialog template
    int statusTop = 0;         // the status bar's top edge
};

struct PreviewPanes {
    PreviewRect tree;
    PreviewRect splitter;
    PreviewRect list;
    int splitPosition = 0; // pixels
    int splitPercent = 0;
};

// After a size change: the split at `percent` of the area's width.
PreviewPanes LayOutByPercent(const PreviewMeasures& measures, int percent);
// After the splitter was dragged: the split at `position` pixels.
PreviewPanes LayOutAtPosition(const PreviewMeasures& measures, int position);

// The right edge of the panes' area: the client width less the button column.
int PaneAreaRight(const PreviewMeasures& measures);

// The split percentage that puts the splitter at `position` pixels, as the window
// restores a stored position when it opens; `fallback` when it lies outside the area.
int PercentForPosition(const PreviewMeasures& measures, int position, int fallback);

struct PreviewSize {
    int width = 0;
    int height = 0;
};

// The window can't be made narrower than 15 caption heights or lower than 10.
PreviewSize MinimumWindowSize(int captionHeight);

// The inverted line the splitter draws while it is dragged to `x`: 3 pixels wide, from
// the panes' top to their bottom, kept where the layout would accept the split.
PreviewRect DragLine(const PreviewMeasures& measures, int x);

// The right edge of the status bar's first part while the progress bar shows: 90 %
// of its width, rounded; the second part takes the rest.
int ProgressPartRight(int statusWidth);
// The progress bar inside that part: 2 pixels in from each side, half the part's
// height, centred vertically.
PreviewRect ProgressBarRect(const PreviewRect& part);

// Percent read: position × 100 ÷ size, without the overflow of 32-bit arithmetic
// above 42 MB; 0 for an unknown size.
int ProgressPercent(std::uint32_t position, std::uint32_t size);

// Tells the window when the bar needs to move: the reader reports at every line, the
// bar changes at most a hundred times.
class ProgressSteps {
public:
    // True when `percent` differs from the last percent shown, which it becomes.
    bool Advance(int percent);
    void Reset() { shown_ = -1; }

private:
    int shown_ = -1;
};

// Where the window opens: the stored edges, made at least the minimum size, and back
// at the default place when they would leave no part of the window on the screen.
PreviewRect OpeningRect(const PreviewRect& stored, const PreviewSize& minimum,
                        const PreviewRect& screen, const PreviewRect& fallback);

} // namespace keywright
