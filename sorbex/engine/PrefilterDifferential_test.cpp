// Differential test: random patterns and texts give the same passages with and
// without the prefilters.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/PrefilterPattern.h"
#include "engine/RegexMatcher.h"
#include "engine/TestRandom.h"

namespace sorbex {
namespace {

// Few distinct bytes, so that random patterns match random texts often: both cases,
// the umlaut pair Ä/ä, ß, a digit, a word byte and non-word bytes.
const std::string kAlphabet = "abcABC\xE4\xC4\xDF"
                              "1_ -.";

// Random patterns of the matcher's language, including the odd corners (repetitions
// with nothing before them, escapes, back-references, lists with ranges).
class CPatternGenerator {
public:
    CPatternGenerator(CRandom& random, std::string words)
        : random(random), words(std::move(words)) {}

    std::string Make() {
        groups = 0;
        closedGroups = 0;
        std::string pattern = Alternation(0);
        if (random.OneIn(12)) {
            pattern.insert(0, 1, random.Pick("*+?{"));
        }
        return pattern;
    }

private:
    std::string Alternation(int depth) {
        std::string out = Sequence(depth);
        while (random.OneIn(4)) {
            out += random.OneIn(6) ? '\n' : '|';
            out += Sequence(depth);
        }
        return out;
    }

    std::string Sequence(int depth) {
        std::string out;
        const std::uint32_t pieces = 1 + random.Next(4);
        for (std::uint32_t i = 0; i < pieces; ++i) {
            out += Atom(depth);
            if (random.OneIn(3)) {
                out += Repetition();
            }
        }
        return out;
    }

    std::string Repetition() {
        switch (random.Next(7)) {
        case 0:
            return "*";
        case 1:
            return "+";
        case 2:
            return "?";
        case 3:
            return "{" + std::to_string(random.Next(3)) + "}";
        case 4:
            return "{" + std::to_string(random.Next(2)) + ",}";
        case 5:
            return "{1,3}";
        default:
            return "{,2}";
        }
    }

    std::string Atom(int depth) {
        switch (random.Next(depth < 2 ? 12 : 10)) {
        case 0:
        case 1:
        case 2:
            return Literal();
        case 3:
            return std::string(1, random.Pick(kAlphabet));
        case 4:
            return ".";
        case 5:
            return List();
        case 6:
            return random.Pick("^$") == '^' ? "^" : "$";
        case 7: {
            static const char* const kEscapes[] = {"\\<", "\\>", "\\b", "\\B",    "\\w",
                                                   "\\W", "\\.", "\\a", "\\\xE4", "\\*"};
            return kEscapes[random.Next(10)];
        }
        case 8:
            if (closedGroups > 0 && random.OneIn(2)) {
                return "\\" +
                       std::to_string(1 + random.Next(static_cast<std::uint32_t>(closedGroups)));
            }
            return Literal();
        case 9:
            return Literal() + Literal();
        default: {
            ++groups;
            std::string inner = Alternation(depth + 1);
            ++closedGroups;
            return "(" + inner + ")";
        }
        }
    }

    // A piece of the text the pattern will run on, or of the alphabet, with the
    // pattern's special bytes escaped.
    std::string Literal() {
        std::string raw;
        if (!words.empty() && random.OneIn(2)) {
            const std::uint32_t size = 1 + random.Next(5);
            const std::uint32_t at = random.Next(static_cast<std::uint32_t>(words.size()));
            raw = words.substr(at, size);
        } else {
            raw = std::string(1, random.Pick(kAlphabet));
        }
        std::string out;
        for (char c : raw) {
            if (c == '\n' || c == '\r' || c == '\0') {
                continue;
            }
            if (std::string(".[]()*+?{}|^$\\").find(c) != std::string::npos) {
                out += '\\';
            }
            out += c;
        }
        return out.empty() ? "x" : out;
    }

    std::string List() {
        std::string out = "[";
        if (random.OneIn(3)) {
            out += '^';
        }
        const std::uint32_t items = 1 + random.Next(3);
        for (std::uint32_t i = 0; i < items; ++i) {
            switch (random.Next(4)) {
            case 0:
                out += "a-c";
                break;
            case 1:
                out += "A-Z";
                break;
            case 2:
                out += "\xC0-\xDE";
                break;
            default:
                out += random.Pick(kAlphabet);
                break;
            }
        }
        return out + "]";
    }

