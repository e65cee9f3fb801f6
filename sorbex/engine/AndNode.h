// The and operator of a search expression, plain or limited to a distance.
#pragma once

#include "engine/ExprNode.h"

namespace sorbex {

class CTermNode;

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

    // How a plain and reads an operand: a term, or a not of one, first only as far as
    // its first passage, which settles its truth.
    struct Operand {
        const CExprNode* node = nullptr;
        const CTermNode* term = nullptr; // the node, or the term under the not
        bool inverted = false;
    };
    static Operand ReadOperand(const CExprNode& node);
    static std::unique_ptr<CPassageList> Probe(const Operand& operand, const char* text,
                                               std::size_t length, int subexpression);
    Operand leftOperand;
    Operand rightOperand;
};

} // namespace sorbex
