// The parser that turns a search expression into a tree of terms, nots and ands.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "engine/ExprNode.h"

namespace sorbex {

class CTermNode;

// Recursive descent over the expression's bytes. Only '&', '!', '(', ')', '\' and the
// space mean something here; everything else is operand text for the pattern matcher.
// Errors are thrown as CExprError.
class CExprParser {
public:
    explicit CExprParser(std::string_view expression) : text(expression) {}

    // The tree of the whole expression; never empty.
    std::unique_ptr<CExprNode> ParseExpression();

    // The number of unescaped '(' met, which numbers the groups from 1.
    int GroupCount() const { return groupCounter; }

private:
    std::unique_ptr<CExprNode> Parse(bool inNot, bool inAndRight, bool& closed);
    std::unique_ptr<CExprNode> ParseNot(bool inNot, bool inAndRight, bool& closed,
                                        std::unique_ptr<CExprNode>& result);
    std::unique_ptr<CExprNode> ParseAnd(std::size_t start, bool inAndRight, bool& closed,
                                        std::unique_ptr<CExprNode>& result);
    void ParseGroup(bool textSeen, std::unique_ptr<CExprNode>& result);
    int ReadDistance();
    std::unique_ptr<CTermNode> MakeTerm(std::size_t from, std::size_t to,
                                        bool removeEnclosing) const;

    std::string_view text;
    std::size_t pos = 0;
    int groupCounter = 0;
    int depth = 0;
    int levels = 0; // how deep Parse has recursed
};

} // namespace sorbex