    CRandom& random;
    std::string words;
    int groups = 0;
    int closedGroups = 0;
};

std::string RandomText(CRandom& random, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        text += random.OneIn(12) ? '\n' : random.Pick(kAlphabet);
    }
    return text;
}

// Every passage of a term scan, as the expression's evaluation runs it.
std::string Scan(CRegexMatcher& matcher, const std::string& text, int group) {
    std::ostringstream passages;
    std::size_t pos = 0;
    while (pos < text.size()) {
        int start = 0;
        int end = 0;
        if (!matcher.FindMatch(text.data() + pos, text.size() - pos, group, start, end)) {
            break;
        }
        passages << (pos + static_cast<std::size_t>(start)) << '-'
                 << (pos + static_cast<std::size_t>(end)) << ' ';
        if (start < 0 || end <= 0) {
            break;
        }
        pos += static_cast<std::size_t>(end);
    }
    return passages.str();
}

// Bytes outside printable ASCII as %XX, line feeds as ~, for failure messages.
std::string Visible(const std::string& bytes) {
    std::string out;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += '~';
        } else if (byte < 0x20 || byte >= 0x7F || c == '%' || c == '~') {
            const char digits[] = "0123456789abcdef";
            out += '%';
            out += digits[byte >> 4];
            out += digits[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

struct Tally {
    int cases = 0;
    int withMatches = 0;
    int filtered = 0; // cases whose pattern gets prefilters
};

// Compiles `pattern` once with and once without prefilters (compiling is what costs
// here) and compares the passages on each text.
void Compare(const std::string& pattern, const std::vector<std::string>& texts, CRandom& random,
             Tally& tally) {
    const bool matchCase = random.OneIn(2);
    const bool wholeWords = random.OneIn(3);
    const int group = random.OneIn(3) ? static_cast<int>(random.Next(3)) : 0;
    CRegexMatcher plain(false);
    CRegexMatcher filtered(true);
    const unsigned plainError = plain.Compile(pattern, matchCase, wholeWords);
    const unsigned filteredError = filtered.Compile(pattern, matchCase, wholeWords);
    EXPECT_EQ(plainError, filteredError) << Visible(pattern);
    if (plainError != 0 || filteredError != 0) {
        return;
    }
    const bool usable = PreparePrefilterPattern(pattern, !matchCase).usable;
    for (const std::string& text : texts) {
        const std::string expected = Scan(plain, text, group);
        const std::string actual = Scan(filtered, text, group);
        ++tally.cases;
        tally.withMatches += expected.empty() ? 0 : 1;
        tally.filtered += usable ? 1 : 0;
        if (expected != actual) {
            ADD_FAILURE() << "pattern \"" << Visible(pattern) << "\" match case " << matchCase
                          << " whole words " << wholeWords << " group " << group
                          << "\nwithout: " << expected << "\nwith:    " << actual << "\ntext: \""
                          << Visible(text.substr(0, 400)) << "\"";
            return;
        }
    }
}

TEST(PrefilterDifferentialTest, RandomPatternsOnRandomTexts) {
    CRandom random(20261208);
    Tally tally;
    for (int i = 0; i < 600 && !HasFailure(); ++i) {
        std::vector<std::string> texts;
        for (int t = 0; t < 4; ++t) {
            texts.push_back(RandomText(random, 20 + random.Next(200)));
        }
        CPatternGenerator patterns(random, random.OneIn(2) ? texts.front() : std::string());
        Compare(patterns.Make(), texts, random, tally);
    }
    // The generator must keep producing cases that match and get prefilters, or the
    // comparison is empty.
    EXPECT_GT(tally.withMatches, tally.cases / 4);
    EXPECT_GT(tally.filtered, tally.cases / 2);
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

TEST(PrefilterDifferentialTest, RandomPatternsOnRealTexts) {
    const std::string root = SORBEX_ENGINE_REAL_TEXTS;
    const char* const files[] = {"samples/wanderung.txt", "samples/editor-guide.txt",
                                 "samples/settings-loader.c", "sorbex/engine/RegexMatcher.cpp"};
    CRandom random(1208);
    Tally tally;
    for (const char* name : files) {
        SCOPED_TRACE(name);
        const std::string text = ReadFile(root + "/" + name);
        ASSERT_GT(text.size(), 500u);
        for (int i = 0; i < 60 && !HasFailure(); ++i) {
            CPatternGenerator patterns(random, text);
            Compare(patterns.Make(), {text}, random, tally);
        }
    }
    EXPECT_GT(tally.withMatches, tally.cases / 4);
    EXPECT_GT(tally.filtered, tally.cases / 2);
}

} // namespace
} // namespace sorbex
