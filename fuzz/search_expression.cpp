// Fuzz target: the expression compiler and the matchers, from the text typed to the
// passages of one file: no crash, passages inside the text and in order, and bounded
// time per input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/PatternRegistry.h"
#include "engine/SearchExpression.h"
#include "text/CleanText.h"

namespace {

constexpr std::size_t kMaxExpression = 96;
constexpr std::size_t kMaxText = 256;
// A back-reference makes the library try every way of splitting a line, and no shape of
// pattern rules that out: with one, texts stay short enough to be done in moments.
constexpr std::size_t kMaxTextWithBackReference = 24;

bool HasBackReference(const std::string& expression) {
    for (std::size_t i = 0; i + 1 < expression.size(); ++i) {
        if (expression[i] == '\\') {
            if (expression[i + 1] >= '1' && expression[i + 1] <= '9')
                return true;
            ++i;
        }
    }
    return false;
}

} // namespace

// Input: one byte of options, the expression, a zero byte, the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const unsigned options = data[0];
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t split = rest.find('\0');
    if (split == std::string::npos || split == 0 || split > kMaxExpression)
        return 0;
    const std::string expression = rest.substr(0, split);
    std::string text = rest.substr(split + 1);
    if (text.size() > (HasBackReference(expression) ? kMaxTextWithBackReference : kMaxText))
        return 0;
    sorbex::CExpressionOptions compileOptions;
    compileOptions.wholeWords = (options & 1) != 0;
    compileOptions.matchCase = (options & 2) != 0;
    compileOptions.method =
        (options & 4) != 0 ? sorbex::CSearchMethod::Phonetic : sorbex::CSearchMethod::Standard;
    const int subexpression = static_cast<int>((options >> 3) % 6);

    sorbex::CPatternRegistry registry;
    std::unique_ptr<sorbex::CExprNode> root;
    int groups = 0;
    if (sorbex::CompileSearchExpression(expression, compileOptions, registry, root, groups))
        return 0;
    if (!root || groups < 0)
        std::abort();
    if (subexpression > groups)
        return 0; // the run refuses such a replacement before it searches
    sorbex::CleanText(&text[0], text.size());
    std::unique_ptr<sorbex::CPassageList> list = root->Evaluate(text.c_str(), text.size(),
                                                                subexpression);
    if (!list)
        return 0;
    const long length = static_cast<long>(text.size());
    for (const sorbex::CPassage& passage : list->passages)
        if (passage.start < 0 || passage.start > passage.end || passage.end > length)
            std::abort();
    sorbex::InterpretRootList(*list, subexpression);
    return 0;
}
