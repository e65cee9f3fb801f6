// The and operator of a search expression, plain or limited to a distance.
#pragma once

#include "engine/ExprNode.h"

namespace sorbex {

class CAndNode final : public CExprNode {
public:
    std::unique_ptr<CExprNode> left;
    std::unique_ptr<CExprNode> right;
    // -1: plain and; n >= 0: the operands' passages at most n bytes apart.
    int distance = -1;

    bool IsEmpty() const override { return left == nullptr || right == nullptr; }
    void SetFlags(unsigned flags) override;

    // Puts the cheaper operand on the left, so that it is evaluated first and a false
    // result spares the other's scan.
    int Compile(CPatternRegistry& registry) override;

    std::unique_ptr<CPassageList> Evaluate(const char* text, std::size_t length,
                                           int subexpression) const override;

private:
    std::unique_ptr<CPassageList> EvaluatePlain(const char* text, std::size_t length,
                                                int subexpression) const;
    std::unique_ptr<CPassageList> EvaluateNear(const char* text, std::size_t length,
                                               int subexpression) const;
};

} // namespace sorbex
