// A term of a search expression: one pattern, matched by the method's matcher.
#pragma once

#include <string>

#include "engine/ExprNode.h"

namespace sorbex {

class CTermNode final : public CExprNode {
public:
    std::string pattern;   // the operand text after clean-up
    unsigned flags = 0;    // the search flag word
    int matcher = -1;      // index of the compiled pattern in the registry
    int groupsBefore = 0;  // unescaped '(' of the whole expression before this operand
    int groupsInside = 0;  // unescaped '(' in the operand, before enclosing pairs went
    int strippedPairs = 0; // enclosing pairs removed from the operand

    bool IsEmpty() const override { return pattern.empty(); }
    void SetFlags(unsigned searchFlags) override { flags = searchFlags; }
    int Compile(CPatternRegistry& registry) override;
    std::unique_ptr<CPassageList> Evaluate(const char* text, std::size_t length,
                                           int subexpression) const override;
    // Evaluate that stops after the first `most` passages.
    std::unique_ptr<CPassageList> EvaluateUpTo(const char* text, std::size_t length,
                                               int subexpression, std::size_t most) const;
    // Adds to `list`, a list this term gave for the same text, the passages after its
    // last one until it holds `most`: the same passages a scan from the start would
    // have found. False when the pattern could not be activated.
    bool Extend(CPassageList& list, const char* text, std::size_t length, int subexpression,
                std::size_t most) const;

private:
    CPatternRegistry* registry = nullptr;
};

} // namespace sorbex
