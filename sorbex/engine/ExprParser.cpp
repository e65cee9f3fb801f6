// The parser that turns a search expression into a tree of terms, nots and ands.
#include "engine/ExprParser.h"

#include <climits>

#include "engine/AndNode.h"
#include "engine/ExprError.h"
#include "engine/NotNode.h"
#include "engine/PatternShapes.h"
#include "engine/TermNode.h"
#include "engine/TermText.h"
#include "strings/StringIds.h"

namespace sorbex {
namespace {

bool IsSpecial(char c) {
    return c == '\\' || c == '!' || c == '&' || c == '(' || c == ')';
}

// The white space that a "%d" conversion skips.
bool IsScanSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// At one level, a node stands in `result` only after a parenthesized boolean group or
// right before an '&'. Text beside such a group would otherwise be lost without a word.
void RejectTextBesideGroup(const std::unique_ptr<CExprNode>& result) {
    if (result != nullptr) {
        throw CExprError(IDS_EXPR_GROUP_NEEDS_AND);
    }
}

} // namespace

std::unique_ptr<CExprNode> CExprParser::ParseExpression() {
    pos = 0;
    groupCounter = 0;
    depth = 0;
    levels = 0;
    bool closed = false;
    std::unique_ptr<CExprNode> root = Parse(false, false, closed);
    if (depth > 0) {
        throw CExprError(IDS_EXPR_MISSING_CLOSE_PAREN);
    }
    if (depth < 0) {
        throw CExprError(IDS_EXPR_MISSING_OPEN_PAREN);
    }
    if (root == nullptr || root->IsEmpty()) {
        throw CExprError(IDS_EXPR_EMPTY_SUBEXPRESSION);
    }
    return root;
}

// Reads from `pos` up to the end of the text or to the ')' that closes this level (not
// consumed; `closed` says so). A not operand also ends before an '&', and a not or and
// that is an operand of another operator returns as soon as it is complete. Returns
// nullptr when the level read operand text only: the caller makes the term from it.
std::unique_ptr<CExprNode> CExprParser::Parse(bool inNot, bool inAndRight, bool& closed) {
    // Each '!', '&' and '(' reads its operand one level down: the text decides how deep
    // this recursion goes, and the stack must not.
    struct LevelGuard {
        int& levels;
        explicit LevelGuard(int& counter) : levels(++counter) {}
        ~LevelGuard() { --levels; }
    } guard(levels);
    if (levels > kMaxNesting) {
        throw CExprError(IDS_EXPR_NESTED_TOO_DEEPLY);
    }
    closed = false;
    const std::size_t start = pos;
    bool escaped = false;
    bool textSeen = false;
    std::unique_ptr<CExprNode> result;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == ' ') {
            escaped = false;
            ++pos;
            continue;
        }
        if (escaped || !IsSpecial(c)) {
            RejectTextBesideGroup(result);
            escaped = false;
            textSeen = true;
            ++pos;
            continue;
        }
        switch (c) {
        case '\\':
            RejectTextBesideGroup(result);
            escaped = true;
            ++pos;
            break;
        case '!':
            if (textSeen || result != nullptr) {
                throw CExprError(IDS_EXPR_NOT_NEEDS_AND);
            }
            if (auto node = ParseNot(inNot, inAndRight, closed, result)) {
                return node;
            }
            break;
        case '&':
            if (inNot) {
                return result;
            }
            if (auto node = ParseAnd(start, inAndRight, closed, result)) {
                return node;
            }
            break;
        case '(':
            ParseGroup(textSeen, result);
            textSeen = true;
            break;
        default: // ')'
            if (--depth < 0) {
                throw CExprError(IDS_EXPR_MISSING_OPEN_PAREN);
            }
            closed = true;
            return result;
        }
    }
    if (result != nullptr) {
        return result;
    }
    if (pos > start) {
        return MakeTerm(start, pos, inNot || inAndRight);
    }
    return nullptr;
}

// Reads the operand of the '!' at `pos`. Returns the not node when the level must return
// it at once, else leaves it in `result` and returns nullptr.
std::unique_ptr<CExprNode> CExprParser::ParseNot(bool inNot, bool inAndRight, bool& closed,
                                                 std::unique_ptr<CExprNode>& result) {
    ++pos;
    const std::size_t operandStart = pos;
    bool operandClosed = false;
    std::unique_ptr<CExprNode> operand = Parse(true, false, operandClosed);
    if (operand == nullptr) {
        operand = MakeTerm(operandStart, pos, true);
    }
    if (operand->IsEmpty()) {
        throw CExprError(IDS_EXPR_NOT_OPERAND_MISSING);
    }
    auto node = std::make_unique<CNotNode>();
    node->child = std::move(operand);
    if (inNot || inAndRight || operandClosed) {
        closed = operandClosed;
        return node;
    }
    result = std::move(node);
    return nullptr;
}

