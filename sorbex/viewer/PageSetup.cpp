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

} // namespace sorbex
