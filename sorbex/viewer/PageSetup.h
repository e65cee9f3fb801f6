// The page layout of printing and print preview ("PageSetup"): margins in twips as
// stored, and the page-setup dialog's hundredths of a millimetre.
#pragma once

#include <array>
#include <functional>
#include <vector>

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

// A rectangle in twips.
struct CTwipsRect {
    long left = 0;
    long top = 0;
    long right = 0;
    long bottom = 0;
    bool operator==(const CTwipsRect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};

// What a printer's page offers, in twips: the paper's size, and where the area it can
// print on begins and ends (its coordinates start there).
struct CPrinterPage {
    long paperWidth = 0;
    long paperHeight = 0;
    long printableLeft = 0;
    long printableTop = 0;
    long printableWidth = 0;
    long printableHeight = 0;
};

// Where the text goes on each page, in the printable area's coordinates: the paper less
// the margins, kept within what the printer can print. Margins that leave no room (wider
// together than the paper) give way to the whole printable area, so that every page
// holds some text and printing ends.
CTwipsRect PrintArea(const CPrinterPage& page, const CPageSetup& setup);

// The first position of each page of a text of `length` positions, where `layOutPage`
// lays out (or prints) the page that begins at a position and returns where the next
// one begins. A page that takes nothing ends it: a control that cannot place a
// character would otherwise make empty pages without end.
std::vector<long> PaginateText(long length, const std::function<long(long from)>& layOutPage);

} // namespace sorbex
