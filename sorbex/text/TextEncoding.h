// The encodings of text files (Windows-1252, UTF-8, UTF-16): telling them apart,
// decoding them into the searched single-byte text, and writing characters back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sorbex {

enum class CTextEncoding {
    Ansi, // the bytes are the text, as Windows-1252
    Utf8,
    Utf16Le,
    Utf16Be,
};

// What the user asked for: detection per file, or one encoding for every file.
enum class CEncodingChoice {
    Auto,
    Ansi,
    Utf8,
    Utf16Le,
    Utf16Be,
};

// "auto", "ansi", "utf-8", "utf-16le", "utf-16be", ignoring case; false for anything else.
bool ParseEncodingChoice(std::string_view text, CEncodingChoice& choice);
// The name ParseEncodingChoice reads, for the profile and for messages.
const char* EncodingChoiceName(CEncodingChoice choice);

struct CDetectedEncoding {
    CTextEncoding encoding = CTextEncoding::Ansi;
    std::size_t bomLength = 0; // bytes of the byte-order mark that starts the file
};

// A byte-order mark decides (UTF-16 LE or BE, UTF-8); without one, text that is valid
// UTF-8 and holds at least one multi-byte sequence is UTF-8; an HTML page's declared
// charset may say otherwise; everything else is taken byte for byte. A forced choice
// still skips a matching byte-order mark.
CDetectedEncoding DetectEncoding(std::string_view bytes, CEncodingChoice choice, bool html);

// The byte that stands in the searched text for a character the code page lacks (and for
// bytes that are no character of the file's encoding). The code page leaves it undefined,
// so no letter, digit or punctuation pattern matches it.
constexpr char kSubstituteByte = '\x81';

// A character of the file that the searched text holds as kSubstituteByte.
struct COutsideCharacter {
    std::uint32_t offset = 0; // in the searched text
    char32_t character = 0;   // U+FFFD for bytes that were no character
};

// Decodes the file's bytes after its byte-order mark into `text` (replacing what it held):
// one byte per character. `outside` (if given) receives the characters the code page
// lacks; `byteOffsets` (if given) the file offset of every character of `text` and, last,
// the file's size, so that text range [a, b) is file range [offsets[a], offsets[b]).
void DecodeText(std::string_view bytes, const CDetectedEncoding& detected, std::string& text,
                std::vector<COutsideCharacter>* outside = nullptr,
                std::vector<std::uint32_t>* byteOffsets = nullptr);

// Detects the encoding of a file's `bytes` and, unless they are taken byte for byte,
// replaces them by their decoded text, which it writes over them (it is never longer).
// Text that is not valid UTF-8 is left as it was when the content decides. `outside`
// (if given) receives the characters the code page lacks, and is emptied otherwise.
// `asciiStart` bytes at the start are known to be below 0x80 (a caller that has looked
// at them already): they are not looked at again.
CDetectedEncoding DecodeFileBytes(std::string& bytes, CEncodingChoice choice, bool html,
                                  std::vector<COutsideCharacter>* outside = nullptr,
                                  std::size_t asciiStart = 0);

// Decodes the UTF-8 character at `i` and steps past it; false (and `i` unchanged) for a
// malformed, overlong or surrogate sequence or one beyond U+10FFFF.
bool DecodeUtf8Character(std::string_view text, std::size_t& i, char32_t& c);

// `characters` as the file's encoding writes them (no byte-order mark); false when the
// encoding cannot hold one of them (a character outside the code page in an ANSI file).
bool EncodeCharacters(std::u32string_view characters, CTextEncoding encoding, std::string& out);

// The characters of a text in the code page.
std::u32string Cp1252Characters(std::string_view text);

// `text` with every substitute byte in [from, to) that `outside` accounts for put back as
// the character it stands for, in UTF-8; `textOffset` is where `text` starts in the searched
// text. Every other byte is converted from the code page.
std::string RestoreOutsideCharacters(std::string_view text, std::uint32_t textOffset,
                                     const std::vector<COutsideCharacter>& outside);

} // namespace sorbex
