// The main window's layout: toolbar, property bar, splitter, tab row, result view and
// status bar, and the fold of the property bar while a search runs.
#include "app/FrameLayout.h"

#include <algorithm>
#include <cmath>

namespace sorbex {

int SharedHeight(const CRect& client, const CFrameMetrics& m) {
    return std::max(0, client.height() - m.toolbarHeight - m.statusHeight);
}

int PropertyBarHeight(int sharedHeight, double splitFactor) {
    const double factor = std::clamp(splitFactor, kMinSplitFactor, kMaxSplitFactor);
    return static_cast<int>(std::lround(sharedHeight * factor));
}

double SplitFactorFor(int barHeight, int sharedHeight) {
    if (sharedHeight <= 0)
        return kMinSplitFactor;
    return std::clamp(static_cast<double>(barHeight) / sharedHeight, kMinSplitFactor,
                      kMaxSplitFactor);
}

CFrameLayout LayOutFrame(const CRect& client, const CFrameMetrics& m, int barHeight,
                         int standingHeight) {
    CFrameLayout layout;
    const int left = client.left;
    const int right = client.right;
    int y = client.top;
    layout.toolbar = {left, y, right, y + m.toolbarHeight};
    y += m.toolbarHeight;
    const int statusTop = std::max(y, client.bottom - m.statusHeight);
    layout.status = {left, statusTop, right, client.bottom};
    const int bar = std::clamp(barHeight, 0, statusTop - y);
    const int standing = std::clamp(standingHeight, bar, statusTop - y);
    layout.propertyBar = {left, y, right, y + standing};
    y += bar;
    const int splitter = std::min(m.splitterHeight, statusTop - y);
    layout.splitter = {left, y, right, y + splitter};
    y += splitter;
    const int tabs = std::min(m.tabRowHeight, statusTop - y);
    layout.tabRow = {left, y, right, y + tabs};
    y += tabs;
    layout.resultView = {left, y, right, statusTop};
    return layout;
}

CPropertyBarLayout LayOutPropertyBar(int width, int height, const CPropertyBarMetrics& m,
                                     CBarFold fold) {
    CPropertyBarLayout layout;
    layout.pagesVisible = height > kFoldedBarHeight && fold != CBarFold::Folded;
    const int buttonsLeft = std::max(0, width - m.margin - m.buttonWidth);
    const int tabsRight = layout.pagesVisible ? std::max(0, buttonsLeft - m.margin) : width;
    layout.tabs = {0, 0, tabsRight, std::max(0, height)};
    const int top = std::min(m.buttonTop, std::max(0, height - m.buttonHeight));
    layout.start = {buttonsLeft, top, buttonsLeft + m.buttonWidth, top + m.buttonHeight};
    const int stopTop = top + m.buttonHeight + m.margin;
    layout.stop = {buttonsLeft, stopTop, buttonsLeft + m.buttonWidth, stopTop + m.buttonHeight};
    return layout;
}

void CFoldAnimation::Start(int fromHeight, int toHeight, std::uint32_t now) {
    from_ = fromHeight;
    to_ = toHeight;
    start_ = now;
    started_ = true;
    moved_ = false;
}

int CFoldAnimation::HeightAt(std::uint32_t now) const {
    if (!started_)
        return to_;
    const std::uint32_t elapsed = now - start_;
    if (elapsed >= kFoldMilliseconds)
        return to_;
    const double share = static_cast<double>(elapsed) / kFoldMilliseconds;
    return from_ + static_cast<int>(std::lround((to_ - from_) * share));
}

bool CFoldAnimation::Running(std::uint32_t now) const {
    return started_ && now - start_ < kFoldMilliseconds;
}

bool CFoldAnimation::Step(std::uint32_t now, int& height, std::uint32_t spacingMs) {
    const int next = HeightAt(now);
    if (next == height)
        return false;
    if (moved_ && Running(now) && now - lastMove_ < spacingMs)
        return false;
    height = next;
    moved_ = true;
    lastMove_ = now;
    return true;
}

} // namespace sorbex
