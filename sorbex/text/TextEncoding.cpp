// The encodings of text files (Windows-1252, UTF-8, UTF-16): telling them apart,
// decoding them into the searched single-byte text, and writing characters back.
#include "text/TextEncoding.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/Cp1252.h"

namespace sorbex {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
// How far into an HTML page its charset declaration is looked for; pages declare it in
// their head, and browsers look no further either.
constexpr std::size_t kCharsetScanBytes = 1024;

struct CChoiceName {
    CEncodingChoice choice;
    const char* name;
};
constexpr CChoiceName kChoiceNames[] = {
    {CEncodingChoice::Auto, "auto"},        {CEncodingChoice::Ansi, "ansi"},
    {CEncodingChoice::Utf8, "utf-8"},       {CEncodingChoice::Utf16Le, "utf-16le"},
    {CEncodingChoice::Utf16Be, "utf-16be"},
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool StartsWith(std::string_view bytes, const char* prefix, std::size_t length) {
    return bytes.size() >= length && std::memcmp(bytes.data(), prefix, length) == 0;
}

// The offset of the first byte from 0x80 up, or the size. Eight bytes at a time: most
// of most files is ASCII.
std::size_t FirstNonAscii(std::string_view bytes) {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    for (; i + 8 <= n; i += 8) {
        std::uint64_t block = 0;
        std::memcpy(&block, bytes.data() + i, 8);
        if ((block & 0x8080808080808080ull) != 0)
            break;
    }
    while (i < n && static_cast<unsigned char>(bytes[i]) < 0x80)
        ++i;
    return i;
}

// Valid UTF-8 holding at least one multi-byte sequence.
bool IsMultiByteUtf8(std::string_view bytes) {
    std::size_t i = FirstNonAscii(bytes);
    if (i == bytes.size())
        return false;
    while (i < bytes.size()) {
        char32_t c = 0;
        if (!DecodeUtf8Character(bytes, i, c))
            return false;
    }
    return true;
}

bool HasByteOrderMark(std::string_view bytes) {
    return StartsWith(bytes, "\xEF\xBB\xBF", 3) || StartsWith(bytes, "\xFF\xFE", 2) ||
           StartsWith(bytes, "\xFE\xFF", 2);
}

// The charset an HTML page declares in its first bytes ("charset=x" in a meta element or
// its http-equiv content), or empty.
std::string_view DeclaredCharset(std::string_view bytes) {
    const std::string_view head = bytes.substr(0, std::min(bytes.size(), kCharsetScanBytes));
    static const char kKey[] = "charset=";
    const std::size_t keyLength = sizeof kKey - 1;
    for (std::size_t i = 0; i + keyLength <= head.size(); ++i) {
        if (!EqualsIgnoringCase(head.substr(i, keyLength), kKey))
            continue;
        std::size_t from = i + keyLength;
        while (from < head.size() && (head[from] == '"' || head[from] == '\'' || head[from] == ' '))
            ++from;
        std::size_t to = from;
        while (to < head.size() && (std::isalnum(static_cast<unsigned char>(head[to])) ||
                                    head[to] == '-' || head[to] == '_'))
            ++to;
        return head.substr(from, to - from);
    }
    return {};
}

bool IsSingleByteCharset(std::string_view charset) {
    for (const char* name : {"windows-1252", "cp1252", "iso-8859-1", "iso8859-1", "latin1",
                             "iso-8859-15", "us-ascii"}) {
        if (EqualsIgnoringCase(charset, name))
            return true;
    }
    return false;
}

// Appends one decoded character to the searched text.
class CDecodeTarget {
public:
    CDecodeTarget(std::string& text, std::vector<COutsideCharacter>* outside,
                  std::vector<std::uint32_t>* byteOffsets)
        : text_(text), outside_(outside), byteOffsets_(byteOffsets) {}

    void Add(char32_t c, std::size_t fileOffset) {
        if (byteOffsets_)
            byteOffsets_->push_back(static_cast<std::uint32_t>(fileOffset));
        char byte = kSubstituteByte;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            byte = static_cast<char>(c);
        } else if (!kestrix::EncodeCp1252(c, byte) || byte == kSubstituteByte) {
            byte = kSubstituteByte;
            if (outside_)
                outside_->push_back({static_cast<std::uint32_t>(text_.size()), c});
        }
        text_.push_back(byte);
    }

    // A run of ASCII bytes, each its own character.
    void AddAscii(std::string_view run, std::size_t fileOffset) {
        if (byteOffsets_) {
            for (std::size_t k = 0; k < run.size(); ++k)
                byteOffsets_->push_back(static_cast<std::uint32_t>(fileOffset + k));
        }
        text_.append(run.data(), run.size());
    }

private:
    std::string& text_;
    std::vector<COutsideCharacter>* outside_;
    std::vector<std::uint32_t>* byteOffsets_;
};

// Decodes UTF-8 into `target`. When `strict`, stops at the first byte that starts no
// character and returns false; otherwise such a byte stands for U+FFFD.
bool DecodeUtf8(std::string_view body, std::size_t base, CDecodeTarget& target, bool strict) {
    std::size_t i = 0;
    const std::size_t n = body.size();
    while (i < n) {
        std::size_t run = i;
        while (run < n && static_cast<unsigned char>(body[run]) < 0x80)
            ++run;
        if (run > i) {
            target.AddAscii(body.substr(i, run - i), base + i);
            i = run;
            if (i == n)
                break;
        }
        const std::size_t at = i;
        char32_t c = 0;
        if (!DecodeUtf8Character(body, i, c)) {
            if (strict)
                return false;
            // A byte that starts no character is kept as one character of its own, so
            // that it keeps its place and every other byte stays addressable.
            c = kReplacementCharacter;
            ++i;
        }
        target.Add(c, base + at);
    }
    return true;
}

void DecodeUtf16(std::string_view body, std::size_t base, bool bigEndian, CDecodeTarget& target) {
    const auto unitAt = [&](std::size_t i) -> char16_t {
        const auto a = static_cast<unsigned char>(body[i]);
        const auto b = static_cast<unsigned char>(body[i + 1]);
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    std::size_t i = 0;
    const std::size_t n = body.size();
    while (i + 1 < n) {
        const char16_t unit = unitAt(i);
        const std::size_t at = i;
        i += 2;
        char32_t c = unit;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < n) {
            const char16_t low = unitAt(i);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c >= 0xD800 && c < 0xE000)
            c = kReplacementCharacter; // a surrogate without its other half
        target.Add(c, base + at);
    }
    // An odd length leaves half a unit: it stays a character of its own, so the bytes
    // before it keep their places and the file is written back whole.
    if (i < n)
        target.Add(kReplacementCharacter, base + i);
}

void AppendUnit(char16_t unit, bool bigEndian, std::string& out) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
}

} // namespace

