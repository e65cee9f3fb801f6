// The base of the nodes of a compiled search expression.
#pragma once

#include <cstddef>
#include <memory>

#include "engine/Passage.h"

namespace sorbex {

class CPatternRegistry;

// A node owns its children. Compile errors are thrown as CExprError.
class CExprNode {
public:
    CExprNode() = default;
    CExprNode(const CExprNode&) = delete;
    CExprNode& operator=(const CExprNode&) = delete;
    virtual ~CExprNode() = default;

    // True when the node has nothing to match.
    virtual bool IsEmpty() const = 0;

    // Stores the search flag word in every term below.
    virtual void SetFlags(unsigned flags) = 0;

    // Compiles the patterns below the node into `registry`; returns the node's cost, a
    // measure of how much work its evaluation is.
    virtual int Compile(CPatternRegistry& registry) = 0;

    // The passages of the node in the `length` bytes of `text` (which end with a zero
    // byte). `subexpression` is 0, or the number of the group whose passages a
    // replacement targets. nullptr when a pattern could not be activated.
    virtual std::unique_ptr<CPassageList> Evaluate(const char* text, std::size_t length,
                                                   int subexpression) const = 0;

    // For a not or and node that is the whole content of a parenthesized group: the
    // number of that group's opening parenthesis, else 0. `groupPairs` counts the
    // directly nested pairs around the node ("((a&b))"): each of the numbers from
    // `group` on names it.
    int group = 0;
    int groupPairs = 0;

protected:
    void MarkIfChosenGroup(CPassageList& list, int subexpression) const;
};

} // namespace sorbex
