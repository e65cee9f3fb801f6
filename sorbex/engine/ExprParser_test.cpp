// Tests of the expression grammar: the trees it builds, its terms and its errors.
#include "engine/ExprParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/AndNode.h"
#include "engine/ExprError.h"
#include "engine/NotNode.h"
#include "engine/PatternRegistry.h"
#include "engine/SearchExpression.h"
#include "engine/TermNode.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

// A compact picture of a tree: 'term', !operand, (left & right), (left &n right), and
// [gN] or [gNxK] after a node that a group encloses.
std::string Describe(const CExprNode& node) {
    std::string out;
    if (const auto* term = dynamic_cast<const CTermNode*>(&node)) {
        out = "'" + term->pattern + "'";
    } else if (const auto* negation = dynamic_cast<const CNotNode*>(&node)) {
        out = "!" + Describe(*negation->child);
    } else if (const auto* conjunction = dynamic_cast<const CAndNode*>(&node)) {
        const std::string op =
            conjunction->distance < 0 ? "&" : "&" + std::to_string(conjunction->distance);
        out = "(" + Describe(*conjunction->left) + " " + op + " " + Describe(*conjunction->right) +
              ")";
    }
    if (node.group != 0) {
        out += "[g" + std::to_string(node.group);
        if (node.groupPairs > 1) {
            out += "x" + std::to_string(node.groupPairs);
        }
        out += "]";
    }
    return out;
}

void CollectTerms(const CExprNode& node, std::vector<const CTermNode*>& terms) {
    if (const auto* term = dynamic_cast<const CTermNode*>(&node)) {
        terms.push_back(term);
    } else if (const auto* negation = dynamic_cast<const CNotNode*>(&node)) {
        CollectTerms(*negation->child, terms);
    } else if (const auto* conjunction = dynamic_cast<const CAndNode*>(&node)) {
        CollectTerms(*conjunction->left, terms);
        CollectTerms(*conjunction->right, terms);
    }
}

// The number of the error that parsing `expression` raises, 0 for none.
unsigned ParseError(const std::string& expression) {
    try {
        CExprParser(expression).ParseExpression();
    } catch (const CExprError& error) {
        return error.Id();
    }
    return 0;
}