// Reads the distance and the right operand of the '&' at `pos`; the left operand is
// `result` or the text since `start`. Returns the and node when the level must return it
// at once (ands group to the right), else leaves it in `result` and returns nullptr.
std::unique_ptr<CExprNode> CExprParser::ParseAnd(std::size_t start, bool inAndRight, bool& closed,
                                                 std::unique_ptr<CExprNode>& result) {
    std::unique_ptr<CExprNode> leftOperand =
        result != nullptr ? std::move(result) : MakeTerm(start, pos, true);
    if (leftOperand->IsEmpty()) {
        throw CExprError(IDS_EXPR_AND_LEFT_MISSING);
    }
    ++pos;
    const int distance = ReadDistance();
    const std::size_t operandStart = pos;
    bool operandClosed = false;
    std::unique_ptr<CExprNode> rightOperand = Parse(false, true, operandClosed);
    if (rightOperand == nullptr) {
        rightOperand = MakeTerm(operandStart, pos, true);
    }
    if (rightOperand->IsEmpty()) {
        throw CExprError(IDS_EXPR_AND_RIGHT_MISSING);
    }
    auto node = std::make_unique<CAndNode>();
    node->left = std::move(leftOperand);
    node->right = std::move(rightOperand);
    node->distance = distance;
    if (inAndRight || operandClosed) {
        closed = operandClosed;
        return node;
    }
    result = std::move(node);
    return nullptr;
}

// Reads the group that opens at `pos` up to and past its ')'. A group whose content is a
// not or an and becomes `result`; any other group is operand text of a pattern.
void CExprParser::ParseGroup(bool textSeen, std::unique_ptr<CExprNode>& result) {
    const int number = ++groupCounter;
    ++depth;
    ++pos;
    bool innerClosed = false;
    std::unique_ptr<CExprNode> inner = Parse(false, false, innerClosed);
    if (pos >= text.size() || text[pos] != ')') {
        throw CExprError(IDS_EXPR_MISSING_CLOSE_PAREN);
    }
    if (inner != nullptr) {
        if (inner->IsEmpty()) {
            throw CExprError(IDS_EXPR_EMPTY_SUBEXPRESSION);
        }
        if (textSeen) {
            throw CExprError(IDS_EXPR_GROUP_NEEDS_AND);
        }
        RejectTextBesideGroup(result);
        // A pair directly around another ("((a&b))") names the same node: it carries the
        // outer number and counts the pairs, so that each number marks it.
        inner->group = number;
        ++inner->groupPairs;
        result = std::move(inner);
    } else {
        RejectTextBesideGroup(result);
    }
    ++pos;
}

// The distance after '&', read as "%d%n" reads it: optional white space, an optional
// sign, digits. Nothing is consumed unless there are digits. A negative number, or none,
// gives -1 (a plain and); numbers too big for int saturate.
int CExprParser::ReadDistance() {
    std::size_t p = pos;
    while (p < text.size() && IsScanSpace(text[p])) {
        ++p;
    }
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    if (p >= text.size() || !IsDigit(text[p])) {
        return -1;
    }
    long long value = 0;
    for (; p < text.size() && IsDigit(text[p]); ++p) {
        if (value <= INT_MAX) {
            value = value * 10 + (text[p] - '0');
        }
    }
    pos = p;
    if (negative && value != 0) {
        return -1;
    }
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

std::unique_ptr<CTermNode> CExprParser::MakeTerm(std::size_t from, std::size_t to,
                                                 bool removeEnclosing) const {
    while (from < to && text[from] == ' ') {
        ++from;
    }
    auto term = std::make_unique<CTermNode>();
    term->pattern = UnescapeOperand(text.substr(from, to - from), term->groupsInside);
    term->groupsBefore = groupCounter - term->groupsInside;
    TrimOperand(term->pattern);
    if (removeEnclosing) {
        while (StripEnclosingPair(term->pattern)) {
            ++term->strippedPairs;
        }
    }
    return term;
}

} // namespace sorbex
