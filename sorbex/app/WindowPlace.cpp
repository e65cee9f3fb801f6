// Where a window stored in the profile comes back: on a monitor the user still has,
// with enough of its caption showing to be taken and moved.
#include "app/WindowPlace.h"

#include <algorithm>

#include "platform/FitSpan.h"

namespace sorbex {
namespace {

CRect Intersection(const CRect& a, const CRect& b) {
    CRect both;
    both.left = std::max(a.left, b.left);
    both.top = std::max(a.top, b.top);
    both.right = std::min(a.right, b.right);
    both.bottom = std::min(a.bottom, b.bottom);
    if (both.right < both.left || both.bottom < both.top)
        return CRect();
    return both;
}

long long Area(const CRect& rect) {
    return static_cast<long long>(rect.width()) * rect.height();
}

} // namespace

CRect KeepOnWorkArea(const CRect& window, const std::vector<CRect>& workAreas) {
    if (workAreas.empty())
        return window;
    CRect caption = window;
    caption.bottom = std::min(window.bottom, window.top + kCaptionGrip);
    const int needed = std::min(kMinVisibleCaption, std::max(window.width(), 1));
    std::size_t best = 0;
    long long bestOverlap = 0;
    for (std::size_t k = 0; k < workAreas.size(); ++k) {
        const CRect shown = Intersection(caption, workAreas[k]);
        if (shown.width() >= needed && shown.height() == caption.height() && caption.height() > 0)
            return window;
        const long long overlap = Area(Intersection(window, workAreas[k]));
        if (overlap > bestOverlap) {
            best = k;
            bestOverlap = overlap;
        }
    }
    const CRect& area = workAreas[best];
    CRect placed = window;
    kestrix::FitSpan(placed.left, placed.right, area.left, area.right);
    kestrix::FitSpan(placed.top, placed.bottom, area.top, area.bottom);
    return placed;
}

} // namespace sorbex
