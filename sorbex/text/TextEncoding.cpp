// The encodings of text files (Windows-1252, UTF-8, UTF-16): telling them apart,
// decoding them into the searched single-byte text, and writing characters back.
#include "text/TextEncoding.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "text/TextVectors.h"

#include "platform/Cp1252.h"

// UTF-16 is narrowed sixteen units at a time with SSE2 instructions where
// the processor has them (TextVectors.h).

namespace sorbex {
namespace {

#if defined(SORBEX_TEXT_VECTORS)
// Narrows the units at `data` + `r` (LE or BE) to bytes at `data` + `w` (w <= r / 2 + 8
// is never past what was read) sixteen at a time while they are all the code page's own
// characters; steps `r` and `w` past what it narrowed.
SSE2_FUNCTION void NarrowUtf16Blocks(char* data, std::size_t n, bool bigEndian, std::size_t& r,
                                     std::size_t& w) {
    const __m128i highByte = _mm_set1_epi16(static_cast<short>(0xFF00));
    const __m128i controlMask = _mm_set1_epi16(static_cast<short>(0xFFE0));
    const __m128i controls = _mm_set1_epi16(0x0080);
    const __m128i zero = _mm_setzero_si128();
    while (r + 32 <= n) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + r));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + r + 16));
        if (bigEndian) {
            a = _mm_or_si128(_mm_slli_epi16(a, 8), _mm_srli_epi16(a, 8));
            b = _mm_or_si128(_mm_slli_epi16(b, 8), _mm_srli_epi16(b, 8));
        }
        // A unit is narrowed when it is below U+0100 and not one of U+0080 to U+009F.
        const __m128i wide = _mm_or_si128(_mm_and_si128(a, highByte), _mm_and_si128(b, highByte));
        const __m128i control =
            _mm_or_si128(_mm_cmpeq_epi16(_mm_and_si128(a, controlMask), controls),
                         _mm_cmpeq_epi16(_mm_and_si128(b, controlMask), controls));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(wide, zero)) != 0xFFFF ||
            _mm_movemask_epi8(control) != 0)
            return;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(data + w), _mm_packus_epi16(a, b));
        r += 32;
        w += 16;
    }
}
#endif

constexpr char32_t kReplacementCharacter = 0xFFFD;
// Where words are read as lanes of units, the lanes are where a little-endian processor
// puts them; elsewhere units are read one by one.
constexpr bool kLittleEndianHost =
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    false;
#else
    true;
#endif
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

// Valid UTF-8 throughout.
bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        i += FirstNonAscii(bytes.substr(i));
        if (i == n)
            break;
        char32_t c = 0;
        if (!DecodeUtf8Character(bytes, i, c))
            return false;
    }
    return true;
}

// Valid UTF-8 holding at least one multi-byte sequence.
bool IsMultiByteUtf8(std::string_view bytes) {
    const std::size_t first = FirstNonAscii(bytes);
    return first != bytes.size() && IsValidUtf8(bytes.substr(first));
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

// Decodes UTF-8 into `target`; a byte that starts no character stands for U+FFFD.
void DecodeUtf8(std::string_view body, std::size_t base, CDecodeTarget& target) {
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
            // A byte that starts no character is kept as one character of its own, so
            // that it keeps its place and every other byte stays addressable.
            c = kReplacementCharacter;
            ++i;
        }
        target.Add(c, base + at);
    }
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

// The searched byte for character `c` at `offset` of the searched text; the code page's
// own range (ASCII and U+00A0 to U+00FF) is the byte itself.
inline char SearchedByte(char32_t c, std::size_t offset, std::vector<COutsideCharacter>* outside) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    char byte = kSubstituteByte;
    if (!kestrix::EncodeCp1252(c, byte) || byte == kSubstituteByte) {
        byte = kSubstituteByte;
        if (outside)
            outside->push_back({static_cast<std::uint32_t>(offset), c});
    }
    return byte;
}

