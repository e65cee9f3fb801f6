// Tests of the check that a file still holds a passage, and of the bytes put in its place.
#include "search/PassageEdit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/testing/TempTree.h"
#include "text/CleanText.h"

namespace sorbex {
namespace {

// A literal with its embedded NULs.
template <std::size_t N> std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

// The result the search would have recorded for [start, end) of a file holding `bytes`.
CSearchResult ResultFor(const std::string& bytes, int start, int end, const std::string& dir,
                        const std::string& name) {
    std::string text = bytes;
    CleanText(text.data(), text.size());
    return CSearchResult(text.data(), text.size(), start, end, dir, name);
}

TEST(FileStillHoldsPassageTest, ComparesTheCleanedBytesWithTheExcerpt) {
    const std::string searched = Bytes("ab\r\nx\0y\tz end");
    const CSearchResult passage = ResultFor(searched, 2, 9, "", "f"); // "\r\nx\0y\tz"
    const std::string longLine(2000, 'q');
    const CSearchResult longPassage = ResultFor(longLine, 100, 1500, "", "f");
    struct Case {
        const char* what;
        std::string bytes;
        const CSearchResult& result;
        bool holds;
    };
    const Case cases[] = {
        {"unchanged, control bytes and CR match their cleaned form", searched, passage, true},
        {"a byte inside the passage changed", Bytes("ab\r\nX\0y\tz end"), passage, false},
        {"bytes outside the passage changed", Bytes("AB\r\nx\0y\tz END"), passage, true},
        {"the passage moved by one byte", Bytes(" ab\r\nx\0y\tz end"), passage, false},
        {"the file now ends inside the passage", Bytes("ab\r\nx\0"), passage, false},
        {"the file is empty", "", passage, false},
        {"a long passage is checked as far as the excerpt holds it", longLine, longPassage, true},
        {"a long passage changed within what the excerpt holds",
         std::string(300, 'q') + "Q" + std::string(1699, 'q'), longPassage, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FileStillHoldsPassage(c.bytes, c.result), c.holds);
    }
}

class PassageEditTest : public ::testing::Test {
protected:
    kestrix::TempTree tree;
    std::unique_ptr<kestrix::FileSystem> fs = kestrix::MakeSystemFileSystem();
};

TEST_F(PassageEditTest, WritesOnlyThePassageAndKeepsEveryOtherByte) {
    const std::string before = Bytes("\x80\xff\0head\r\nold\r\ntail\0\xe9");
    tree.Write("f.bin", before);
    const CSearchResult r = ResultFor(before, 9, 12, tree.root(), "f.bin");

    const CPassageEdit edit = ReplacePassageInFile(*fs, r, "brand-new");

    EXPECT_EQ(edit.status, CPassageEditStatus::Replaced);
    EXPECT_EQ(edit.delta, 6);
    EXPECT_EQ(tree.Read("f.bin"), Bytes("\x80\xff\0head\r\nbrand-new\r\ntail\0\xe9"));
}

// UTF-16 of an ASCII or Latin-1 text, little- or big-endian.
std::string Utf16(const std::string& latin1, bool bigEndian) {
    std::string out;
    for (const char c : latin1) {
        out.push_back(bigEndian ? '\0' : c);
        out.push_back(bigEndian ? c : '\0');
    }
    return out;
}

TEST_F(PassageEditTest, ReplacesInTheFilesOwnEncodingAndKeepsEveryOtherByte) {
    const std::u32string polish = U"\u0142\u0105ka"; // "łąka": ą and ł lack a byte
    struct Case {
        const char* what;
        std::string bytes;
        CEncodingChoice choice;
        std::string passage; // as the search saw it
        std::string replacement;
        const std::u32string* characters;
        CPassageEditStatus status;
        std::string after;
        int delta;
    };
    const auto A = CEncodingChoice::Auto;
    const auto R = CPassageEditStatus::Replaced;
    const Case cases[] = {
        {"UTF-8",
         "Wir gingen \xC3\xBC"
         "ber den H\xC3\xBCgel.\n",
         A, "H\xFCgel", "Berg", nullptr, R,
         "Wir gingen \xC3\xBC"
         "ber den Berg.\n",
         -1},
        {"UTF-8 mark kept, umlaut written as UTF-8",
         "\xEF\xBB\xBF"
         "den H\xC3\xBCgel",
         A, "H\xFCgel", "H\xF6he", nullptr, R,
         "\xEF\xBB\xBF"
         "den H\xC3\xB6he",
         -1},
        {"character outside the code page before the passage", "\xC5\x82 H\xC3\xBCgel\r\n", A,
         "H\xFCgel", "Tal", nullptr, R, "\xC5\x82 Tal\r\n", -2},
        {"UTF-8 takes characters the code page lacks", "a H\xC3\xBCgel", A, "H\xFCgel", "?",
         &polish, R, "a \xC5\x82\xC4\x85ka", -1},
        {"Windows-1252 cannot hold them: refused, untouched", "a H\xFCgel", A, "H\xFCgel", "?",
         &polish, CPassageEditStatus::Unencodable, "a H\xFCgel", 0},
        {"Windows-1252 takes them when they have bytes", "a H\xFCgel", A, "H\xFCgel", "?", nullptr,
         R, "a ?", -4},
        {"UTF-16 LE with mark", "\xFF\xFE" + Utf16("den H\xFCgel hinauf", false), A, "H\xFCgel",
         "B\xE4rg", nullptr, R, "\xFF\xFE" + Utf16("den B\xE4rg hinauf", false), -1},
        {"UTF-16 BE with mark", "\xFE\xFF" + Utf16("H\xFCgel", true), A, "H\xFCgel", "\x80",
         nullptr, R, "\xFE\xFF\x20\xAC", -4},
        {"UTF-16 BE chosen, no mark", Utf16("x H\xFCgel", true), CEncodingChoice::Utf16Be,
         "H\xFCgel", "y", nullptr, R, Utf16("x y", true), -4},
        {"UTF-16 odd length keeps its last byte", "\xFF\xFE" + Utf16("Hi", false) + "x", A, "Hi",
         "Ho", nullptr, R, "\xFF\xFE" + Utf16("Ho", false) + "x", 0},
        {"UTF-16 surrogate pair before the passage",
         Bytes("\xFF\xFE\x3D\xD8\x00\xDE") + Utf16(" Tee", false), A, "Tee", "Kaffee", nullptr, R,
         Bytes("\xFF\xFE\x3D\xD8\x00\xDE") + Utf16(" Kaffee", false), 3},
        {"invalid UTF-8 is bytes", "H\xC3\xBCgel H\xFCgel", A, "H\xFCgel", "X", nullptr, R,
         "H\xC3\xBCgel X", -4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tree.Write("f.txt", c.bytes);
        std::string text;
        DecodeText(c.bytes, DetectEncoding(c.bytes, c.choice, false), text);
        CleanText(text.data(), text.size());
        const std::size_t at = text.find(c.passage);
        ASSERT_NE(std::string::npos, at);
        const CSearchResult r(text.data(), text.size(), static_cast<int>(at),
                              static_cast<int>(at + c.passage.size()), tree.root(), "f.txt");

        const CPassageEdit edit =
            ReplacePassageInFile(*fs, r, c.replacement, {c.choice, c.characters});

        EXPECT_EQ(c.status, edit.status);
        EXPECT_EQ(c.delta, edit.delta);
        EXPECT_EQ(c.after, tree.Read("f.txt"));
    }
}

// After a replacement the later passages of the file move by the delta in the searched
// text, whatever the new text's bytes are.
TEST_F(PassageEditTest, LaterPassagesStayAddressableAfterAnEditInUtf8) {
    const std::string before = "\xC3\xBC one \xC3\xBC two \xC3\xBC";
    tree.Write("f.txt", before);
    std::string text;
    DecodeText(before, DetectEncoding(before, CEncodingChoice::Auto, false), text);
    ASSERT_EQ("\xFC one \xFC two \xFC", text);
    const CSearchResult first(text.data(), text.size(), 2, 5, tree.root(), "f.txt");
    CSearchResult second(text.data(), text.size(), 8, 11, tree.root(), "f.txt");
    const std::u32string characters = U"\u00E4\u0142";

    const CPassageEdit edit =
        ReplacePassageInFile(*fs, first, "", {CEncodingChoice::Auto, &characters});
    ASSERT_EQ(CPassageEditStatus::Replaced, edit.status);
    second.start += edit.delta;
    second.end += edit.delta;
    EXPECT_EQ(CPassageEditStatus::Replaced, ReplacePassageInFile(*fs, second, "2").status);
    EXPECT_EQ("\xC3\xBC \xC3\xA4\xC5\x82 \xC3\xBC 2 \xC3\xBC", tree.Read("f.txt"));
}

// Several passages of one file go in one rewrite: their offsets count in the decoded
// text as the file stands, each is put at its own bytes, and the mark and the characters
// between them (a surrogate pair too) stay as they were. A file that cannot hold the
// replacement is neither kept for undoing nor written.
TEST_F(PassageEditTest, OneRewriteOfSeveralPassagesInTheFilesOwnEncoding) {
    const std::string pair = Bytes("\x3D\xD8\x00\xDE");
    const std::string before =
        "\xFF\xFE" + Utf16("H\xFCgel ", false) + pair + Utf16(" am H\xFCgel", false);
    tree.Write("f.txt", before);
    std::string text;
    DecodeText(before, DetectEncoding(before, CEncodingChoice::Auto, false), text);
    ASSERT_EQ("H\xFCgel \x81 am H\xFCgel", text);
    const CSearchResult first(text.data(), text.size(), 0, 5, tree.root(), "f.txt");
    const CSearchResult second(text.data(), text.size(), 11, 16, tree.root(), "f.txt");
    int kept = 0;
    const COldContentKeeper keeper = [&](const std::string&, const std::string& old) {
        ++kept;
        EXPECT_EQ(before, old);
        return kestrix::OsError();
    };

    const CFileEdit edit = ReplacePassagesInFile(*fs, {&first, &second}, "B\xE4rg", keeper);

    EXPECT_EQ(CPassageEditStatus::Replaced, edit.status);
    EXPECT_EQ(2u, edit.applied);
    EXPECT_EQ(4u, edit.replacementLength);
    EXPECT_EQ(1, kept);
    EXPECT_EQ("\xFF\xFE" + Utf16("B\xE4rg ", false) + pair + Utf16(" am B\xE4rg", false),
              tree.Read("f.txt"));

    const std::u32string polish = U"\u0142\u0105ka";
    const std::string ansi = "H\xFCgel und H\xFCgel";
    tree.Write("g.txt", ansi);
    const CSearchResult a = ResultFor(ansi, 0, 5, tree.root(), "g.txt");
    const CSearchResult b = ResultFor(ansi, 10, 15, tree.root(), "g.txt");
    const CFileEdit refused = ReplacePassagesInFile(*fs, {&a, &b}, "?", keeper,
                                                    {CEncodingChoice::Auto, &polish});
    EXPECT_EQ(CPassageEditStatus::Unencodable, refused.status);
    EXPECT_EQ(0u, refused.applied);
    EXPECT_EQ(1, kept);
    EXPECT_EQ(ansi, tree.Read("g.txt"));
}

} // namespace
} // namespace sorbex
