// The message text of an expression compile error.
#include "engine/ExprError.h"

#include "strings/SorbexStrings.h"

namespace sorbex {

const char* CExprError::what() const noexcept {
    return SorbexString(id);
}

} // namespace sorbex
