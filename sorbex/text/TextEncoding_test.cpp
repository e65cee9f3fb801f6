// Tests of telling file encodings apart, decoding them into the searched text and back.
#include "text/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorbex {
namespace {

const char* Name(CTextEncoding encoding) {
    switch (encoding) {
    case CTextEncoding::Ansi:
        return "ansi";
    case CTextEncoding::Utf8:
        return "utf-8";
    case CTextEncoding::Utf16Le:
        return "utf-16le";
    case CTextEncoding::Utf16Be:
        return "utf-16be";
    }
    return "?";
}

TEST(TextEncodingTest, DetectsByMarkThenByContent) {
    struct Case {
        const char* name;
        std::string bytes;
        CEncodingChoice choice;
        bool html;
        CTextEncoding encoding;
        std::size_t bomLength;
    };
    const auto A = CEncodingChoice::Auto;
    const Case cases[] = {
        {"UTF-16 LE mark", "\xFF\xFEH\0", A, false, CTextEncoding::Utf16Le, 2},
        {"UTF-16 BE mark", "\xFE\xFF\0H", A, false, CTextEncoding::Utf16Be, 2},
        {"UTF-8 mark on ASCII", "\xEF\xBB\xBFHello", A, false, CTextEncoding::Utf8, 3},
        {"UTF-8 without mark", "H\xC3\xBCgel", A, false, CTextEncoding::Utf8, 0},
        {"four-byte sequence", "x\xF0\x9F\x98\x80", A, false, CTextEncoding::Utf8, 0},
        {"plain ASCII is bytes", "Hello world, long enough", A, false, CTextEncoding::Ansi, 0},
        {"Windows-1252 umlaut", "H\xFCgel", A, false, CTextEncoding::Ansi, 0},
        {"invalid UTF-8 after valid", "H\xC3\xBCgel H\xFCgel", A, false, CTextEncoding::Ansi, 0},
        {"truncated sequence at the end", "H\xC3\xBCgel\xC3", A, false, CTextEncoding::Ansi, 0},
        {"overlong form", "\xC0\xAF", A, false, CTextEncoding::Ansi, 0},
        {"encoded surrogate", "\xED\xA0\x80", A, false, CTextEncoding::Ansi, 0},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", A, false, CTextEncoding::Ansi, 0},
        {"empty", "", A, false, CTextEncoding::Ansi, 0},
        {"HTML declaring Latin-1 over valid UTF-8", "<meta charset=\"iso-8859-1\">\xC3\xBC", A,
         true, CTextEncoding::Ansi, 0},
        {"HTML declaring UTF-8", "<meta charset=utf-8>\xC3\xBC", A, true, CTextEncoding::Utf8, 0},
        {"declaration ignored outside HTML", "charset=windows-1252 \xC3\xBC", A, false,
         CTextEncoding::Utf8, 0},
        {"HTML mark beats declaration", "\xEF\xBB\xBF<meta charset=windows-1252>", A, true,
         CTextEncoding::Utf8, 3},
        {"forced ANSI keeps the mark as text", "\xEF\xBB\xBFx", CEncodingChoice::Ansi, false,
         CTextEncoding::Ansi, 0},
        {"forced UTF-8 on bytes", "H\xFCgel", CEncodingChoice::Utf8, false, CTextEncoding::Utf8, 0},
        {"forced UTF-16 LE skips its own mark", "\xFF\xFEH\0", CEncodingChoice::Utf16Le, false,
         CTextEncoding::Utf16Le, 2},
        {"forced UTF-16 BE keeps another mark", "\xFF\xFEH\0", CEncodingChoice::Utf16Be, false,
         CTextEncoding::Utf16Be, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CDetectedEncoding detected = DetectEncoding(c.bytes, c.choice, c.html);
        EXPECT_STREQ(Name(c.encoding), Name(detected.encoding));
        EXPECT_EQ(c.bomLength, detected.bomLength);
    }
}

// Long ASCII runs go through the eight-byte stride: a multi-byte sequence or a bad byte
// at any place around it still decides.
TEST(TextEncodingTest, DetectionSeesEveryPositionOfLongText) {
    for (std::size_t at = 0; at < 40; ++at) {
        SCOPED_TRACE(at);
        std::string text(40, 'a');
        std::string good = text;
        good.insert(at, "\xC3\xBC");
        EXPECT_EQ(CTextEncoding::Utf8, DetectEncoding(good, CEncodingChoice::Auto, false).encoding);
        std::string bad = good;
        bad.insert(bad.size() - at, "\xFC");
        EXPECT_EQ(CTextEncoding::Ansi, DetectEncoding(bad, CEncodingChoice::Auto, false).encoding);
    }
}

TEST(TextEncodingTest, DecodesIntoTheCodePageWithOffsetsIntoTheFile) {
    struct Case {
        const char* name;
        std::string bytes;
        CDetectedEncoding detected;
        std::string text;
        std::vector<std::uint32_t> offsets;
        std::vector<std::pair<std::uint32_t, char32_t>> outside;
    };
    const std::string sub(1, kSubstituteByte);
    const Case cases[] = {
        {"ANSI is the bytes", "H\xFC", {CTextEncoding::Ansi, 0}, "H\xFC", {0, 1, 2}, {}},
        {"UTF-8 umlaut", "H\xC3\xBCg", {CTextEncoding::Utf8, 0}, "H\xFCg", {0, 1, 3, 4}, {}},
        {"UTF-8 mark skipped", "\xEF\xBB\xBFz", {CTextEncoding::Utf8, 3}, "z", {3, 4}, {}},
        {"euro sign to its byte", "\xE2\x82\xAC", {CTextEncoding::Utf8, 0}, "\x80", {0, 3}, {}},
        {"Polish l is outside",
         "a\xC5\x82"
         "b",
         {CTextEncoding::Utf8, 0},
         "a" + sub + "b",
         {0, 1, 3, 4},
         {{1, 0x142}}},
        {"C1 control of the substitute's value is outside",
         "\xC2\x81",
         {CTextEncoding::Utf8, 0},
         sub,
         {0, 2},
         {{0, 0x81}}},
        {"emoji is one character",
         "\xF0\x9F\x98\x80!",
         {CTextEncoding::Utf8, 0},
         sub + "!",
         {0, 4, 5},
         {{0, 0x1F600}}},
        {"bad byte under forced UTF-8",
         "a\xFC"
         "b",
         {CTextEncoding::Utf8, 0},
         "a" + sub + "b",
         {0, 1, 2, 3},
         {{1, 0xFFFD}}},
        {"UTF-16 LE with mark",
         std::string("\xFF\xFEH\0\xFC\0", 6),
         {CTextEncoding::Utf16Le, 2},
         "H\xFC",
         {2, 4, 6},
         {}},
        {"UTF-16 BE",
         std::string("\0H\x20\xAC", 4),
         {CTextEncoding::Utf16Be, 0},
         "H\x80",
         {0, 2, 4},
         {}},
        {"UTF-16 surrogate pair",
         std::string("\x3D\xD8\x00\xDE"
                     "a\0",
                     6),
         {CTextEncoding::Utf16Le, 0},
         sub + "a",
         {0, 4, 6},
         {{0, 0x1F600}}},
        {"UTF-16 lone surrogate",
         std::string("\x3D\xD8"
                     "a\0",
                     4),
         {CTextEncoding::Utf16Le, 0},
         sub + "a",
         {0, 2, 4},
         {{0, 0xFFFD}}},
        {"UTF-16 odd length",
         std::string("\xFF\xFEH\0x", 5),
         {CTextEncoding::Utf16Le, 2},
         "H" + sub,
         {2, 4, 5},
         {{1, 0xFFFD}}},
        {"UTF-16 NUL and CR stay characters",
         std::string("\0\0\r\0", 4),
         {CTextEncoding::Utf16Le, 0},
         std::string("\0\r", 2),
         {0, 2, 4},
         {}},
        {"mark alone", "\xFE\xFF", {CTextEncoding::Utf16Be, 2}, "", {2}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = "left over";
        std::vector<COutsideCharacter> outside;
        std::vector<std::uint32_t> offsets;
        DecodeText(c.bytes, c.detected, text, &outside, &offsets);
        EXPECT_EQ(c.text, text);
        EXPECT_EQ(c.offsets, offsets);
        std::vector<std::pair<std::uint32_t, char32_t>> got;
        for (const COutsideCharacter& entry : outside)
            got.emplace_back(entry.offset, entry.character);
        EXPECT_EQ(c.outside, got);
    }
}

TEST(TextEncodingTest, EncodesInTheFilesEncodingOrRefuses) {
    struct Case {
        const char* name;
        std::u32string characters;
        CTextEncoding encoding;
        bool ok;
        std::string bytes;
    };
    const Case cases[] = {
        {"ANSI umlaut", U"H\u00FCgel", CTextEncoding::Ansi, true, "H\xFCgel"},
        {"ANSI euro", U"\u20AC", CTextEncoding::Ansi, true, "\x80"},
        {"ANSI cannot hold a Polish l", U"a\u0142", CTextEncoding::Ansi, false, ""},
        {"UTF-8", U"H\u00FC\u0142", CTextEncoding::Utf8, true, "H\xC3\xBC\xC5\x82"},
        {"UTF-16 LE", U"H\u00FC", CTextEncoding::Utf16Le, true, std::string("H\0\xFC\0", 4)},
        {"UTF-16 BE pair", U"\U0001F600", CTextEncoding::Utf16Be, true,
         std::string("\xD8\x3D\xDE\x00", 4)},
        {"UTF-16 LE pair", U"\U0001F600", CTextEncoding::Utf16Le, true,
         std::string("\x3D\xD8\x00\xDE", 4)},
        {"no surrogate in UTF-8", std::u32string(1, 0xD800), CTextEncoding::Utf8, false, ""},
        {"empty", U"", CTextEncoding::Utf16Le, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out;
        EXPECT_EQ(c.ok, EncodeCharacters(c.characters, c.encoding, out));
        if (c.ok) {
            EXPECT_EQ(c.bytes, out);
        }
    }
}

TEST(TextEncodingTest, ChoiceNamesReadBack) {
    for (const CEncodingChoice choice :
         {CEncodingChoice::Auto, CEncodingChoice::Ansi, CEncodingChoice::Utf8,
          CEncodingChoice::Utf16Le, CEncodingChoice::Utf16Be}) {
        CEncodingChoice read = CEncodingChoice::Auto;
        EXPECT_TRUE(ParseEncodingChoice(EncodingChoiceName(choice), read));
        EXPECT_EQ(choice, read);
    }
    CEncodingChoice read = CEncodingChoice::Auto;
    EXPECT_TRUE(ParseEncodingChoice("UTF-16LE", read));
    EXPECT_EQ(CEncodingChoice::Utf16Le, read);
    for (const char* bad : {"", "utf8", "utf-16", "latin1"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseEncodingChoice(bad, read));
    }
}

TEST(TextEncodingTest, RestoresOutsideCharactersOfAPieceOfText) {
    std::string text;
    std::vector<COutsideCharacter> outside;
    // "Zażółć" and a Greek word: only some of their letters have bytes in the code page.
    DecodeText("Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 \xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82",
               {CTextEncoding::Utf8, 0}, text, &outside);
    EXPECT_EQ("Za\x81\xF3\x81\x81 \x81\x81\x81\x81\x81", text);
    EXPECT_EQ("Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 \xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82",
              RestoreOutsideCharacters(text, 0, outside));
    // A piece from the middle: offsets count in the whole text.
    EXPECT_EQ("\xC5\x82\xC4\x87 \xCE\xBB",
              RestoreOutsideCharacters(std::string_view(text).substr(4, 4), 4, outside));
    // A raw substitute byte that no character accounts for stays the code page's byte.
    EXPECT_EQ("\xC2\x81"
              "a",
              RestoreOutsideCharacters("\x81"
                                       "a",
                                       0, {}));
}

} // namespace
} // namespace sorbex

namespace sorbex {
namespace {

// The loader decodes over the file's bytes in one pass; detecting and decoding in two
// steps is the plain reading it must agree with, at every place that the word-wide and
// sixteen-unit paths can break off.
TEST(TextEncodingTest, DecodingInPlaceAgreesWithTheTwoSteps) {
    struct Piece {
        const char* name;
        std::u32string character; // put at every place of a run of ASCII
    };
    const Piece pieces[] = {
        {"umlaut", U"\u00FC"},      {"euro sign", U"\u20AC"},   {"Polish l", U"\u0142"},
        {"C1 control", U"\u0081"},  {"outside the BMP", U"\U0001F600"},
        {"replacement", U"\uFFFD"}, {"two umlauts", U"\u00E4\u00F6"},
    };
    const struct {
        CTextEncoding encoding;
        const char* bom;
        std::size_t bomLength;
    } encodings[] = {
        {CTextEncoding::Utf8, "", 0},
        {CTextEncoding::Utf8, "\xEF\xBB\xBF", 3},
        {CTextEncoding::Utf16Le, "\xFF\xFE", 2},
        {CTextEncoding::Utf16Be, "\xFE\xFF", 2},
    };
    for (const auto& encoding : encodings) {
        for (const Piece& piece : pieces) {
            for (std::size_t at = 0; at < 70; at += 3) {
                SCOPED_TRACE(std::string(Name(encoding.encoding)) + " " + piece.name + " at " +
                             std::to_string(at) + (encoding.bomLength ? " with mark" : ""));
                std::u32string characters(75, U'a');
                characters.insert(at, piece.character);
                characters.insert(at / 2, U"\u00DF"); // a second one before it
                std::string bytes;
                ASSERT_TRUE(EncodeCharacters(characters, encoding.encoding, bytes));
                bytes.insert(0, encoding.bom, encoding.bomLength);

                const CDetectedEncoding detected =
                    DetectEncoding(bytes, CEncodingChoice::Auto, false);
                std::string expected;
                std::vector<COutsideCharacter> expectedOutside;
                DecodeText(bytes, detected, expected, &expectedOutside);

                std::string loaded = bytes;
                std::vector<COutsideCharacter> outside;
                const CDetectedEncoding once =
                    DecodeFileBytes(loaded, CEncodingChoice::Auto, false, &outside);
                EXPECT_EQ(encoding.encoding, once.encoding);
                EXPECT_EQ(encoding.bomLength, once.bomLength);
                EXPECT_EQ(expected, loaded);
                ASSERT_EQ(expectedOutside.size(), outside.size());
                for (std::size_t k = 0; k < outside.size(); ++k) {
                    EXPECT_EQ(expectedOutside[k].offset, outside[k].offset);
                    EXPECT_EQ(expectedOutside[k].character, outside[k].character);
                }
            }
        }
    }
}

// Text that looks like UTF-8 until a byte that is none is taken byte for byte: the
// characters decoded up to there are turned back into exactly the bytes they came from.
TEST(TextEncodingTest, TextThatTurnsOutNoUtf8KeepsEveryByte) {
    const std::string valid = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xC5\x82\xC3\xB3" "d\xC5\xBA "
                              "\xF0\x9F\x98\x80 \xEF\xBF\xBD \xC2\x81 \xC2\xA0 tail text";
    for (const char* broken : {"\xFC", "\xC3", "\xE2\x82", "\xED\xA0\x80", "\xC0\xAF", "\xFF"}) {
        for (std::size_t copies : {1, 3, 40}) {
            SCOPED_TRACE(std::to_string(copies) + " copies before a broken sequence");
            std::string bytes;
            for (std::size_t k = 0; k < copies; ++k)
                bytes += valid;
            bytes += broken;
            bytes += " and after";
            std::string loaded = bytes;
            std::vector<COutsideCharacter> outside = {{1, U'x'}};
            const CDetectedEncoding detected =
                DecodeFileBytes(loaded, CEncodingChoice::Auto, false, &outside);
            EXPECT_EQ(CTextEncoding::Ansi, detected.encoding);
            EXPECT_EQ(bytes, loaded);
            EXPECT_TRUE(outside.empty());
        }
    }
}

} // namespace
} // namespace sorbex