TEST(ExprParserTest, BuildsTrees) {
    struct Case {
        const char* expression;
        const char* tree;
    };
    const Case cases[] = {
        // single operands
        {"abc", "'abc'"},
        {"  abc  ", "'abc'"},
        {"a b", "'a b'"},
        {"x(ab)", "'x(ab)'"},
        {"(AB)|(CD)", "'(AB)|(CD)'"},
        {"(abc)", "'(abc)'"}, // a whole expression keeps its parentheses: group 1 is its own
        // precedence and associativity
        {"a&b&c", "('a' & ('b' & 'c'))"},
        {"!a&b", "(!'a' & 'b')"},
        {"a&!b", "('a' & !'b')"},
        {"a & b", "('a' & 'b')"},
        {"! a", "!'a'"},
        {"!!a", "!!'a'"},
        {"a&!b&c", "(('a' & !'b') & 'c')"},
        {"a&(b&c)&d", "('a' & (('b' & 'c')[g1] & 'd'))"},
        // distances
        {"a&20b", "('a' &20 'b')"},
        {"a& 20b", "('a' &20 'b')"},
        {"a&+7 b", "('a' &7 'b')"},
        {"a&0b", "('a' &0 'b')"},
        {"a&-3b", "('a' & 'b')"},
        {"a&x20", "('a' & 'x20')"},
        {"a&- b", "('a' & '- b')"},
        {"a&99999999999b", "('a' &2147483647 'b')"},
        // escapes
        {"a\\&b", "'a&b'"},
        {"a\\!b", "'a!b'"},
        {"\\(a\\)", "'\\(a\\)'"},
        {"a\\\\&b", "('a\\\\' & 'b')"},
        {"a\\ &b", "('a\\ ' & 'b')"},
        {"a\\\\ &b", "('a\\\\' & 'b')"},
        {"(a\\))&b", "('a\\)' & 'b')"},
        {"(a\\)&b)", "('a\\)' & 'b')[g1]"},
        {"a\\", "'a\\'"},
        {"\\!a&b\\&", "('!a' & 'b&')"},
        // parentheses
        {"(a&b)", "('a' & 'b')[g1]"},
        {"((a&b))", "('a' & 'b')[g1x2]"},
        {"(x)&y", "('x' & 'y')"},
        {"(AB)|(CD)&x", "('(AB)|(CD)' & 'x')"},
        {"!(a&b)&c", "(!('a' & 'b')[g1] & 'c')"},
        {"(!a)", "!'a'[g1]"},
        {"(a&b)&(c&d)", "(('a' & 'b')[g1] & ('c' & 'd')[g2])"},
        {"((a&b)&c)", "(('a' & 'b')[g2] & 'c')[g1]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        CExprParser parser(c.expression);
        std::unique_ptr<CExprNode> root;
        ASSERT_NO_THROW(root = parser.ParseExpression());
        EXPECT_EQ(c.tree, Describe(*root));
    }
}

TEST(ExprParserTest, NumbersGroupsAcrossTerms) {
    struct Case {
        const char* expression;
        int groupCount;
        std::vector<std::vector<int>> terms; // groupsBefore, groupsInside, strippedPairs
    };
    const Case cases[] = {
        {"(x)&y", 1, {{0, 1, 1}, {1, 0, 0}}},
        {"((x))&y", 2, {{0, 2, 2}, {2, 0, 0}}},
        {"(a(b))&((c)|d)", 4, {{0, 2, 1}, {2, 2, 1}}},
        {"(AB)|(CD)&(x)", 3, {{0, 2, 0}, {2, 1, 1}}},
        {"\\(a\\)&(b)", 1, {{0, 0, 0}, {0, 1, 1}}},
        {"!(a)&((b&c)&(d))", 4, {{0, 1, 1}, {3, 0, 0}, {3, 0, 0}, {3, 1, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        CExprParser parser(c.expression);
        std::unique_ptr<CExprNode> root = parser.ParseExpression();
        EXPECT_EQ(c.groupCount, parser.GroupCount());
        std::vector<const CTermNode*> terms;
        CollectTerms(*root, terms);
        ASSERT_EQ(c.terms.size(), terms.size());
        for (std::size_t i = 0; i < terms.size(); ++i) {
            SCOPED_TRACE(terms[i]->pattern);
            EXPECT_EQ(c.terms[i][0], terms[i]->groupsBefore);
            EXPECT_EQ(c.terms[i][1], terms[i]->groupsInside);
            EXPECT_EQ(c.terms[i][2], terms[i]->strippedPairs);
        }
    }
}

TEST(ExprParserTest, RejectsMalformedExpressions) {
    struct Case {
        const char* expression;
        unsigned id;
    };
    const Case cases[] = {
        // expression, message
        {"a !b", IDS_EXPR_NOT_NEEDS_AND},      {"(x)!y", IDS_EXPR_NOT_NEEDS_AND},
        {"a&b !c", IDS_EXPR_NOT_NEEDS_AND},    {"!", IDS_EXPR_NOT_OPERAND_MISSING},
        {"a&!", IDS_EXPR_NOT_OPERAND_MISSING}, {"(!)", IDS_EXPR_NOT_OPERAND_MISSING},
        {"!&a", IDS_EXPR_NOT_OPERAND_MISSING}, {"&b", IDS_EXPR_AND_LEFT_MISSING},
        {"  &b", IDS_EXPR_AND_LEFT_MISSING},   {"()&b", IDS_EXPR_AND_LEFT_MISSING},
        {"a&&b", IDS_EXPR_AND_LEFT_MISSING},   {"a&", IDS_EXPR_AND_RIGHT_MISSING},
        {"a&20", IDS_EXPR_AND_RIGHT_MISSING},  {"(a&)", IDS_EXPR_AND_RIGHT_MISSING},
        {"(a", IDS_EXPR_MISSING_CLOSE_PAREN},  {"(a&b", IDS_EXPR_MISSING_CLOSE_PAREN},
        {"a)", IDS_EXPR_MISSING_OPEN_PAREN},   {"a&b)", IDS_EXPR_MISSING_OPEN_PAREN},
        {"!a)", IDS_EXPR_MISSING_OPEN_PAREN},  {"", IDS_EXPR_EMPTY_SUBEXPRESSION},
        {"   ", IDS_EXPR_EMPTY_SUBEXPRESSION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(c.id, ParseError(c.expression));
    }
}

// Text beside a parenthesized boolean group used to vanish from the search; an ordinary
// pattern group beside text is still one operand.
TEST(ExprParserTest, RejectsTextBesideABooleanGroup) {
    const char* const rejected[] = {
        "x(a&b)",   "(a&b)|(c&d)", "(a&b)x",   "(a&b) x", "(a&b)(c)", "(c)(a&b)", "(a&b)(c&d)",
        "a&(b&c)x", "!(a&b)x",     "(a&b)\\&", "(a&b)\\", "x (!a)",   "((a&b)x)",
    };
    for (const char* expression : rejected) {
        SCOPED_TRACE(expression);
        EXPECT_EQ(IDS_EXPR_GROUP_NEEDS_AND, ParseError(expression));
    }
    const char* const accepted[] = {"x(ab)",  "(AB)|(CD)", "(ab)x",   "(a&b)&(c&d)",
                                    "!(a&b)", "a&(b&c)",   "(a|b)(c)"};
    for (const char* expression : accepted) {
        SCOPED_TRACE(expression);
        EXPECT_EQ(0u, ParseError(expression));
    }
}

TEST(CompileSearchExpressionTest, ReportsErrorsOfPatternsAndExpression) {
    struct Case {
        const char* expression;
        unsigned id;
    };
    const Case cases[] = {
        // expression, message
        {"a\\", IDS_RE_TRAILING_BACKSLASH},   {"x&[ab", IDS_RE_UNMATCHED_BRACKET},
        {"(a)\\2", IDS_RE_BAD_BACKREF},       {"a{1&b", IDS_RE_UNMATCHED_BRACE},
        {"(a", IDS_EXPR_MISSING_CLOSE_PAREN}, {"a)", IDS_EXPR_MISSING_OPEN_PAREN},
        {" ", IDS_EXPR_EMPTY_SUBEXPRESSION},  {"x(a&b)", IDS_EXPR_GROUP_NEEDS_AND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        CPatternRegistry registry;
        std::unique_ptr<CExprNode> root;
        int groups = -1;
        const std::optional<CExprError> error =
            CompileSearchExpression(c.expression, {}, registry, root, groups);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(c.id, error->Id());
        EXPECT_STREQ(SorbexString(c.id), error->what());
        EXPECT_EQ(nullptr, root);
        EXPECT_EQ(0u, registry.size());
    }
}

TEST(CompileSearchExpressionTest, PutsTheCheaperOperandFirst) {
    struct Case {
        const char* expression;
        const char* tree;
        int groups;
    };
    const Case cases[] = {
        {"longer&ab", "('ab' & 'longer')", 0},
        {"abc&xyz", "('abc' & 'xyz')", 0},
        {"!abc&xy", "('xy' & !'abc')", 0},
        {"(a&bbbbbb)&5(c)", "('c' &5 ('a' & 'bbbbbb')[g1])", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        CPatternRegistry registry;
        std::unique_ptr<CExprNode> root;
        int groups = -1;
        ASSERT_FALSE(CompileSearchExpression(c.expression, {}, registry, root, groups));
        EXPECT_EQ(c.tree, Describe(*root));
        EXPECT_EQ(c.groups, groups);
    }
}

TEST(CompileSearchExpressionTest, HandsTheFlagsToEveryTerm) {
    CPatternRegistry registry;
    std::unique_ptr<CExprNode> root;
    int groups = 0;
    ASSERT_FALSE(CompileSearchExpression("a&!(b&c)", {CSearchMethod::Standard, true, true},
                                         registry, root, groups));
    std::vector<const CTermNode*> terms;
    CollectTerms(*root, terms);
    ASSERT_EQ(3u, terms.size());
    EXPECT_EQ(3u, registry.size());
    for (const CTermNode* term : terms) {
        SCOPED_TRACE(term->pattern);
        EXPECT_EQ(0x31u, term->flags); // the standard method, whole words, match case
        EXPECT_GE(term->matcher, 0);
    }
}

} // namespace
} // namespace sorbex