bool ParseEncodingChoice(std::string_view text, CEncodingChoice& choice) {
    for (const CChoiceName& entry : kChoiceNames) {
        if (EqualsIgnoringCase(text, entry.name)) {
            choice = entry.choice;
            return true;
        }
    }
    return false;
}

const char* EncodingChoiceName(CEncodingChoice choice) {
    for (const CChoiceName& entry : kChoiceNames) {
        if (entry.choice == choice)
            return entry.name;
    }
    return kChoiceNames[0].name;
}

CDetectedEncoding DetectEncoding(std::string_view bytes, CEncodingChoice choice, bool html) {
    CDetectedEncoding bom;
    if (StartsWith(bytes, "\xEF\xBB\xBF", 3))
        bom = {CTextEncoding::Utf8, 3};
    else if (StartsWith(bytes, "\xFF\xFE", 2))
        bom = {CTextEncoding::Utf16Le, 2};
    else if (StartsWith(bytes, "\xFE\xFF", 2))
        bom = {CTextEncoding::Utf16Be, 2};

    switch (choice) {
    case CEncodingChoice::Ansi:
        return {CTextEncoding::Ansi, 0};
    case CEncodingChoice::Utf8:
        return {CTextEncoding::Utf8, bom.encoding == CTextEncoding::Utf8 ? bom.bomLength : 0};
    case CEncodingChoice::Utf16Le:
        return {CTextEncoding::Utf16Le, bom.encoding == CTextEncoding::Utf16Le ? bom.bomLength : 0};
    case CEncodingChoice::Utf16Be:
        return {CTextEncoding::Utf16Be, bom.encoding == CTextEncoding::Utf16Be ? bom.bomLength : 0};
    case CEncodingChoice::Auto:
        break;
    }
    if (bom.bomLength != 0)
        return bom;
    if (html && IsSingleByteCharset(DeclaredCharset(bytes)))
        return {CTextEncoding::Ansi, 0};
    if (IsMultiByteUtf8(bytes))
        return {CTextEncoding::Utf8, 0};
    return {CTextEncoding::Ansi, 0};
}

