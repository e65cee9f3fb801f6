// The registry-file reader: what it builds from files of both formats, where it stops
// on broken ones, and its progress reports and trace.
#include "preview/RE4Reader.h"

#include "platform/testing/TempTree.h"
#include "preview/RE4TestText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace keywright {
namespace {

using testing::Crlf;
using testing::DumpTree;
using testing::Utf16File;

struct Parsed {
    bool ok = false;
    std::string dump; // the tree, when there is one
    std::uint32_t line = 0;
    RE4Error error = RE4Error::kNone;
};

Parsed Parse(const std::string& bytes) {
    CRE4Reader reader(kRE4BufferSize, kRE4BufferSize, kRE4BufferSize, nullptr, 0, nullptr, nullptr,
                      nullptr, 0);
    const auto tree = reader.ParseBytes(bytes.data(), bytes.size());
    Parsed parsed;
    parsed.ok = tree != nullptr;
    parsed.dump = tree ? DumpTree(*tree) : "";
    parsed.line = reader.Line();
    parsed.error = reader.Error();
    return parsed;
}

struct ValidCase {
    const char* name;
    std::string file;
    std::string tree;
};

// A literal with the zero bytes inside it.
template <std::size_t N> std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

void ExpectTrees(const std::vector<ValidCase>& cases) {
    for (const ValidCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Parsed parsed = Parse(c.file);
        EXPECT_TRUE(parsed.ok) << "stopped on line " << parsed.line;
        EXPECT_EQ(c.tree, parsed.dump);
    }
}

TEST(RE4Reader, ReadsKeysAndValuesOfEveryKind) {
    ExpectTrees({
        {"one key without values", Crlf("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n"),
         "[HKEY_CURRENT_USER]\n[HKEY_CURRENT_USER\\Software]\n"},
        {"string, default and double word",
         Crlf("REGEDIT4\n\n[A]\n\"Name\"=\"Value\"\n@=\"def\"\n\"n\"=dword:0000002a\n"),
         "[A]\n  Name|1|56 61 6c 75 65 00\n  |1|64 65 66 00\n  n|4|2a 00 00 00\n"},
        {"keywords in any case",
         Crlf("reGEdit4\n[A]\n\"d\"=DWORD:FFFFFFFF\n\"h\"=HEX:0a\n\"x\"=hEx(2):41,00\n"),
         "[A]\n  d|4|ff ff ff ff\n  h|3|0a\n  x|2|41 00\n"},
        {"hex without bytes", Crlf("REGEDIT4\n[A]\n\"e\"=hex:\n\"m\"=hex(7):\n"),
         "[A]\n  e|3|\n  m|7|\n"},
        {"hex types",
         Crlf("REGEDIT4\n[A]\n\"t2\"=hex(2):41,00\n\"t3\"=hex(00000002):01\n"
              "\"ta\"=hex(a):01\n\"empty\"=hex():02\n"),
         "[A]\n  t2|2|41 00\n  t3|3|01\n  ta|10|01\n  empty|3|02\n"},
        {"hex continued over lines",
         Crlf("REGEDIT4\n[A]\n\"b\"=hex:01,02,\\\n  03,04,\\\n  05\n\"c\"=dword:00000001\n"),
         "[A]\n  b|3|01 02 03 04 05\n  c|4|01 00 00 00\n"},
        {"line feeds inside values are kept",
         "REGEDIT4\r\n[A]\r\n\"s\"=\"two\r\nlines\"\n\"h\"=hex:01,\n02\n",
         "[A]\n  s|1|74 77 6f 0d 0a 6c 69 6e 65 73 00\n  h|3|01 02\n"},
        {"escapes", Crlf("REGEDIT4\n[A]\n\"q\\\"d\"=\"a\\\"b\\\\c\\nd\"\n"),
         "[A]\n  q\"d|1|61 22 62 5c 63 6e 64 00\n"},
        {"@= and \"\"= both name the default value", Crlf("REGEDIT4\n[A]\n@=\"1\"\n\"\"=\"2\"\n"),
         "[A]\n  |1|31 00\n  |1|32 00\n"},
        {"a value named twice appears twice", Crlf("REGEDIT4\n[A]\n\"v\"=\"1\"\n\"v\"=\"2\"\n"),
         "[A]\n  v|1|31 00\n  v|1|32 00\n"},
        {"sections of one key in different case fill it, first spelling kept",
         Crlf("REGEDIT4\n[Soft\\Key]\n\"a\"=\"1\"\n[other]\n[SOFT\\key]\n\"b\"=\"2\"\n"),
         "[Soft]\n[Soft\\Key]\n  a|1|31 00\n  b|1|32 00\n[other]\n"},
        {"empty key names", Crlf("REGEDIT4\n[]\n[A\\]\n[\\\\B]\n"),
         "[]\n[\\]\n[\\\\B]\n[A]\n[A\\]\n"},
        {"punctuation alone is passed over", Crlf("REGEDIT4\n;;; -- !! --\n[A]\n; ** ~~ //\n"),
         "[A]\n"},
        {"blank lines and blanks around the parts",
         Crlf("\n  REGEDIT4  \n\n\n[A]\n  \"x\"  =  dword : 00000001\n"),
         "[A]\n  x|4|01 00 00 00\n"},
        {"a byte of zero inside names and strings",
         Bytes("REGEDIT4\r\n[A\0B]\r\n\"n\0m\"=\"v\0w\"\r\n"),
         Bytes("[A\0B]\n  n\0m|1|76 00 77 00\n")},
    });
}

TEST(RE4Reader, DeletionsAddNothing) {
    ExpectTrees({
        {"before a default value", Crlf("REGEDIT4\n[A]\n\"gone\"=-\n@=\"x\"\n"),
         "[A]\n  |1|78 00\n"},
        {"before a key", Crlf("REGEDIT4\n[A]\n\"gone\"=-\n[B]\n\"k\"=\"v\"\n"),
         "[A]\n[B]\n  k|1|76 00\n"},
        {"at the end", Crlf("REGEDIT4\n[A]\n@=-\n"), "[A]\n"},
        // Former fault: the minus was passed over and the next line's name became the
        // deleted value's data, after which the file failed.
        {"before a named value",
         Crlf("REGEDIT4\n[A]\n\"gone\"=-\n\"kept\"=\"x\"\n\"also\"=-\n\"b\"=dword:00000001\n"),
         "[A]\n  kept|1|78 00\n  b|4|01 00 00 00\n"},
        {"a key deletion is a key line like others", Crlf("REGEDIT4\n[-A\\B]\n"),
         "[-A]\n[-A\\B]\n"},
    });
}

TEST(RE4Reader, ReadsVersion5Files) {
    ExpectTrees({
        {"UTF-16 as the system's editor writes it",
         Utf16File("Windows Registry Editor Version "
                   "5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kestrix]\r\n"
                   "\"Name\"=\"Wert\"\r\n@=dword:00000010\r\n"
                   "\"Path\"=hex(2):25,00,41,00,25,00,00,00\r\n\r\n"),
         "[HKEY_CURRENT_USER]\n[HKEY_CURRENT_USER\\Software]\n[HKEY_CURRENT_"
         "USER\\Software\\Kestrix]\n"
         "  Name|1|57 65 72 74 00\n  |4|10 00 00 00\n  Path|2|25 00 41 00 25 00 00 00\n"},
        {"UTF-16 names and strings in the code page",
         Utf16File("Windows Registry Editor Version 5.00\r\n[K\xC3\xA4se\xE2\x82\xAC]\r\n"
                   "\"\xC3\xBC\"=\"\xE6\x97\xA5\xF0\x9F\x98\x80!\"\r\n"),
         "[K\xE4se\x80]\n  \xFC|1|3f 3f 3f 21 00\n"},
        {"8-bit", Crlf("Windows Registry Editor Version 5.00\n\n[A]\n\"x\"=\"\xE4\"\n"),
         "[A]\n  x|1|e4 00\n"},
        {"header in another case", Crlf("windows registry editor VERSION 5.00\n[A]\n"), "[A]\n"},
        {"UTF-16 with the older marker", Utf16File("REGEDIT4\r\n[A]\r\n"), "[A]\n"},
    });
}

struct BrokenCase {
    const char* name;
    std::string file;
    std::uint32_t line;
    RE4Error error;
};

void ExpectFailures(const std::vector<BrokenCase>& cases) {
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Parsed parsed = Parse(c.file);
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(c.line, parsed.line);
        EXPECT_EQ(static_cast<int>(c.error), static_cast<int>(parsed.error));
    }
}