// Puts back the UTF-8 that DecodeUtf8InPlace turned into [from, to) of `data`, its
// bytes having ended at `end`. Valid UTF-8 has one spelling per character, so the
// decoded text and the characters the code page lacks tell the bytes exactly; they
// are written from the back, where they never overtake the text still to be read.
void RestoreUtf8(char* data, std::size_t from, std::size_t to, std::size_t end,
                 const std::vector<COutsideCharacter>& outside) {
    auto next = outside.rbegin();
    std::size_t at = end;
    char encoded[4];
    for (std::size_t i = to; i > from; --i) {
        const auto byte = static_cast<unsigned char>(data[i - 1]);
        if (byte < 0x80) {
            data[--at] = static_cast<char>(byte);
            continue;
        }
        while (next != outside.rend() && next->offset > i - 1)
            ++next;
        char32_t c = kestrix::Cp1252Character(byte);
        if (byte == static_cast<unsigned char>(kSubstituteByte) && next != outside.rend() &&
            next->offset == i - 1)
            c = next->character;
        std::size_t length = 0;
        if (c < 0x800) {
            encoded[0] = static_cast<char>(0xC0 | (c >> 6));
            length = 2;
        } else if (c < 0x10000) {
            encoded[0] = static_cast<char>(0xE0 | (c >> 12));
            encoded[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            length = 3;
        } else {
            encoded[0] = static_cast<char>(0xF0 | (c >> 18));
            encoded[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            encoded[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            length = 4;
        }
        encoded[length - 1] = static_cast<char>(0x80 | (c & 0x3F));
        at -= length;
        std::memcpy(data + at, encoded, length);
    }
}

// Decodes the UTF-8 in `bytes` from `from` on over the bytes themselves, the text
// starting at `to` (to <= from); sets `end` to the text's end. No character is shorter
// than its bytes, so writing never overtakes reading. A byte that starts no character
// stands for U+FFFD; when `strict`, it makes the bytes be put back as they were instead
// (`outside` emptied) and the result false.
bool DecodeUtf8InPlace(std::string& bytes, std::size_t from, std::size_t to, bool strict,
                       std::vector<COutsideCharacter>* outside, std::size_t& end) {
    char* const data = &bytes[0];
    const std::string_view view(bytes);
    const std::size_t n = bytes.size();
    std::vector<COutsideCharacter> kept;
    std::vector<COutsideCharacter>* const found = outside ? outside : strict ? &kept : nullptr;
    std::size_t r = from;
    std::size_t w = to;
    while (r < n) {
        // Runs of ASCII go eight bytes at a time. A word is read before it is written;
        // where it would reach bytes not yet read, only its ASCII bytes are written.
        while (kLittleEndianHost && r + 8 <= n) {
            std::uint64_t block = 0;
            std::memcpy(&block, data + r, 8);
            const std::uint64_t high = block & 0x8080808080808080ull;
            if (high == 0 || w + 8 <= r) {
                std::memcpy(data + w, &block, 8);
            } else {
                for (std::size_t k = 0; k < 8 && static_cast<unsigned char>(data[r + k]) < 0x80; ++k)
                    data[w + k] = data[r + k];
            }
            if (high != 0) {
                const auto ascii = static_cast<std::size_t>(__builtin_ctzll(high) >> 3);
                r += ascii;
                w += ascii;
                break;
            }
            r += 8;
            w += 8;
        }
        while (r < n && static_cast<unsigned char>(data[r]) < 0x80)
            data[w++] = data[r++];
        if (r == n)
            break;
        char32_t c = 0;
        const auto lead = static_cast<unsigned char>(data[r]);
        const auto second = r + 1 < n ? static_cast<unsigned char>(data[r + 1]) : 0u;
        if (lead >= 0xC2 && lead < 0xE0 && (second & 0xC0) == 0x80) {
            // Two bytes: the accented letters of most European text.
            c = (static_cast<char32_t>(lead & 0x1F) << 6) | (second & 0x3F);
            r += 2;
        } else if (!DecodeUtf8Character(view, r, c)) {
            if (strict) {
                RestoreUtf8(data, to, w, r, *found);
                if (outside)
                    outside->clear();
                return false;
            }
            c = kReplacementCharacter;
            ++r;
        }
        data[w] = SearchedByte(c, w, found);
        ++w;
    }
    end = w;
    return true;
}

// Decodes the UTF-16 in `bytes` from `from` on over the bytes themselves, the text
// starting at 0; returns the text's end. Half a unit at the end and a surrogate without
// its other half stand for U+FFFD.
std::size_t DecodeUtf16InPlace(std::string& bytes, std::size_t from, bool bigEndian,
                               std::vector<COutsideCharacter>* outside) {
    char* const data = &bytes[0];
    const std::size_t n = bytes.size();
    const auto unitAt = [&](std::size_t i) -> char16_t {
        const auto a = static_cast<unsigned char>(data[i]);
        const auto b = static_cast<unsigned char>(data[i + 1]);
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    // Four units in a word: the high bytes in `highMask`, the low ones in `lowShift`.
    const std::uint64_t highMask = bigEndian ? 0x00FF00FF00FF00FFull : 0xFF00FF00FF00FF00ull;
    const int lowShift = bigEndian ? 8 : 0;
    std::size_t r = from;
    std::size_t w = 0;
#if defined(SORBEX_TEXT_VECTORS)
    const bool vectors = ProcessorHasSse2();
#endif
    while (r + 1 < n) {
#if defined(SORBEX_TEXT_VECTORS)
        if (vectors)
            NarrowUtf16Blocks(data, n, bigEndian, r, w);
#endif
        // Four units at a time while they are all the code page's own characters (below
        // U+0100 and outside U+0080 to U+009F): each is its low byte. The lanes are
        // laid out for a little-endian processor.
        for (; kLittleEndianHost && r + 8 <= n; r += 8, w += 4) {
            std::uint64_t block = 0;
            std::memcpy(&block, data + r, 8);
            if ((block & highMask) != 0)
                break;
            const std::uint64_t low = block >> lowShift;
            // A lane is zero where the low byte is 0x80 to 0x9F.
            const std::uint64_t x = (low & 0x00E000E000E000E0ull) ^ 0x0080008000800080ull;
            if (((x - 0x0001000100010001ull) & ~x & 0x8000800080008000ull) != 0)
                break;
            // The four low bytes side by side, in one store.
            std::uint64_t packed = low & 0x00FF00FF00FF00FFull;
            packed = (packed | (packed >> 8)) & 0x0000FFFF0000FFFFull;
            const auto four = static_cast<std::uint32_t>(packed | (packed >> 16));
            std::memcpy(data + w, &four, 4);
        }
        if (r + 1 >= n)
            break;
        const char16_t unit = unitAt(r);
        r += 2;
        char32_t c = unit;
        if (unit >= 0xD800 && unit < 0xDC00 && r + 1 < n) {
            const char16_t low = unitAt(r);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00);
                r += 2;
            }
        }
        if (c >= 0xD800 && c < 0xE000)
            c = kReplacementCharacter;
        data[w] = SearchedByte(c, w, outside);
        ++w;
    }
    if (r < n) {
        data[w] = SearchedByte(kReplacementCharacter, w, outside);
        ++w;
    }
    return w;
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
        DecodeUtf8(body, base, target);
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
                                  std::vector<COutsideCharacter>* outside,
                                  std::size_t asciiStart) {
    if (outside)
        outside->clear();
    CDetectedEncoding detected;
    if (choice == CEncodingChoice::Auto && !HasByteOrderMark(bytes) &&
        !(html && IsSingleByteCharset(DeclaredCharset(bytes)))) {
        // The content decides, in one pass: the ASCII start is passed over, and bytes
        // that turn out to be no UTF-8 are put back as they were.
        const std::size_t known = std::min(asciiStart, bytes.size());
        const std::size_t first = known + FirstNonAscii(std::string_view(bytes).substr(known));
        std::size_t end = 0;
        if (first == bytes.size() || !DecodeUtf8InPlace(bytes, first, first, true, outside, end))
            return detected;
        detected.encoding = CTextEncoding::Utf8;
        bytes.resize(end);
        return detected;
    }
    detected = DetectEncoding(bytes, choice, html);
    const std::size_t base = std::min(detected.bomLength, bytes.size());
    switch (detected.encoding) {
    case CTextEncoding::Ansi:
        break;
    case CTextEncoding::Utf8: {
        std::size_t end = 0;
        DecodeUtf8InPlace(bytes, base, 0, false, outside, end);
        bytes.resize(end);
        break;
    }
    case CTextEncoding::Utf16Le:
    case CTextEncoding::Utf16Be:
        bytes.resize(DecodeUtf16InPlace(bytes, base,
                                        detected.encoding == CTextEncoding::Utf16Be, outside));
        break;
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
