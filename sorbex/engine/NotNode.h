// The not operator of a search expression.
#pragma once

#include "engine/ExprNode.h"

namespace sorbex {

class CNotNode final : public CExprNode {
public:
    std::unique_ptr<CExprNode> child;

    bool IsEmpty() const override { return child == nullptr; }
    void SetFlags(unsigned flags) override;
    int Compile(CPatternRegistry& registry) override;

    // The child's passages with the list's truth turned around.
    std::unique_ptr<CPassageList> Evaluate(const char* text, std::size_t length,
                                           int subexpression) const override;
};

} // namespace sorbex
