// The filter list of the preview's open-file dialog, from its string-table form.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keywright {

// `text`'s first character separates the parts: every later occurrence of it becomes a
// zero byte, and the list begins after it ("|Name|*.REG||" gives "Name\0*.REG\0\0").
// None for an empty text.
std::optional<std::string> OpenFileFilter(std::string_view text);

} // namespace keywright
