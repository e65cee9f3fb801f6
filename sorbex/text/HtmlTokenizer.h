// Splitting HTML bytes into the tags, references and plain bytes the reader acts on.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace sorbex {

enum class HtmlTokenKind {
    End,       // the input is used up
    Tag,       // text: the tag text between "<" and ">", lower-cased, at most 1,023 bytes
    Reference, // text: the name between "&" and ";"
    Byte,      // byte: any other byte, including an "&" that no ";" closes
    Nothing,   // a "<" passed over with the byte after it while skipping a script
};

struct HtmlToken {
    HtmlTokenKind kind = HtmlTokenKind::End;
    std::string_view text; // valid until the next call of Next
    unsigned char byte = 0;
};

class HtmlTokenizer {
public:
    static constexpr std::size_t kMaxName = 1023;

    explicit HtmlTokenizer(std::string_view input) : input_(input) {}

    // While `skipping` a script, applet or style, only the closing tags of those are
    // read as tags and references are not decoded: their bytes come as plain bytes.
    HtmlToken Next(bool skipping);

    // Offset of the next unread byte.
    std::size_t Position() const { return pos_; }

private:
    HtmlToken ReadTag();
    HtmlToken ReadReference();
    bool StartsClosingOfSkipped() const;

    std::string_view input_;
    std::size_t pos_ = 0;
    // [lookedFrom_, lookedTo_) holds no ";", blank or line feed.
    std::size_t lookedFrom_ = 0;
    std::size_t lookedTo_ = 0;
    std::array<char, kMaxName> name_{};
};

} // namespace sorbex
