// The main window's layout: toolbar, property bar, splitter, tab row, result view and
// status bar, and the fold of the property bar while a search runs.
#pragma once

#include "platform/Rect.h"

#include <cstdint>

namespace sorbex {

using CRect = kestrix::Rect;

// The strip the property bar folds to: its page tabs stay visible.
constexpr int kFoldedBarHeight = 25;
constexpr std::uint32_t kFoldMilliseconds = 750;
// The splitter factor stays where both panes remain usable.
constexpr double kMinSplitFactor = 0.05;
constexpr double kMaxSplitFactor = 0.95;

struct CFrameMetrics {
    int toolbarHeight = 0; // 0 when hidden
    int statusHeight = 0;  // 0 when hidden
    int splitterHeight = 0;
    int tabRowHeight = 0;
};

struct CFrameLayout {
    CRect toolbar;
    CRect propertyBar;
    CRect splitter;
    CRect tabRow;
    CRect resultView;
    CRect status;
};

// The room between toolbar and status bar that the property bar and results share.
int SharedHeight(const CRect& client, const CFrameMetrics& metrics);
// The property bar's height for a split factor (clamped to its range).
int PropertyBarHeight(int sharedHeight, double splitFactor);
// The split factor for a property bar dragged to `barHeight`, clamped to its range.
double SplitFactorFor(int barHeight, int sharedHeight);

// Lays the frame out with the property bar `barHeight` pixels high (no taller than the
// room there is); the results get the rest. While the bar folds, its window stands
// `standingHeight` pixels high (the taller end of the fold) and the panes below it,
// which follow `barHeight`, cover its lower part: a frame of the fold moves only them.
CFrameLayout LayOutFrame(const CRect& client, const CFrameMetrics& metrics, int barHeight,
                         int standingHeight = 0);

// The property bar inside: the row of definition pages and, at its right, the Start and
// Stop buttons. Folded (no taller than the strip), only the page tabs stay visible.
struct CPropertyBarMetrics {
    int margin = 0;
    int buttonWidth = 0;
    int buttonHeight = 0;
    int buttonTop = 0; // below the top edge, so that the buttons sit beside the pages
};

// Where the bar is: open, folded to its strip, or between the two while the frame folds
// or unfolds it. While it moves, the pages stay as they are shown open, and the panes
// that slide over the bar cover or uncover them.
enum class CBarFold { Open, Moving, Folded };

struct CPropertyBarLayout {
    CRect tabs;
    CRect start;
    CRect stop;
    bool pagesVisible = true; // the pages and both buttons
};

CPropertyBarLayout LayOutPropertyBar(int width, int height, const CPropertyBarMetrics& metrics,
                                     CBarFold fold = CBarFold::Open);

// The fold and unfold of the property bar: its height moves from one value to another
// in proportion to the time elapsed.
class CFoldAnimation {
public:
    void Start(int fromHeight, int toHeight, std::uint32_t now);
    int HeightAt(std::uint32_t now) const;
    bool Running(std::uint32_t now) const;
    // Sets `height` to the fold's height at `now` and says whether that moved it: a tick
    // that falls between two pixel steps changes nothing on the screen and costs nothing.
    // With `spacingMs`, a move also waits until the last one is that old, so that a busy
    // thread draws fewer frames of the same fold; the fold's last height never waits.
    bool Step(std::uint32_t now, int& height, std::uint32_t spacingMs = 0);
    int target() const { return to_; }
    // The height the bar's window keeps while the fold runs: the taller of its two ends.
    int standingHeight() const { return from_ > to_ ? from_ : to_; }

private:
    int from_ = 0;
    int to_ = 0;
    std::uint32_t start_ = 0;
    std::uint32_t lastMove_ = 0;
    bool started_ = false;
    bool moved_ = false; // since Start
};

} // namespace sorbex