TEST(RE4Reader, StopsOnTheLineOfTheFault) {
    ExpectFailures({
        {"empty file", "", 1, RE4Error::kUnexpectedToken},
        {"another first word", Crlf("HEADER\n[A]\n"), 1, RE4Error::kInvalidWord},
        {"an older header", Crlf("Windows Registry Editor Version 4.00\n[A]\n"), 1,
         RE4Error::kInvalidWord},
        {"hexadecimal first word", Crlf("AB\n[A]\n"), 1, RE4Error::kUnexpectedToken},
        {"only the marker", Crlf("REGEDIT4\n\n"), 3, RE4Error::kUnexpectedToken},
        {"line feeds only: the first key line never ends", "REGEDIT4\n\n[A]\n\"x\"=\"1\"\n", 3,
         RE4Error::kUnterminatedKeyLine},
        {"a blank after the bracket", Crlf("REGEDIT4\n[A]\n[B] \n"), 3,
         RE4Error::kKeyLineNotClosed},
        {"dword of one digit", Crlf("REGEDIT4\n[A]\n\"a\"=dword:00000000\n\"d\"=dword:1\n"), 4,
         RE4Error::kUnexpectedToken},
        {"dword of nine digits", Crlf("REGEDIT4\n[A]\n\"d\"=dword:123456789\n"), 3,
         RE4Error::kInvalidWord},
        {"a comma before the next value", Crlf("REGEDIT4\n[A]\n\"h\"=hex:01,02,\n\"n\"=\"1\"\n"), 4,
         RE4Error::kUnexpectedToken},
        {"hex(10)", Crlf("REGEDIT4\n[A]\n\"h\"=hex(10):01\n"), 3, RE4Error::kUnexpectedToken},
        {"a comment line", Crlf("REGEDIT4\n[A]\n; exported by hand\n"), 3, RE4Error::kInvalidWord},
        {"a value before any key", Crlf("REGEDIT4\n\"a\"=\"1\"\n[A]\n"), 2,
         RE4Error::kUnexpectedToken},
        {"a name without =", Crlf("REGEDIT4\n[A]\n\"a\"\n\"b\"=\"1\"\n"), 4,
         RE4Error::kUnexpectedToken},
        {"a string never closed", Crlf("REGEDIT4\n[A]\n\"a\"=\"open\n\n\n"), 3,
         RE4Error::kUnterminatedString},
        {"end of file after a backslash", Crlf("REGEDIT4\n[A]\n\"a\"=\"x\\"), 3,
         RE4Error::kUnterminatedString},
        {"a key line cut by the end", Crlf("REGEDIT4\n[A]\n[B]"), 3,
         RE4Error::kUnterminatedKeyLine},
        {"a marker twice", Crlf("REGEDIT4\n[A]\nREGEDIT4\n"), 3, RE4Error::kUnexpectedToken},
        {"UTF-16 broken on its third line",
         Utf16File("Windows Registry Editor Version 5.00\r\n[A]\r\n\"x\"=dword:1\r\n"), 3,
         RE4Error::kUnexpectedToken},
    });
}

