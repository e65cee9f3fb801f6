// The page layout of printing and print preview ("PageSetup"): margins in twips as
// stored, and the page-setup dialog's hundredths of a millimetre.
#include "viewer/PageSetup.h"

#include <algorithm>
#include <cstdint>

namespace sorbex {
namespace {

constexpr std::int64_t kTwipsPerInch = 1440;
constexpr std::int64_t kHundredthsOfMmPerInch = 2540;

// value * multiplier / divisor, rounded half away from zero.
long Scale(long value, std::int64_t multiplier, std::int64_t divisor) {
    const std::int64_t product = std::int64_t{value} * multiplier;
    const std::int64_t half = divisor / 2;
    return static_cast<long>(product >= 0 ? (product + half) / divisor
                                          : -((-product + half) / divisor));
}

} // namespace

long TwipsToHundredthsOfMm(long twips) {
    return Scale(twips, kHundredthsOfMmPerInch, kTwipsPerInch);
}

long HundredthsOfMmToTwips(long hundredths) {
    return Scale(hundredths, kTwipsPerInch, kHundredthsOfMmPerInch);
}

CPageSetupDialogValues ToDialogValues(const CPageSetup& setup) {
    CPageSetupDialogValues values;
    std::transform(setup.margins.begin(), setup.margins.end(), values.margins.begin(),
                   TwipsToHundredthsOfMm);
    values.orientation = setup.orientation;
    values.paperSize = setup.paperSize;
    return values;
}

CPageSetup FromDialogValues(const CPageSetupDialogValues& values) {
    CPageSetup setup;
    std::transform(values.margins.begin(), values.margins.end(), setup.margins.begin(),
                   HundredthsOfMmToTwips);
    setup.orientation = values.orientation;
    setup.paperSize = values.paperSize;
    return setup;
}

CTwipsRect PrintArea(const CPrinterPage& page, const CPageSetup& setup) {
    const CTwipsRect printable{0, 0, std::max(page.printableWidth, 0L),
                               std::max(page.printableHeight, 0L)};
    CTwipsRect area;
    area.left = std::max(setup.margins[0] - page.printableLeft, printable.left);
    area.top = std::max(setup.margins[1] - page.printableTop, printable.top);
    area.right = std::min(page.paperWidth - setup.margins[2] - page.printableLeft, printable.right);
    area.bottom =
        std::min(page.paperHeight - setup.margins[3] - page.printableTop, printable.bottom);
    if (area.right <= area.left) {
        area.left = printable.left;
        area.right = printable.right;
    }
    if (area.bottom <= area.top) {
        area.top = printable.top;
        area.bottom = printable.bottom;
    }
    return area;
}

std::vector<long> PaginateText(long length, const std::function<long(long from)>& layOutPage) {
    std::vector<long> starts;
    long from = 0;
    do {
        starts.push_back(from);
        const long next = layOutPage(from);
        if (next <= from)
            break;
        from = next;
    } while (from < length);
    return starts;
}

} // namespace sorbex
