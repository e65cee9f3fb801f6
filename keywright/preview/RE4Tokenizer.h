// The registry-file tokenizer: turns the characters of an RE4Input into tokens, with
// the text or number each carries.
#pragma once

#include "preview/RE4Input.h"
#include "preview/RE4Token.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace keywright {

// Receives one trace line and the caller's context.
using RE4TraceFn = void (*)(const char* line, void* context);

// Trace flags: bit 0 traces tokens, bit 1 the parser's productions.
constexpr unsigned kRE4TraceTokens = 1;
constexpr unsigned kRE4TraceProductions = 2;

class RE4Tokenizer {
public:
    // `wordBufferSize` bounds words, quoted strings and key lines alike: each holds at
    // most `wordBufferSize` - 1 characters.
    RE4Tokenizer(RE4Input& input, std::size_t wordBufferSize, RE4TraceFn trace, void* traceContext,
                 unsigned traceFlags);

    RE4Token Next();

    // The last word, upper-cased when it was a hexadecimal word.
    const std::string& Word() const { return word_; }
    // The last quoted string without its escapes, or the path of the last key line,
    // in the program's code page.
    const std::string& Text() const { return text_; }
    // The value of the last hexadecimal word, modulo 2^32.
    std::uint32_t Number() const { return number_; }
    // The line on which the last token began.
    std::uint32_t TokenLine() const { return tokenLine_; }
    // Why the last token was kInvalid.
    RE4Error Invalid() const { return invalid_; }
    // True when a minus sign was passed over between the token before the last one and
    // the last one, as in the deletion of a value ("name"=-).
    bool MinusBefore() const { return minusBefore_; }

private:
    RE4Token ReadQuotedString();
    RE4Token ReadKeyLine();
    RE4Token ReadWord();
    RE4Token Fail(RE4Error why);
    RE4Token Recognised(RE4Token token);
    // Appends one character of a quoted string or key line; false when it is one too many.
    bool Append(int c);
    // Converts what Append collected; false when the result is too long.
    bool FinishText();

    RE4Input& input_;
    const std::size_t limit_; // characters a word, string or key line may hold
    RE4TraceFn trace_;
    void* traceContext_;
    unsigned traceFlags_;
    bool atStart_ = true;
    std::string word_;
    std::string text_;
    std::u16string wide_; // a UTF-16 file's string or key line before conversion
    std::uint32_t number_ = 0;
    std::uint32_t tokenLine_ = 1;
    RE4Error invalid_ = RE4Error::kNone;
    bool minusBefore_ = false;
};

} // namespace keywright
