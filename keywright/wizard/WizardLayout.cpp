// The wizard's layout arithmetic.
#include "wizard/WizardLayout.h"

#include <algorithm>

namespace keywright {

namespace {

WizardRect Moved(WizardRect r, int dx, int dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
    return r;
}

} // namespace

WizardPlacement LayOutWizard(const WizardFrame& frame, int clientWidth, int clientHeight,
                             WizardState state) {
    const int dx = std::max(clientWidth, frame.firstWidth) - frame.firstWidth;
    const int dy = std::max(clientHeight, frame.firstHeight) - frame.firstHeight;
    WizardPlacement p;
    p.back = Moved(frame.back, dx, dy);
    p.next = Moved(frame.next, dx, dy);
    p.close = Moved(frame.close, dx, dy);
    p.upperDivider = frame.upperDivider;
    p.upperDivider.right += dx;
    p.lowerDivider = Moved(frame.lowerDivider, 0, dy);
    p.lowerDivider.right += dx;
    p.sideShift = dx;
    p.progressShift = dy;

    const int pageBottom = p.lowerDivider.top - frame.gap;
    p.list = frame.list;
    p.list.right += dx;
    if (state == kStateSearch)
        p.list.bottom = frame.progress.top + dy - frame.gap;
    else if (state == kStateReview)
        p.list.bottom = pageBottom - kDetailHeight - frame.gap;
    else
        p.list.bottom = pageBottom;
    p.list.bottom = std::max(p.list.bottom, p.list.top);
    p.detail = WizardRect{p.list.left, p.list.bottom + frame.gap, p.list.right,
                          p.list.bottom + frame.gap + kDetailHeight};
    p.column0 = std::max(p.list.width() - kColumn0Margin, 0);
    return p;
}

} // namespace keywright