TEST(RE4Reader, RejectsWhatOutgrowsTheBuffers) {
    const std::string name511(511, 'n');
    const std::string string8191(8191, 's');
    ExpectTrees({
        {"a name of 511 characters", Crlf("REGEDIT4\n[A]\n\"" + name511 + "\"=\"1\"\n"),
         "[A]\n  " + name511 + "|1|31 00\n"},
        {"a key name of 511 characters", Crlf("REGEDIT4\n[A\\" + name511 + "]\n"),
         "[A]\n[A\\" + name511 + "]\n"},
    });
    // A string of 8191 characters still fits the string buffer with its terminator.
    const Parsed longest = Parse(Crlf("REGEDIT4\n[A]\n\"s\"=\"" + string8191 + "\"\n"));
    EXPECT_TRUE(longest.ok);
    // A key line of 8191 characters, its bracket included, fits the word buffer.
    const std::string keyLine =
        "A\\" + std::string(500, 'k') + "\\" + std::string(8190 - 503, '\\');
    // Its backslashes nest keys thousands deep, which the tree takes apart without
    // recursion.
    const std::string deep = Crlf("REGEDIT4\n[" + keyLine + "]\n");
    CRE4Reader reader(kRE4BufferSize, kRE4BufferSize, kRE4BufferSize, nullptr, 0, nullptr, nullptr,
                      nullptr, 0);
    const auto deepest = reader.ParseBytes(deep.data(), deep.size());
    ASSERT_NE(nullptr, deepest);
    EXPECT_EQ(3 + 8190u - 503, deepest->KeyCount());

    ExpectFailures({
        {"a name of 512 characters", Crlf("REGEDIT4\n[A]\n\n\"" + name511 + "n\"=\"1\"\n"), 4,
         RE4Error::kNameTooLong},
        {"a key name of 512 characters", Crlf("REGEDIT4\n\n[A\\" + name511 + "n\\B]\n"), 3,
         RE4Error::kSegmentTooLong},
        {"a string of 8192 characters", Crlf("REGEDIT4\n[A]\n\"s\"=\"" + string8191 + "s\"\n"), 3,
         RE4Error::kStringTooLong},
        {"a key line of 8192 characters", Crlf("REGEDIT4\n[" + keyLine + "\\]\n"), 2,
         RE4Error::kKeyLineTooLong},
        {"a word that fills the word buffer", Crlf("REGEDIT4\n[A]\n\"a\"=" + string8191 + "\n"), 3,
         RE4Error::kWordTooLong},
        {"a UTF-16 string of 8192 units",
         Utf16File("REGEDIT4\r\n[A]\r\n\"s\"=\"" + std::string(8191, 'x') +
                   "\xF0\x9F\x98\x80\"\r\n"),
         3, RE4Error::kStringTooLong},
    });
}

