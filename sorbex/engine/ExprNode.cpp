// Behaviour shared by the nodes of a compiled search expression.
#include "engine/ExprNode.h"

namespace sorbex {

void CExprNode::MarkIfChosenGroup(CPassageList& list, int subexpression) const {
    if (subexpression > 0 && group > 0 && subexpression >= group &&
        subexpression < group + groupPairs) {
        list.MarkAll();
    }
}

} // namespace sorbex
