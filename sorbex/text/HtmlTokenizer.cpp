// Splitting HTML bytes into the tags, references and plain bytes the reader acts on.
#include "text/HtmlTokenizer.h"

#include <algorithm>

namespace sorbex {
namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares the start of `rest` with `word` over at most the word's length, and over
// fewer bytes when fewer remain: a "</scr" cut by the end of the file still counts.
bool StartsWithNoCase(std::string_view rest, std::string_view word) {
    const std::size_t n = std::min(rest.size(), word.size());
    for (std::size_t i = 0; i < n; ++i)
        if (LowerAscii(rest[i]) != word[i])
            return false;
    return true;
}

} // namespace

bool HtmlTokenizer::StartsClosingOfSkipped() const {
    const std::string_view rest = input_.substr(pos_);
    return StartsWithNoCase(rest, "/script") || StartsWithNoCase(rest, "/applet") ||
           StartsWithNoCase(rest, "/style");
}

HtmlToken HtmlTokenizer::Next(bool skipping) {
    HtmlToken token;
    if (pos_ >= input_.size())
        return token;
    const char c = input_[pos_++];
    if (c == '<') {
        if (!skipping || StartsClosingOfSkipped())
            return ReadTag();
        // The byte after the "<" goes with it, unless the input ends there.
        if (pos_ < input_.size())
            ++pos_;
        token.kind = HtmlTokenKind::Nothing;
        return token;
    }
    if (c == '&' && !skipping)
        return ReadReference();
    token.kind = HtmlTokenKind::Byte;
    token.byte = static_cast<unsigned char>(c);
    return token;
}

HtmlToken HtmlTokenizer::ReadTag() {
    std::size_t length = 0;
    while (pos_ < input_.size() && input_[pos_] != '>') {
        // Past the buffer's length the rest of the tag is passed over.
        if (length < name_.size())
            name_[length++] = LowerAscii(input_[pos_]);
        ++pos_;
    }
    if (pos_ < input_.size())
        ++pos_; // the ">"
    HtmlToken token;
    token.kind = HtmlTokenKind::Tag;
    token.text = std::string_view(name_.data(), length);
    return token;
}

HtmlToken HtmlTokenizer::ReadReference() {
    const std::size_t start = pos_;
    const std::size_t limit = std::min(input_.size(), start + kMaxName);
    // The bytes an earlier "&" looked at hold no end of a name: a run of "&" without a
    // ";" is read once, not once for every "&" in it.
    std::size_t end = start >= lookedFrom_ && start < lookedTo_ ? std::min(lookedTo_, limit) : start;
    while (end < limit && input_[end] != ';' && input_[end] != ' ' && input_[end] != '\n')
        ++end;
    lookedFrom_ = start;
    lookedTo_ = end;
    HtmlToken token;
    if (end < input_.size() && input_[end] == ';') {
        token.kind = HtmlTokenKind::Reference;
        token.text = input_.substr(start, end - start);
        pos_ = end + 1;
    } else {
        // No ";" closes it: the "&" is an ordinary byte and reading goes on after it.
        token.kind = HtmlTokenKind::Byte;
        token.byte = '&';
    }
    return token;
}

} // namespace sorbex