TEST(RE4Reader, ReadsFilesThroughItsBuffer) {
    kestrix::TempTree temp;
    const std::vector<std::pair<const char*, std::string>> files = {
        {"8-bit", Crlf("REGEDIT4\n[A\\B]\n\"b\"=hex:" + std::string(3000, '0') + "\n")},
        {"8-bit, valid", Crlf("REGEDIT4\n[A\\B]\n\"b\"=hex:01,02,\\\n  03\n[C]\n@=\"x\"\n")},
        {"UTF-16", Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[A\\B]\r\n\"s\"=\"" +
                             std::string(300, 'y') + "\"\r\n\"b\"=hex:01,02\r\n")},
    };
    for (const auto& [name, bytes] : files) {
        temp.Write("file.reg", bytes);
        const Parsed expected = Parse(bytes);
        // The smallest buffer refills every few characters and splits UTF-16 units.
        for (std::size_t bufferSize : {std::size_t{1}, std::size_t{73}, kRE4BufferSize}) {
            SCOPED_TRACE(std::string(name) + ", buffer " + std::to_string(bufferSize));
            CRE4Reader reader(bufferSize, kRE4BufferSize, kRE4BufferSize, nullptr, 0, nullptr,
                              nullptr, nullptr, 0);
            const auto tree = reader.ParseFile(temp.Path("file.reg").c_str());
            EXPECT_EQ(expected.ok, tree != nullptr);
            EXPECT_EQ(expected.dump, tree ? DumpTree(*tree) : "");
            EXPECT_EQ(expected.line, reader.Line());
        }
    }

    CRE4Reader reader(kRE4BufferSize, kRE4BufferSize, kRE4BufferSize, nullptr, 0, nullptr, nullptr,
                      nullptr, 0);
    EXPECT_EQ(nullptr, reader.ParseFile(temp.Path("missing.reg").c_str()));
    EXPECT_EQ(1u, reader.Line());
    EXPECT_EQ(static_cast<int>(RE4Error::kCannotOpen), static_cast<int>(reader.Error()));
}

struct ProgressRecord {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> reports;
    static void Record(std::uint32_t position, std::uint32_t size, void* context) {
        static_cast<ProgressRecord*>(context)->reports.emplace_back(position, size);
    }
};

std::vector<std::pair<std::uint32_t, std::uint32_t>> Reports(const std::string& bytes,
                                                             std::uint32_t step) {
    ProgressRecord record;
    CRE4Reader reader(kRE4BufferSize, kRE4BufferSize, kRE4BufferSize, ProgressRecord::Record, step,
                      &record, nullptr, nullptr, 0);
    reader.ParseBytes(bytes.data(), bytes.size());
    return record.reports;
}

