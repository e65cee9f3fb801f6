// Compiling a search expression, and what the passages of its root mean for a text.
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "engine/ExprError.h"
#include "engine/ExprNode.h"
#include "engine/PatternRegistry.h"

namespace sorbex {

// How the terms of an expression match: regular expressions or sounds.
enum class CSearchMethod { Standard, Phonetic };

struct CExpressionOptions {
    CSearchMethod method = CSearchMethod::Standard;
    bool wholeWords = false;
    bool matchCase = false;
};

// Compiles `expression` (not empty) into `root`, its terms' patterns into `registry`
// (emptied first), and counts its unescaped '(' into `groupCount`. Returns nothing on
// success; on failure the error, whose what() is the message, with `root` empty.
// `root` refers to `registry`, which must be kept, and not compiled into again, while
// `root` is evaluated.
std::optional<CExprError> CompileSearchExpression(std::string_view expression,
                                                  const CExpressionOptions& options,
                                                  CPatternRegistry& registry,
                                                  std::unique_ptr<CExprNode>& root,
                                                  int& groupCount);

enum class ExprOutcome {
    NoMatch,
    MatchWithPassages, // the list holds the passages found
    FileLevelMatch,    // the text matches as a whole, without passages
};

// The root's passages in the `length` bytes of `text`, as root.Evaluate gives them, or
// as much of them as InterpretRootList looks at: a not of one term at the root only asks
// whether the term occurs, so the term is searched up to its first passage.
std::unique_ptr<CPassageList> EvaluateRoot(const CExprNode& root, const char* text,
                                           std::size_t length, int subexpression);

// What the root's list says about its text. For a search that targets subexpression
// `subexpression` (> 0) the passages of other parts are removed from `list` first.
ExprOutcome InterpretRootList(CPassageList& list, int subexpression);

} // namespace sorbex
