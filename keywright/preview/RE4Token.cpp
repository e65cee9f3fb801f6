// The names the registry-file reader's trace gives its tokens.
#include "preview/RE4Token.h"

namespace keywright {

const char* TokenName(RE4Token token) {
    // In the order of the kinds' numbers.
    static constexpr const char* kNames[] = {
        "kInvalid",      "kFileMarker", "kDwordType", "kDwordVal", "kBinary", "kLeftParen",
        "kRightParen",   "kColon",      "kByteVal",   "kEQ",       "kAtSign", "kComma",
        "kQuotedString", "kKey",        "kValueType", "kEOF",
    };
    const auto index = static_cast<unsigned>(token);
    return index < sizeof kNames / sizeof kNames[0] ? kNames[index] : "kInvalid";
}

} // namespace keywright
