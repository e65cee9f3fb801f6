// The preview window's arithmetic.
#include "preview/PreviewLayout.h"

#include <algorithm>

namespace keywright {

namespace {

// The tree's right edge for a split at `position`: two pixels left of it, and never
// so far that the tree or the list vanishes.
int TreeRight(const PreviewMeasures& measures, int position) {
    const int lowest = measures.left + 1;
    const int highest = PaneAreaRight(measures) - (kSplitterWidth + 1);
    return std::max(lowest, std::min(position - 2, highest));
}

PreviewPanes Panes(const PreviewMeasures& measures, int position) {
    const int areaRight = PaneAreaRight(measures);
    const int bottom = std::max(measures.top, measures.statusTop);
    const int treeRight = TreeRight(measures, position);
    PreviewPanes panes;
    panes.tree = {measures.left, measures.top, treeRight, bottom};
    panes.splitter = {treeRight, measures.top, treeRight + kSplitterWidth, bottom};
    panes.list = {treeRight + kSplitterWidth, measures.top,
                  std::max(treeRight + kSplitterWidth, areaRight), bottom};
    panes.splitPosition = treeRight + 2;
    panes.splitPercent = areaRight > 0 ? (panes.splitPosition - measures.left) * 100 / areaRight
                                       : kInitialSplitPercent;
    return panes;
}

} // namespace

int PaneAreaRight(const PreviewMeasures& measures) {
    return measures.clientWidth - 2 * measures.buttonRightMargin - measures.buttonWidth;
}

PreviewPanes LayOutByPercent(const PreviewMeasures& measures, int percent) {
    // Rounded to the nearest pixel.
    const int position = (percent * PaneAreaRight(measures) + 50) / 100;
    return Panes(measures, position);
}

PreviewPanes LayOutAtPosition(const PreviewMeasures& measures, int position) {
    return Panes(measures, position);
}

int PercentForPosition(const PreviewMeasures& measures, int position, int fallback) {
    const int areaRight = PaneAreaRight(measures);
    if (areaRight <= 0 || position <= measures.left || position >= areaRight)
        return fallback;
    return Panes(measures, position).splitPercent;
}

PreviewSize MinimumWindowSize(int captionHeight) {
    return {15 * captionHeight, 10 * captionHeight};
}

PreviewRect DragLine(const PreviewMeasures& measures, int x) {
    const int position = TreeRight(measures, x) + 2;
    return {position - 1, measures.top, position + 2, std::max(measures.top, measures.statusTop)};
}

int ProgressPartRight(int statusWidth) {
    return (statusWidth * 9 + 5) / 10;
}

PreviewRect ProgressBarRect(const PreviewRect& part) {
    const int height = part.height() / 2;
    const int top = part.top + (part.height() - height) / 2;
    return {part.left + 2, top, std::max(part.left + 2, part.right - 2), top + height};
}

int ProgressPercent(std::uint32_t position, std::uint32_t size) {
    if (size == 0)
        return 0;
    return static_cast<int>(std::uint64_t{position} * 100 / size);
}

bool ProgressSteps::Advance(int percent) {
    if (percent == shown_)
        return false;
    shown_ = percent;
    return true;
}

PreviewRect OpeningRect(const PreviewRect& stored, const PreviewSize& minimum,
                        const PreviewRect& screen, const PreviewRect& fallback) {
    PreviewRect rect = stored;
    rect.right = std::max(rect.right, rect.left + minimum.width);
    rect.bottom = std::max(rect.bottom, rect.top + minimum.height);
    // The caption must be reachable: some of its height inside the screen.
    const bool visible = rect.left < screen.right && rect.right > screen.left &&
                         rect.top >= screen.top - minimum.height / 10 && rect.top < screen.bottom;
    if (visible)
        return rect;
    PreviewRect moved = fallback;
    moved.right = std::max(moved.right, moved.left + minimum.width);
    moved.bottom = std::max(moved.bottom, moved.top + minimum.height);
    return moved;
}

} // namespace keywright
