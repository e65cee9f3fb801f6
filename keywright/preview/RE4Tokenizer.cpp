// The registry-file tokenizer.
#include "preview/RE4Tokenizer.h"

#include "platform/ProgramCodePage.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace keywright {

namespace {

struct Keyword {
    std::string_view text; // upper case
    RE4Token token;
};

// Sorted by text; words compare without regard to case.
constexpr Keyword kKeywords[] = {
    {"DWORD", RE4Token::kDwordType},
    {"HEX", RE4Token::kBinary},
    {"REGEDIT4", RE4Token::kFileMarker},
};

bool IsAsciiAlnum(int c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

char Upper(char c) {
    return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
}

// Compares an upper-case keyword with a word in any case, as strcmp does.
int CompareUpper(std::string_view keyword, std::string_view word) {
    const std::size_t common = std::min(keyword.size(), word.size());
    for (std::size_t i = 0; i < common; ++i) {
        const char w = Upper(word[i]);
        if (keyword[i] != w)
            return static_cast<unsigned char>(keyword[i]) < static_cast<unsigned char>(w) ? -1 : 1;
    }
    return keyword.size() < word.size() ? -1 : keyword.size() > word.size() ? 1 : 0;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RE4Tokenizer::RE4Tokenizer(RE4Input& input, std::size_t wordBufferSize, RE4TraceFn trace,
                           void* traceContext, unsigned traceFlags)
    : input_(input), limit_(wordBufferSize > 0 ? wordBufferSize - 1 : 0), trace_(trace),
      traceContext_(traceContext), traceFlags_(traceFlags) {
    word_.reserve(limit_);
    text_.reserve(limit_);
}

RE4Token RE4Tokenizer::Next() {
    minusBefore_ = false;
    if (atStart_) {
        atStart_ = false;
        tokenLine_ = input_.Line();
        // A version-5 file's header line is its marker.
        if (input_.TakeVersion5Header()) {
            word_ = "Windows Registry Editor Version 5.00";
            return Recognised(RE4Token::kFileMarker);
        }
    }
    for (;;) {
        const int c = input_.Get();
        tokenLine_ = input_.Line();
        switch (c) {
        case RE4Input::kEnd:
            return Recognised(RE4Token::kEOF);
        case ',':
            return Recognised(RE4Token::kComma);
        case '(':
            return Recognised(RE4Token::kLeftParen);
        case ')':
            return Recognised(RE4Token::kRightParen);
        case ':':
            return Recognised(RE4Token::kColon);
        case '=':
            return Recognised(RE4Token::kEQ);
        case '@':
            return Recognised(RE4Token::kAtSign);
        case '"':
            return ReadQuotedString();
        case '[':
            return ReadKeyLine();
        case '-':
            minusBefore_ = true;
            break;
        default:
            if (IsAsciiAlnum(c)) {
                input_.Unget(c);
                return ReadWord();
            }
            // Blanks, line ends, backslashes (so hex data continued on the next line
            // reads as one list), ';', ']' and everything outside ASCII letters and
            // digits are passed over.
            break;
        }
    }
}

bool RE4Tokenizer::Append(int c) {
    if (input_.Encoding() == RE4Encoding::kUtf16Le) {
        if (wide_.size() >= limit_)
            return false;
        wide_.push_back(static_cast<char16_t>(c));
    } else {
        if (text_.size() >= limit_)
            return false;
        text_.push_back(static_cast<char>(c));
    }
    return true;
}

bool RE4Tokenizer::FinishText() {
    if (input_.Encoding() != RE4Encoding::kUtf16Le)
        return true;
    // A character may take more than one byte in the code page.
    text_ = kestrix::CodePageFromUtf16(wide_);
    return text_.size() <= limit_;
}

RE4Token RE4Tokenizer::ReadQuotedString() {
    text_.clear();
    wide_.clear();
    for (;;) {
        int c = input_.Get();
        if (c == '"')
            break;
        // A backslash makes the next character literal, whatever it is.
        if (c == '\\')
            c = input_.Get();
        if (c == RE4Input::kEnd)
            return Fail(RE4Error::kUnterminatedString);
        if (!Append(c))
            return Fail(RE4Error::kStringTooLong);
    }
    if (!FinishText())
        return Fail(RE4Error::kStringTooLong);
    return Recognised(RE4Token::kQuotedString);
}

RE4Token RE4Tokenizer::ReadKeyLine() {
    text_.clear();
    wide_.clear();
    for (;;) {
        const int c = input_.Get();
        if (c == RE4Input::kEnd)
            return Fail(RE4Error::kUnterminatedKeyLine);
        // Only a carriage return ends a key line; the line feed after it is left for
        // the next token, which passes over it.
        if (c == '\r')
            break;
        if (!Append(c))
            return Fail(RE4Error::kKeyLineTooLong);
    }
    const bool wide = input_.Encoding() == RE4Encoding::kUtf16Le;
    const bool closed =
        wide ? !wide_.empty() && wide_.back() == u']' : !text_.empty() && text_.back() == ']';
    if (!closed)
        return Fail(RE4Error::kKeyLineNotClosed);
    if (wide)
        wide_.pop_back();
    else
        text_.pop_back();
    if (!FinishText())
        return Fail(RE4Error::kKeyLineTooLong);
    return Recognised(RE4Token::kKey);
}

RE4Token RE4Tokenizer::ReadWord() {
    word_.clear();
    int c;
    while (IsAsciiAlnum(c = input_.Get())) {
        word_.push_back(static_cast<char>(c));
        if (word_.size() >= limit_)
            return Fail(RE4Error::kWordTooLong);
    }
    input_.Unget(c);

    const auto keyword = std::lower_bound(
        std::begin(kKeywords), std::end(kKeywords), word_,
        [](const Keyword& k, const std::string& w) { return CompareUpper(k.text, w) < 0; });
    if (keyword != std::end(kKeywords) && CompareUpper(keyword->text, word_) == 0)
        return Recognised(keyword->token);

    std::uint32_t number = 0;
    for (char& digit : word_) {
        digit = Upper(digit);
        const int value = HexValue(digit);
        if (value < 0)
            return Fail(RE4Error::kInvalidWord);
        number = number * 16u + static_cast<std::uint32_t>(value);
    }
    number_ = number;
    switch (word_.size()) {
    case 1:
        return Recognised(RE4Token::kValueType);
    case 2:
        return Recognised(RE4Token::kByteVal);
    case 8:
        return Recognised(RE4Token::kDwordVal);
    default:
        return Fail(RE4Error::kInvalidWord);
    }
}

RE4Token RE4Tokenizer::Fail(RE4Error why) {
    invalid_ = why;
    return RE4Token::kInvalid;
}

RE4Token RE4Tokenizer::Recognised(RE4Token token) {
    if (!(traceFlags_ & kRE4TraceTokens) || !trace_)
        return token;
    std::string line = TokenName(token);
    switch (token) {
    case RE4Token::kQuotedString:
    case RE4Token::kKey:
        line += " : " + text_;
        break;
    case RE4Token::kFileMarker:
    case RE4Token::kDwordType:
    case RE4Token::kDwordVal:
    case RE4Token::kBinary:
    case RE4Token::kByteVal:
    case RE4Token::kValueType:
    case RE4Token::kEOF:
        line += " : " + word_;
        break;
    default:
        break;
    }
    trace_(line.c_str(), traceContext_);
    return token;
}

} // namespace keywright
