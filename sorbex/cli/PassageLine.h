// The printed form of one passage: its offsets and its line with the passage marked.
#pragma once

#include <string>
#include <string_view>

#include "engine/Passage.h"

namespace sorbex {

// "  START-END: before[[passage]]after" for the line(s) that hold `passage` in `text`.
// Long context and long passages are cut, the cut marked with "..."; the bytes are those
// of the text (Windows-1252).
std::string FormatPassageLine(std::string_view text, const CPassage& passage);

} // namespace sorbex
