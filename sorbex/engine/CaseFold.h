// Case folding of Windows-1252 bytes for searches that ignore case.
#pragma once

namespace sorbex {

// The upper-case form of `c`: ASCII letters and the German umlauts ä, ö, ü have one;
// every other byte (ß among them) stands for itself.
unsigned char FoldToUpper(unsigned char c);

} // namespace sorbex
