// The page layout of printing and print preview ("PageSetup"): margins in twips as
// stored, and the page-setup dialog's hundredths of a millimetre.
#pragma once

#include <array>

namespace sorbex {

constexpr int kOrientationPortrait = 1;
constexpr int kOrientationLandscape = 2;
constexpr int kPaperA4 = 9;

struct CPageSetup {
    // Left, top, right and bottom, in twips (1440 per inch; 1134 is 2 cm).
    std::array<long, 4> margins{{1134, 1134, 1134, 1134}};
    int orientation = kOrientationPortrait;
    int paperSize = kPaperA4; // the printer interface's paper size number
};

// What the page-setup dialog shows and returns.
struct CPageSetupDialogValues {
    std::array<long, 4> margins{}; // left, top, right, bottom, in 1/100 mm
    int orientation = kOrientationPortrait;
    int paperSize = kPaperA4;
};

// Rounded to the nearest unit, so that opening the dialog and pressing OK gives back
// the margins it was given: 1134 twips are 2000 hundredths and 2000 are 1134 twips.
long TwipsToHundredthsOfMm(long twips);
long HundredthsOfMmToTwips(long hundredths);

CPageSetupDialogValues ToDialogValues(const CPageSetup& setup);
CPageSetup FromDialogValues(const CPageSetupDialogValues& values);

} // namespace sorbex
