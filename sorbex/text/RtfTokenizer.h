// Splitting RTF bytes into group braces, control words and plain bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sorbex {

enum class RtfTokenKind {
    End,        // the input is used up
    OpenGroup,  // "{"
    CloseGroup, // "}"
    Control,    // a control word (letters) or control symbol (one other byte)
    Byte,       // any other byte; CR and LF are left out
    Truncated,  // the input ended inside a control word: "\" or "-" as the last byte
};

struct RtfToken {
    RtfTokenKind kind = RtfTokenKind::End;
    std::size_t position = 0; // input offset where the token starts
    std::string_view name;    // Control: the letters, or the one byte of a symbol
    bool hasParameter = false;
    std::int32_t parameter = 0; // decimal, signed, held at the limits of 32 bits
    unsigned char byte = 0;     // Byte
};

class RtfTokenizer {
public:
    explicit RtfTokenizer(std::string_view input) : input_(input) {}

    RtfToken Next();

    // The next byte as it is, for binary data; false at the end of the input.
    bool NextRaw(unsigned char& byte);

    // Passes over one blank, if the next byte is one (after a hexadecimal escape).
    void SkipBlank();

private:
    RtfToken ReadControl(std::size_t start);

    std::string_view input_;
    std::size_t pos_ = 0;
};

} // namespace sorbex
