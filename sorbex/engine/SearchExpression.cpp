// Compiling a search expression, and what the passages of its root mean for a text.
#include "engine/SearchExpression.h"

#include <new>

#include "engine/ExprParser.h"
#include "engine/NotNode.h"
#include "engine/SearchFlags.h"
#include "engine/TermNode.h"
#include "strings/StringIds.h"

namespace sorbex {

std::optional<CExprError> CompileSearchExpression(std::string_view expression,
                                                  const CExpressionOptions& options,
                                                  CPatternRegistry& registry,
                                                  std::unique_ptr<CExprNode>& root,
                                                  int& groupCount) {
    root.reset();
    registry.Clear();
    try {
        CExprParser parser(expression);
        std::unique_ptr<CExprNode> tree = parser.ParseExpression();
        groupCount = parser.GroupCount();

        unsigned flags = options.method == CSearchMethod::Phonetic ? kSearchMethodPhonetic
                                                                   : kSearchMethodStandard;
        if (options.wholeWords) {
            flags |= kSearchWholeWords;
        }
        if (options.matchCase) {
            flags |= kSearchMatchCase;
        }
        tree->SetFlags(flags);
        tree->Compile(registry);
        root = std::move(tree);
        return std::nullopt;
    } catch (const CExprError& error) {
        registry.Clear();
        return error;
    } catch (const std::bad_alloc&) {
        registry.Clear();
        return CExprError(IDS_MEMORY_OVERFLOW);
    }
}

std::unique_ptr<CPassageList> EvaluateRoot(const CExprNode& root, const char* text,
                                           std::size_t length, int subexpression) {
    // With a subexpression chosen, the marks of every passage count.
    const auto* inverted = subexpression == 0 ? dynamic_cast<const CNotNode*>(&root) : nullptr;
    const auto* term =
        inverted ? dynamic_cast<const CTermNode*>(inverted->child.get()) : nullptr;
    if (term == nullptr)
        return root.Evaluate(text, length, subexpression);
    std::unique_ptr<CPassageList> list = term->EvaluateUpTo(text, length, 0, 1);
    if (list)
        list->inverted = !list->inverted;
    return list;
}

ExprOutcome InterpretRootList(CPassageList& list, int subexpression) {
    if (subexpression > 0) {
        list.RemoveUnmarked();
    }
    if (!list.inverted && !list.empty()) {
        return ExprOutcome::MatchWithPassages;
    }
    if (list.inverted && list.empty()) {
        return ExprOutcome::FileLevelMatch;
    }
    return ExprOutcome::NoMatch;
}

} // namespace sorbex
