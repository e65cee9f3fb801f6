// The description of the file viewer's font shown beside the options' font button.
#pragma once

#include <string>

#include "app/Profile.h"

namespace sorbex {

// The text limit of the description before the colour is added.
constexpr std::size_t kFontDescriptionLimit = 255;

// "Arial, 10 Points, Standard" with ", Underlined" and ", Crossed out" after the style
// name as the effects say, cut to 255 characters; then, since the viewer's font
// choice always includes its effects, ", " and the colour.
std::string DescribeViewerFont(const CFontChoice& font);

} // namespace sorbex
