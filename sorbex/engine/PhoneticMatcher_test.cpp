// Tests of the phonetic matcher: the code of a word, and finding it inside words and whole.
#include "engine/PhoneticMatcher.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/ExprError.h"
#include "engine/PatternRegistry.h"
#include "engine/SearchFlags.h"
#include "strings/StringIds.h"

namespace sorbex {
namespace {

std::string CodeOf(const std::string& text) {
    const PhoneticCode code = EncodePhonetic(text);
    return std::string(code.data(), PhoneticCodeLength(code));
}

struct Options {
    bool wholeWords = false;
    bool matchCase = false;
    std::size_t length = std::string::npos; // the length handed over; the text's by default
};

// "start-end" of the first match, "none" when nothing is found, "error N" when the
// operand does not compile.
std::string Find(const std::string& operand, const std::string& text, Options options = {}) {
    CPhoneticMatcher matcher;
    if (unsigned error = matcher.Compile(operand, options.matchCase, options.wholeWords)) {
        return "error " + std::to_string(error);
    }
    const std::size_t length = options.length == std::string::npos ? text.size() : options.length;
    int start = 0;
    int end = 0;
    if (!matcher.FindMatch(text.c_str(), length, 0, start, end)) {
        return "none";
    }
    return std::to_string(start) + "-" + std::to_string(end);
}

struct Case {
    const char* operand;
    std::string text;
    const char* expected;
};

void RunCases(const Case* begin, const Case* end, Options options = {}) {
    for (const Case* c = begin; c != end; ++c) {
        SCOPED_TRACE(std::string(c->operand) + " on \"" + c->text + "\"");
        EXPECT_EQ(c->expected, Find(c->operand, c->text, options));
    }
}

TEST(PhoneticCodeTest, EncodesWords) {
    const struct {
        std::string text;
        const char* code;
    } cases[] = {
        {"Meier", "M6"},
        {"Mayer", "M6"},
        {"maier", "M6"},
        {"Tat", "T"}, // a vowel does not separate two letters of one class
        {"M\xFCller", "M46"},
        {"Mueller", "M46"},
        {"Stra\xDF"
         "e",
         "S362"},
        {"\xDF", "S"},
        {"\xC4rger", "A626"},
        {"1", "E52"},
        {"0", "N4"},
        {"7", "S15"},
        {"42", "V62"},
        {"\xC9t\xE9", "E3"},
        {"\xD3\xFA", "O"},
        {"Hans Meier", "H5256"}, // one code over both words
        {"-- Hans, (Meier)!", "H5256"},
        {"\xC2\xCA\xD4\xDB", ""}, // circumflexed capitals have no letters
        {"?!.", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.code, CodeOf(c.text));
    }
}

TEST(PhoneticCodeTest, IsZeroPaddedAndStopsAtTenCharacters) {
    EXPECT_EQ((PhoneticCode{'M', '6', 0, 0, 0, 0, 0, 0, 0, 0}), EncodePhonetic("Meier"));

    const PhoneticCode full = EncodePhonetic("BDLMRBDLMRBDLMR");
    EXPECT_EQ(kPhoneticCodeSize, PhoneticCodeLength(full));
    EXPECT_EQ("B345613456", std::string(full.data(), full.size()));
    // The tenth character may come from the middle of a byte's expansion.
    EXPECT_EQ("B345613465", CodeOf("BDLMRBDLR1"));
}

TEST(PhoneticMatcherTest, RejectsOperandsWithoutLetters) {
    for (const char* operand : {"", " ", "...", "-!?", "\xC2\xCA\xD4\xDB"}) {
        SCOPED_TRACE(operand);
        EXPECT_EQ("error " + std::to_string(IDS_EXPR_PHONETIC_EMPTY), Find(operand, "any text"));
    }
}

TEST(PhoneticMatcherTest, FindsInsideWords) {
    const Case cases[] = {
        {"Meier", "Meier", "0-5"},
        {"Meier", "Herr Mayer", "5-10"},
        {"Maier", "Meier", "0-5"},
        {"MEIER", "meier", "0-5"},
        {"Meier", "Hammer", "2-6"},   // from the first m to the byte that completes the code
        {"Meier", "Meierhof", "0-5"}, // a longer word's beginning
        {"Meier", "Me ier", "none"},  // a space ends the candidate
        {"Meier", "Me\nier", "none"},
        {"Meier", "Me\xC2ier", "0-6"}, // a byte without letters does not
        {"M\xFCller", "Herr Mueller", "5-12"},
        {"Mueller", "M\xFCller", "0-6"},
        {"1", "zwei eins", "5-9"},
        {"eins", "1", "0-1"},
        {"Fuenf", "5", "0-1"}, // the whole code within one byte's expansion
        {"5", "F\xFCnf", "0-4"},
        {"a", "xyz ba", "5-6"},
        {"A", "\xC4rger", "0-1"},
        {"e", "3", "none"}, // only the first letter of an expansion starts a candidate
        {"Hans Meier", "Hans Meier", "none"},
        {"Hans Meier", "Hans\nMeier", "none"},
        {"Hans Meier", "Hans-Meier", "0-10"},
        {"Hans Meier", "HansMeier", "0-9"},
        {"Br", "bdbr", "2-4"},
        // The second a starts a match although the first candidate fails only after it.
        {"Abst", "absabst", "3-7"},
        {"BDLMRBDLMRBDL", "bdlmrbdlmrxyz", "0-10"}, // ten characters complete the code
        {"Meier", "", "none"},
    };
    RunCases(std::begin(cases), std::end(cases));
}

TEST(PhoneticMatcherTest, FindsWholeWords) {
    const Case cases[] = {
        {"Meier", "Herr Mayer kam", "5-10"},
        {"Meier", "Hammer", "none"},
        {"Meier", "Meierhof", "none"},
        {"Meier", "Meierhof, Meyer", "10-15"},
        {"Meier", "(Maier),", "1-6"},
        {"Meier", "M\xC9ier", "0-5"},
        {"Meier", "Me\xC2ier", "none"}, // a byte without letters ends a word
        {"1", "zwei eins", "5-9"},
        {"Hans Meier", "HansMeier", "0-9"},
        {"Hans Meier", "Hans Meier", "none"},
        {"Hans Meier", "Hans-Meier", "none"},
        {"BDLMRBDLMRBDL", "bdlmrbdlmrxyz", "0-13"}, // only ten characters are compared
        {"Meier", "", "none"},
    };
    RunCases(std::begin(cases), std::end(cases), Options{true, false});
}

TEST(PhoneticMatcherTest, IgnoresMatchCase) {
    EXPECT_EQ("0-5", Find("Meier", "MAYER", Options{false, true}));
    EXPECT_EQ("0-5", Find("Meier", "MAYER", Options{true, true}));
}

TEST(PhoneticMatcherTest, StopsAtTheZeroByteAndAtTheLength) {
    for (const bool wholeWords : {false, true}) {
        SCOPED_TRACE(wholeWords ? "whole words" : "inside words");
        EXPECT_EQ("0-6", Find("Hamer", "Hammer", Options{wholeWords}));
        EXPECT_EQ("none", Find("Hamer", std::string("Ham\0mer", 7), Options{wholeWords}));
        EXPECT_EQ("none", Find("Hamer", "Hammer", Options{wholeWords, false, 5}));
        EXPECT_EQ("none", Find("Hamer", "Hammer", Options{wholeWords, false, 0}));
    }
}

TEST(PhoneticMatcherTest, RegistryCompilesThePhoneticMethod) {
    CPatternRegistry registry;
    try {
        registry.Add("--", kSearchMethodPhonetic);
        ADD_FAILURE() << "an operand without letters compiled";
    } catch (const CExprError& error) {
        EXPECT_EQ(IDS_EXPR_PHONETIC_EMPTY, error.Id());
    }
    EXPECT_EQ(0u, registry.size());

    const int phonetic = registry.Add("Meier", kSearchMethodPhonetic | kSearchMatchCase);
    const int standard = registry.Add("Meier", kSearchMethodStandard);
    const std::string text = "MAYER";
    int start = 0;
    int end = 0;
    ASSERT_TRUE(registry.Activate(phonetic));
    EXPECT_TRUE(registry.FindMatch(text.c_str(), text.size(), 0, start, end));
    ASSERT_TRUE(registry.Activate(standard));
    EXPECT_FALSE(registry.FindMatch(text.c_str(), text.size(), 0, start, end));
    registry.Deactivate(standard);
    EXPECT_TRUE(registry.FindMatch(text.c_str(), text.size(), 0, start, end));
    registry.Deactivate(phonetic);
    EXPECT_FALSE(registry.FindMatch(text.c_str(), text.size(), 0, start, end));
}

} // namespace
} // namespace sorbex