TEST(RE4Reader, ReportsProgress) {
    using Reports_ = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
    // Step 0: every line feed and every character given back reports. Each word gives
    // back its first character and the one after it.
    const std::string file = "REGEDIT4\n[A]\r\n\"a\"=hex:41\n";
    EXPECT_EQ((Reports_{{0, 25},
                        {9, 25},
                        {8, 25},
                        {14, 25},
                        {18, 25},
                        {21, 25},
                        {22, 25},
                        {25, 25},
                        {24, 25},
                        {25, 25}}),
              Reports(file, 0));
    // Step 30: advances of at least 30 % of the 25 bytes (8 bytes); a step back, whose
    // difference wraps in unsigned arithmetic; and the end, which always reports (at
    // the last line feed and at the final check).
    EXPECT_EQ((Reports_{{9, 25}, {8, 25}, {18, 25}, {25, 25}, {24, 25}, {25, 25}}),
              Reports(file, 30));
    EXPECT_EQ((Reports_{{25, 25}, {24, 25}, {25, 25}}), Reports(file, 100));
    // A file whose size is 0 reports nothing, and a failed parse makes no final report.
    EXPECT_TRUE(Reports("", 0).empty());
    EXPECT_EQ((Reports_{{0, 9}, {9, 9}, {8, 9}}), Reports("REGEDIT4\n", 0));
    // UTF-16: positions count bytes, the byte-order mark and the header included.
    const std::string wide = Utf16File("Windows Registry Editor Version 5.00\n[A]\r\n");
    EXPECT_EQ((Reports_{{76, 86}, {86, 86}, {86, 86}}), Reports(wide, 0));
}

TEST(RE4Reader, CountsALineFeedGivenBackOnce) {
    // "00" stops at the line feed and gives it back; the next token reads it again.
    const Parsed parsed = Parse("REGEDIT4\r\n[A]\r\n\"a\"=hex:00\n\n\"b\"=dword:1\r\n");
    EXPECT_FALSE(parsed.ok);
    EXPECT_EQ(5u, parsed.line);
}

TEST(RE4Reader, TracesTokensAndProductions) {
    std::vector<std::string> lines;
    const auto record = [](const char* line, void* context) {
        static_cast<std::vector<std::string>*>(context)->push_back(line);
    };
    const std::string file = Crlf("REGEDIT4\n[A]\n\"n\"=hex(2):0a\n@=dword:00000001\n");
    CRE4Reader reader(kRE4BufferSize, kRE4BufferSize, kRE4BufferSize, nullptr, 0, nullptr, record,
                      &lines, kRE4TraceTokens | kRE4TraceProductions);
    ASSERT_NE(nullptr, reader.ParseBytes(file.data(), file.size()));
    const std::vector<std::string> expected = {
        "kFileMarker : REGEDIT4",
        "kKey : A",
        "kQuotedString : n",
        "kEQ",
        "-----> ValueName <------",
        "kBinary : hex",
        "kLeftParen",
        "kValueType : 2",
        "kRightParen",
        "kColon",
        "-----> HexType <------",
        "kByteVal : 0A",
        "kAtSign",
        "-----> BinData <------",
        "-----> ValueDef <------",
        "kEQ",
        "-----> ValueName <------",
        "kDwordType : dword",
        "kColon",
        "kDwordVal : 00000001",
        "kEOF : 00000001",
        "-----> ValueDef <------",
        "-----> ValueDefs <------",
        "-----> KeyDef <------",
        "-----> KeyDefs <------",
        "-----> RE4File <------",
    };
    EXPECT_EQ(expected, lines);

    // Tokens only.
    lines.clear();
    CRE4Reader tokens(kRE4BufferSize, kRE4BufferSize, kRE4BufferSize, nullptr, 0, nullptr, record,
                      &lines, kRE4TraceTokens);
    const std::string small = Crlf("REGEDIT4\n[A]\n");
    tokens.ParseBytes(small.data(), small.size());
    EXPECT_EQ((std::vector<std::string>{"kFileMarker : REGEDIT4", "kKey : A", "kEOF : REGEDIT4"}),
              lines);
}

} // namespace
} // namespace keywright
