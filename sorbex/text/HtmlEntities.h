// The character references that the HTML reader decodes.
#pragma once

#include <optional>
#include <string_view>

namespace sorbex {

// The byte for a reference name (the text between "&" and ";"), or nothing for a
// name that is not decoded. Names are case-sensitive; the numeric forms ("#104",
// "#x68") give the printable ASCII characters and those from 160 to 255.
std::optional<unsigned char> LookUpHtmlEntity(std::string_view name);

} // namespace sorbex