void DecodeText(std::string_view bytes, const CDetectedEncoding& detected, std::string& text,
                std::vector<COutsideCharacter>* outside, std::vector<std::uint32_t>* byteOffsets) {
    text.clear();
    if (outside)
        outside->clear();
    if (byteOffsets) {
        byteOffsets->clear();
        byteOffsets->reserve(bytes.size() + 1);
    }
    const std::size_t base = std::min(detected.bomLength, bytes.size());
    const std::string_view body = bytes.substr(base);
    CDecodeTarget target(text, outside, byteOffsets);
    switch (detected.encoding) {
    case CTextEncoding::Ansi:
        target.AddAscii(body, base); // every byte is its own character
        break;
    case CTextEncoding::Utf8:
        text.reserve(body.size());
        DecodeUtf8(body, base, target, false);
        break;
    case CTextEncoding::Utf16Le:
    case CTextEncoding::Utf16Be:
        text.reserve(body.size() / 2 + 1);
        DecodeUtf16(body, base, detected.encoding == CTextEncoding::Utf16Be, target);
        break;
    }
    if (byteOffsets)
        byteOffsets->push_back(static_cast<std::uint32_t>(bytes.size()));
}

CDetectedEncoding DecodeFileBytes(std::string& bytes, CEncodingChoice choice, bool html,
                                  std::string& scratch, std::vector<COutsideCharacter>* outside) {
    if (outside)
        outside->clear();
    // Detection and decoding in one pass where the content decides: the ASCII start is
    // skipped, and decoding stops at the first byte that is no UTF-8.
    if (choice == CEncodingChoice::Auto && !HasByteOrderMark(bytes) &&
        !(html && IsSingleByteCharset(DeclaredCharset(bytes)))) {
        const std::size_t first = FirstNonAscii(bytes);
        if (first == bytes.size())
            return {CTextEncoding::Ansi, 0};
        scratch.clear();
        scratch.reserve(bytes.size());
        CDecodeTarget target(scratch, outside, nullptr);
        target.AddAscii(std::string_view(bytes).substr(0, first), 0);
        if (!DecodeUtf8(std::string_view(bytes).substr(first), first, target, true)) {
            if (outside)
                outside->clear();
            return {CTextEncoding::Ansi, 0};
        }
        bytes.swap(scratch);
        return {CTextEncoding::Utf8, 0};
    }
    const CDetectedEncoding detected = DetectEncoding(bytes, choice, html);
    if (detected.encoding != CTextEncoding::Ansi) {
        DecodeText(bytes, detected, scratch, outside);
        bytes.swap(scratch);
    }
    return detected;
}

bool DecodeUtf8Character(std::string_view text, std::size_t& i, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        value = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        value = lead & 0x1F;
        extra = 1;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        value = lead & 0x0F;
        extra = 2;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        value = lead & 0x07;
        extra = 3;
        minimum = 0x10000;
    } else {
        return false;
    }
    if (text.size() - i - 1 < extra)
        return false;
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return false;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000))
        return false;
    i += extra + 1;
    c = value;
    return true;
}

bool EncodeCharacters(std::u32string_view characters, CTextEncoding encoding, std::string& out) {
    out.clear();
    for (const char32_t c : characters) {
        switch (encoding) {
        case CTextEncoding::Ansi: {
            char byte = 0;
            if (!kestrix::EncodeCp1252(c, byte))
                return false;
            out.push_back(byte);
            break;
        }
        case CTextEncoding::Utf8:
            if (c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
                return false;
            kestrix::AppendUtf8(c, out);
            break;
        case CTextEncoding::Utf16Le:
        case CTextEncoding::Utf16Be: {
            const bool bigEndian = encoding == CTextEncoding::Utf16Be;
            if (c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
                return false;
            if (c < 0x10000) {
                AppendUnit(static_cast<char16_t>(c), bigEndian, out);
            } else {
                AppendUnit(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), bigEndian, out);
                AppendUnit(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), bigEndian, out);
            }
            break;
        }
        }
    }
    return true;
}

std::u32string Cp1252Characters(std::string_view text) {
    std::u32string characters;
    characters.reserve(text.size());
    for (const char c : text)
        characters.push_back(kestrix::Cp1252Character(static_cast<unsigned char>(c)));
    return characters;
}

std::string RestoreOutsideCharacters(std::string_view text, std::uint32_t textOffset,
                                     const std::vector<COutsideCharacter>& outside) {
    std::string out;
    out.reserve(text.size());
    auto next = std::lower_bound(
        outside.begin(), outside.end(), textOffset,
        [](const COutsideCharacter& entry, std::uint32_t offset) { return entry.offset < offset; });
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto offset = static_cast<std::uint32_t>(textOffset + i);
        while (next != outside.end() && next->offset < offset)
            ++next;
        if (text[i] == kSubstituteByte && next != outside.end() && next->offset == offset)
            kestrix::AppendUtf8(next->character, out);
        else
            kestrix::AppendUtf8(kestrix::Cp1252Character(static_cast<unsigned char>(text[i])), out);
    }
    return out;
}

} // namespace sorbex
