// Turning a stretch of expression text into the pattern of a term.
#pragma once

#include <string>
#include <string_view>

namespace sorbex {

// The stretch as the pattern sees it: the backslash of an escaped '&' or '!' goes (they
// mean something only to the expression), every other escape stays for the pattern.
// `groupsInside` receives the number of unescaped '(' in the stretch.
std::string UnescapeOperand(std::string_view stretch, int& groupsInside);

// Removes spaces and tabs from both ends of `pattern`, but not an escaped one at the end.
void TrimOperand(std::string& pattern);

// If `pattern` is longer than one byte and a '(' at its start is closed by the ')' at
// its end, removes both, trims what is left and returns true.
bool StripEnclosingPair(std::string& pattern);

} // namespace sorbex
