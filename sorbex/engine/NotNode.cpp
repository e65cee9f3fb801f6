// The not operator of a search expression.
#include "engine/NotNode.h"

#include "engine/ExprError.h"
#include "strings/StringIds.h"

namespace sorbex {

void CNotNode::SetFlags(unsigned flags) {
    if (child != nullptr) {
        child->SetFlags(flags);
    }
}

int CNotNode::Compile(CPatternRegistry& registry) {
    if (child == nullptr) {
        throw CExprError(IDS_EXPR_EMPTY_SUBEXPRESSION);
    }
    return child->Compile(registry) + 1;
}

std::unique_ptr<CPassageList> CNotNode::Evaluate(const char* text, std::size_t length,
                                                 int subexpression) const {
    std::unique_ptr<CPassageList> list = child->Evaluate(text, length, subexpression);
    if (list == nullptr) {
        return nullptr;
    }
    list->inverted = !list->inverted;
    MarkIfChosenGroup(*list, subexpression);
    return list;
}

} // namespace sorbex
