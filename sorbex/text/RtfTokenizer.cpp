// Splitting RTF bytes into group braces, control words and plain bytes.
#include "text/RtfTokenizer.h"

#include <limits>

namespace sorbex {
namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

RtfToken RtfTokenizer::Next() {
    RtfToken token;
    while (pos_ < input_.size()) {
        token.position = pos_;
        const char c = input_[pos_++];
        switch (c) {
        case '{':
            token.kind = RtfTokenKind::OpenGroup;
            return token;
        case '}':
            token.kind = RtfTokenKind::CloseGroup;
            return token;
        case '\\':
            return ReadControl(token.position);
        case '\r':
        case '\n':
            continue; // line breaks in RTF source are not text
        default:
            token.kind = RtfTokenKind::Byte;
            token.byte = static_cast<unsigned char>(c);
            return token;
        }
    }
    token.kind = RtfTokenKind::End;
    token.position = pos_;
    return token;
}

RtfToken RtfTokenizer::ReadControl(std::size_t start) {
    RtfToken token;
    token.position = start;
    if (pos_ >= input_.size()) {
        token.kind = RtfTokenKind::Truncated;
        return token;
    }
    token.kind = RtfTokenKind::Control;
    if (!IsLetter(input_[pos_])) {
        token.name = input_.substr(pos_, 1);
        ++pos_;
        return token;
    }
    const std::size_t nameStart = pos_;
    while (pos_ < input_.size() && IsLetter(input_[pos_]))
        ++pos_;
    token.name = input_.substr(nameStart, pos_ - nameStart);

    bool negative = false;
    if (pos_ < input_.size() && input_[pos_] == '-') {
        negative = true;
        if (++pos_ >= input_.size()) {
            token.kind = RtfTokenKind::Truncated;
            return token;
        }
    }
    // Parameters beyond 32 bits are held at the limit rather than wrapped, so that a
    // hostile "\bin" count never turns negative or small.
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    while (pos_ < input_.size() && IsDigit(input_[pos_])) {
        token.hasParameter = true;
        if (value <= kLimit)
            value = value * 10 + (input_[pos_] - '0');
        ++pos_;
    }
    if (value > kLimit)
        value = kLimit;
    token.parameter = static_cast<std::int32_t>(negative ? -value : value);
    if (pos_ < input_.size() && input_[pos_] == ' ')
        ++pos_;
    return token;
}

bool RtfTokenizer::NextRaw(unsigned char& byte) {
    if (pos_ >= input_.size())
        return false;
    byte = static_cast<unsigned char>(input_[pos_++]);
    return true;
}

void RtfTokenizer::SkipBlank() {
    if (pos_ < input_.size() && input_[pos_] == ' ')
        ++pos_;
}

} // namespace sorbex
