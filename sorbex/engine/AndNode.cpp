// The and operator of a search expression, plain or limited to a distance.
#include "engine/AndNode.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "engine/ExprError.h"
#include "engine/NotNode.h"
#include "engine/TermNode.h"
#include "strings/StringIds.h"

namespace sorbex {
namespace {

int AddCosts(int a, int b) {
    const long long sum = static_cast<long long>(a) + b + 1;
    return sum > INT_MAX ? INT_MAX : static_cast<int>(sum);
}

long long Gap(int a, int b) {
    return std::llabs(static_cast<long long>(a) - b);
}

// Both lists' passages by ascending start; on equal starts the right one's first.
std::unique_ptr<CPassageList> Merge(const CPassageList& left, const CPassageList& right) {
    auto merged = std::make_unique<CPassageList>();
    merged->passages.reserve(left.size() + right.size());
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < left.size() || j < right.size()) {
        const bool fromRight = j < right.size() && (i >= left.size() || right.passages[j].start <=
                                                                            left.passages[i].start);
        merged->passages.push_back(fromRight ? right.passages[j++] : left.passages[i++]);
    }
    return merged;
}

} // namespace

void CAndNode::SetFlags(unsigned flags) {
    if (left != nullptr) {
        left->SetFlags(flags);
    }
    if (right != nullptr) {
        right->SetFlags(flags);
    }
}

int CAndNode::Compile(CPatternRegistry& registry) {
    if (left == nullptr || right == nullptr) {
        throw CExprError(IDS_EXPR_EMPTY_SUBEXPRESSION);
    }
    int leftCost = left->Compile(registry);
    int rightCost = right->Compile(registry);
    if (rightCost < leftCost) {
        std::swap(left, right);
        std::swap(leftCost, rightCost);
    }
    leftOperand = ReadOperand(*left);
    rightOperand = ReadOperand(*right);
    return AddCosts(leftCost, rightCost);
}

std::unique_ptr<CPassageList> CAndNode::Evaluate(const char* text, std::size_t length,
                                                 int subexpression) const {
    std::unique_ptr<CPassageList> list = distance < 0 ? EvaluatePlain(text, length, subexpression)
                                                      : EvaluateNear(text, length, subexpression);
    if (list != nullptr) {
        MarkIfChosenGroup(*list, subexpression);
    }
    return list;
}

CAndNode::Operand CAndNode::ReadOperand(const CExprNode& node) {
    Operand operand;
    operand.node = &node;
    operand.term = dynamic_cast<const CTermNode*>(&node);
    if (const auto* inverted = dynamic_cast<const CNotNode*>(&node)) {
        operand.term = dynamic_cast<const CTermNode*>(inverted->child.get());
        operand.inverted = operand.term != nullptr;
    }
    return operand;
}

std::unique_ptr<CPassageList> CAndNode::Probe(const Operand& operand, const char* text,
                                              std::size_t length, int subexpression) {
    if (operand.term == nullptr) {
        return operand.node->Evaluate(text, length, subexpression);
    }
    std::unique_ptr<CPassageList> list = operand.term->EvaluateUpTo(text, length, subexpression, 1);
    if (list != nullptr && operand.inverted) {
        // The not's own marks never reach the and's list: a true inverted list is empty.
        list->inverted = true;
    }
    return list;
}

std::unique_ptr<CPassageList> CAndNode::EvaluatePlain(const char* text, std::size_t length,
                                                      int subexpression) const {
    // A file that lacks one operand is answered without reading the other to its end:
    // each term is first read up to its first passage, and read on only once both
    // operands hold.
    // Compile reads the operands; a node put together by hand is read here.
    const Operand leftRead = leftOperand.node == left.get() ? leftOperand : ReadOperand(*left);
    const Operand rightRead =
        rightOperand.node == right.get() ? rightOperand : ReadOperand(*right);
    std::unique_ptr<CPassageList> first = Probe(leftRead, text, length, subexpression);
    if (first == nullptr) {
        return nullptr;
    }
    if (!first->IsTrue()) {
        return std::make_unique<CPassageList>();
    }
    std::unique_ptr<CPassageList> second = Probe(rightRead, text, length, subexpression);
    if (second == nullptr) {
        return nullptr;
    }
    if (!second->IsTrue()) {
        return std::make_unique<CPassageList>();
    }
    // A true inverted list holds nothing, so the other operand's passages are the answer.
    for (const auto& [operand, list] : {std::make_pair(&leftRead, first.get()),
                                        std::make_pair(&rightRead, second.get())}) {
        if (operand->term != nullptr && !operand->inverted &&
            !operand->term->Extend(*list, text, length, subexpression, SIZE_MAX)) {
            return nullptr;
        }
    }
    if (first->inverted) {
        return second;
    }
    if (second->inverted) {
        return first;
    }
    return Merge(*first, *second);
}

std::unique_ptr<CPassageList> CAndNode::EvaluateNear(const char* text, std::size_t length,
                                                     int subexpression) const {
    std::unique_ptr<CPassageList> first = left->Evaluate(text, length, subexpression);
    if (first == nullptr || (!first->inverted && first->empty())) {
        return first;
    }
    std::unique_ptr<CPassageList> second = right->Evaluate(text, length, subexpression);
    if (second == nullptr || (!second->inverted && second->empty())) {
        return second;
    }

    // Walk both lists in merged order. A passage is near when the other list's passage
    // visited last ends, or its next one starts, within `distance` bytes of it.
    const std::vector<CPassage>& lefts = first->passages;
    const std::vector<CPassage>& rights = second->passages;
    const bool alike = first->inverted == second->inverted;
    auto nearOnes = std::make_unique<CPassageList>();
    const CPassage* lastLeft = nullptr;
    const CPassage* lastRight = nullptr;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < lefts.size() || j < rights.size()) {
        const bool fromRight =
            j < rights.size() && (i >= lefts.size() || rights[j].start <= lefts[i].start);
        const CPassage& p = fromRight ? rights[j] : lefts[i];
        const CPassage* visited = fromRight ? lastLeft : lastRight;
        const CPassage* next = fromRight ? (i < lefts.size() ? &lefts[i] : nullptr)
                                         : (j < rights.size() ? &rights[j] : nullptr);
        const bool near = (visited != nullptr && Gap(p.start, visited->end) <= distance) ||
                          (next != nullptr && Gap(next->start, p.end) <= distance);
        if (near) {
            if (!alike) {
                // "A, but not near B": one close pair makes the whole operator false.
                return std::make_unique<CPassageList>();
            }
            nearOnes->passages.push_back(p);
        }
        if (fromRight) {
            lastRight = &p;
            ++j;
        } else {
            lastLeft = &p;
            ++i;
        }
    }
    if (alike) {
        nearOnes->inverted = first->inverted;
        return nearOnes;
    }
    std::unique_ptr<CPassageList> plain = first->inverted ? std::move(second) : std::move(first);
    plain->inverted = false;
    return plain;
}

} // namespace sorbex
