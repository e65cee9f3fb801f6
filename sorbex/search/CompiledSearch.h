// One compiled search expression: the tree and the patterns it refers to.
#pragma once

#include <memory>
#include <optional>

#include "engine/ExprError.h"
#include "engine/ExprNode.h"
#include "engine/PatternRegistry.h"

namespace sorbex {

// Shared with the thread that evaluates it, so that work given up can finish with it
// after the run has moved on. Its matchers keep state while they search: a thread
// evaluates with a copy of its own.
struct CCompiledSearch {
    CPatternRegistry registry;
    std::unique_ptr<CExprNode> root;
    int groupCount = 0;
    std::optional<CExprError> error;
};

} // namespace sorbex
