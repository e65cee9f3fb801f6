// Tests of the alignment that carries passage offsets over to the shown text: its
// windows, shifts and anchors, hand-made text pairs, and random edits.
#include "viewer/PassageMapping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/TestRandom.h"

namespace sorbex {
namespace {

int Similarity(const std::string& a, const std::string& b) {
    return WindowSimilarity(a.data(), a.size(), b.data(), b.size());
}

TEST(WindowSimilarityTest, CountsBytesInRunsOfThreeOrMoreWithinTwentyComparisons) {
    struct Case {
        const char* what;
        std::string a;
        std::string b;
        int expected;
    };
    const std::string twenty = "the quick brown fox ";
    const Case cases[] = {
        {"identical windows", twenty, twenty, 18},
        {"only twenty comparisons", twenty + twenty, twenty + twenty, 18},
        {"first byte differs", "X" + twenty.substr(1), twenty, 17},
        {"difference in the middle", "the quick Xrown fox ", twenty, 8 + 7},
        {"every other byte differs", "aXbXcXdXeXfXgXhXiXjX", "aYbYcYdYeYfYgYhYiYjY", 0},
        {"runs of two count nothing", "abXcdXefXghXijXklXmn", "abYcdYefYghYijYklYmn", 0},
        {"a exhausted", "", twenty, 0},
        {"a only line breaks", "\r\n\n\x15\r", twenty, 0},
        {"b exhausted", twenty, "", 0},
        {"short b", twenty, "the q", 3},
        {"line breaks are passed over in both", "the\r\nquick", "the\nquick", 6},
        {"leading line breaks skipped", "\n\n\nthe quick", "the \x15quick", 7},
        {"CR LF against nothing", "a\r\nb\r\nc\r\nd", "abcd", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, Similarity(c.a, c.b));
    }
}

TEST(FindAnchorTest, GivesTheEndOfTheLastDifferenceBeforeThreeEqualBytes) {
    struct Case {
        const char* what;
        std::string a;
        std::string b;
        std::size_t skipA;
        std::size_t skipB;
    };
    const Case cases[] = {
        {"alike from the start", "abcdef", "abcdef", 0, 0},
        {"first bytes differ", "Xbcdef", "Ybcdef", 1, 1},
        {"difference after two equal bytes", "abXdefgh", "abYdefgh", 3, 3},
        {"two differences close together", "aXcYefg", "aZcWefg", 4, 4},
        {"difference after the anchor is not seen", "abcXef", "abcYef", 0, 0},
        {"line breaks before a difference", "\r\nXbcd", "Ybcd", 3, 1},
        {"line break inside the anchor", "Xb\r\ncd", "Ybcd", 1, 1},
        {"no anchor within twenty bytes", "abababababababababababab", "babababababababababababa",
         20, 20},
        {"window ends before an anchor", "aXbY", "aZbW", 4, 4},
        {"empty window", "", "abc", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::size_t skipA = 99;
        std::size_t skipB = 99;
        FindAnchor(c.a.data(), c.a.size(), c.b.data(), c.b.size(), &skipA, &skipB);
        EXPECT_EQ(c.skipA, skipA);
        EXPECT_EQ(c.skipB, skipB);
    }
}

TEST(FindShiftTest, LinesUpTheTextsWithinFiveHundredBytes) {
    const std::string text = "It was the best of times, it was the worst of times, it was "
                             "the age of wisdom, it was the age of foolishness";
    struct Case {
        const char* what;
        std::string shown;
        std::string plain;
        int expected;
    };
    const Case cases[] = {
        {"identical texts", text, text, 0},
        {"shown text has five bytes more", "#*#*#" + text, text, 5},
        {"plain text has seven bytes more", text, "{field}" + text, -7},
        {"499 bytes more are still found", std::string(499, '#') + text, text, 499},
        {"500 bytes more are not", std::string(500, '#') + text, text, 0},
        {"plain 499 ahead", text, std::string(499, '#') + text, -499},
        {"nothing alike", "0123456789012345678901234567890123", "abcdefghijklmnopqrstuvwxyz", 0},
        {"the most similar shift when none is almost identical", "QRS" + text.substr(0, 12),
         text.substr(0, 12), 3},
        {"empty shown text", "", text, 0},
        {"empty plain text", text, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected,
                  FindShift(c.shown.data(), c.shown.size(), c.plain.data(), c.plain.size()));
    }
}

TEST(FindShiftTest, TakesTheNearestAlmostIdenticalWindow) {
    // The same twenty bytes stand after 3 and after 40 bytes of the shown text.
    const std::string window = "pack my box with fiv";
    const std::string shown = "###" + window + std::string(17, '#') + window;
    EXPECT_EQ(3, FindShift(shown.data(), shown.size(), window.data(), window.size()));
}

// One pair of texts and the passages to carry over, each given by its text: it stands
// at the n-th place in the plain text and must land on its n-th place in the shown
// text.
struct MappingCase {
    const char* what;
    std::string plain;
    std::string shown;
    std::vector<std::string> passages;
};

// The starts of `passages` in `text`, each found after the one before.
std::vector<std::int32_t> StartsIn(const std::string& text,
                                   const std::vector<std::string>& passages) {
    std::vector<std::int32_t> starts;
    std::size_t from = 0;
    for (const std::string& passage : passages) {
        const std::size_t at = text.find(passage, from);
        EXPECT_NE(std::string::npos, at) << passage;
        starts.push_back(static_cast<std::int32_t>(at));
        from = at + 1;
    }
    return starts;
}

TEST(MapPassagesTest, EveryPassageLandsOnItsOwnBytes) {
    const MappingCase cases[] = {
        {"identical texts",
         "alpha beta gamma\ndelta epsilon",
         "alpha beta gamma\ndelta epsilon",
         {"alpha", "beta", "delta", "epsilon"}},
        {"CR LF added",
         "one line\ntwo lines\nthree lines\nfour",
         "one line\r\ntwo lines\r\nthree "
         "lines\r\nfour",
         {"two", "three", "four"}},
        {"CR for LF, as the control keeps paragraphs",
         "first paragraph\nsecond paragraph\n\nthird",
         "first paragraph\rsecond paragraph\r\rthird",
         {"second", "third"}},
        {"text inserted between passages",
         "The file viewer shows each passage where it was found in the document.",
         "The file viewer shows (see figure 3 on the next page) each passage where it was found "
         "in the document.",
         {"viewer", "passage", "found"}},
        {"text removed between passages",
         "Read the {HYPERLINK \"http://example.com/guide\"}manual before using the tool.",
         "Read the manual before using the tool.",
         {"Read", "manual", "tool"}},
        {"bullet and numbering only in the shown text",
         "Items:\nfirst item here\nsecond item there\n",
         "Items:\r\n\x95\tfirst item here\r\n\x95\tsecond item there\r\n",
         {"first", "second"}},
        {"passage in a table cell",
         "Name\tValue\t\nalpha\tthe secret value\t\nbeta\tanother value\t\n",
         "Name\x07Value\x07\r\nalpha\x07the secret value\x07\r\nbeta\x07"
         "another value\x07\r\n",
         {"secret", "another"}},
        {"passage at the very start and the very end",
         "start of the text and its end",
         "start of the text\r\nand its end",
         {"start", "end"}},
        {"substitution just before a passage",
         "a plain ?quoted word in a line",
         "a plain \x93quoted word in a line",
         {"quoted"}},
        {"insertion just before a passage",
         "before the passage and after",
         "before the [1]passage and after",
         {"passage"}},
        {"removal just before a passage",
         "before the {X}passage and after",
         "before the passage and after",
         {"passage"}},
        {"line breaks inside a passage are passed over",
         "a long\npassage over lines",
         "a long\r\npassage over lines",
         {"long", "lines"}},
        {"latin-1 bytes",
         "Gr\xfc\xdf"
         "e aus M\xfcnchen",
         "Gr\xfc\xdf"
         "e aus\r\nM\xfcnchen",
         {"M\xfcnchen"}},
    };
    for (const MappingCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::int32_t> starts = StartsIn(c.plain, c.passages);
        const std::vector<std::int32_t> expected = StartsIn(c.shown, c.passages);
        std::vector<std::int32_t> positions(starts.size(), -1);
        EXPECT_TRUE(MapPassages(c.shown, c.plain, starts.data(), starts.size(), positions.data()));
        EXPECT_EQ(expected, positions);
    }
}

// Former fault: the first shift was sought at the very start, before the texts had
// differed at all, and a later likeness could win it: "Read" below went 38 bytes
// before the text began, with the offset of the words after the field instruction.
TEST(MapPassagesTest, APassageBeforeTheFirstDifferenceKeepsItsPlace) {
    const std::string plain = "Read {HYPERLINK \"http://example.com/guide\"}manual first";
    const std::string shown = "Read manual first";
    const std::int32_t starts[] = {0, 43};
    std::int32_t positions[2] = {};
    EXPECT_TRUE(MapPassages(shown, plain, starts, 2, positions));
    EXPECT_EQ(0, positions[0]);
    EXPECT_EQ(5, positions[1]);
}

TEST(MapPassagesTest, PassagesStartingAtTheSameByteLandTogether) {
    // Two results of one file can begin at one offset (an and of two terms that both
    // start there); each is placed on that byte, not the second one byte further on.
    const std::string plain = "one\ntwo three";
    const std::string shown = "one\r\ntwo three";
    const std::int32_t starts[] = {4, 4, 8};
    std::int32_t positions[3] = {};
    EXPECT_TRUE(MapPassages(shown, plain, starts, 3, positions));
    EXPECT_EQ(5, positions[0]);
    EXPECT_EQ(5, positions[1]);
    EXPECT_EQ(9, positions[2]);
}

TEST(MapPassagesTest, TextsThatCannotBeAlignedLeaveTheUnreachedPassagesAlone) {
    struct Case {
        const char* what;
        std::string plain;
        std::string shown;
        std::vector<std::int32_t> starts;
        bool mapped;
    };
    const std::string plain = "The plain text that the search saw, with a passage near its end.";
    const Case cases[] = {
        {"empty shown text", plain, "", {4, 50}, false},
        {"empty plain text", "", "something shown", {0}, false},
        {"shown text unrelated and short", plain, "0123456789", {4, 58}, false},
        {"passage beyond the plain text", "short", "short", {2, 40}, false},
        {"no passages at all", plain, "", {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::int32_t> positions(c.starts.size(), -7);
        EXPECT_EQ(c.mapped, MapPassages(c.shown, c.plain, c.starts.data(), c.starts.size(),
                                        positions.data()));
        // The last passage is never reached; what was not reached keeps its value.
        if (!c.starts.empty()) {
            EXPECT_EQ(-7, positions.back());
        }
    }
}

// Random texts with random edits around passages that keep their own bytes.
//
// The edits are made of bytes that the texts around them never use, as the
// differences between a searched text and a shown one are (field instructions, list
// bullets, cell marks, line ends): an edit of the same letters as the text beside it
// is ambiguous, and any alignment may take its bytes for the passage's. Removed runs
// are kept short of a window, since a longer run in place of a different one leaves
// the alignment no window to recognise.
class EditedPair {
public:
    explicit EditedPair(CRandom& random) : random_(random) {}

    std::string plain;
    std::string shown;
    std::vector<std::int32_t> starts;
    std::vector<std::int32_t> expected;

    void Build(std::size_t segments) {
        const int lineEnds = static_cast<int>(random_.Next(3)); // LF kept, CR LF or CR
        for (std::size_t i = 0; i < segments; ++i) {
            if (i > 0 || random_.OneIn(3))
                Edit();
            Common(lineEnds);
        }
    }

private:
    // Text in both, with line breaks as the shown text writes them, and 0 to 2 passages.
    void Common(int lineEnds) {
        const std::size_t length = 24 + random_.Next(280);
        std::string text = random_.Text("abcdefghijklmnopqrstuvwxyz   ,.\n", length);
        std::vector<std::size_t> passageAt;
        for (std::size_t p = random_.Next(3); p > 0; --p) {
            std::size_t at = random_.Next(length);
            while (at < length && text[at] == '\n')
                ++at;
            if (at < length && (passageAt.empty() || at > passageAt.back()))
                passageAt.push_back(at);
        }
        std::size_t next = 0;
        for (std::size_t k = 0; k < length; ++k) {
            if (next < passageAt.size() && passageAt[next] == k) {
                starts.push_back(static_cast<std::int32_t>(plain.size()));
                expected.push_back(static_cast<std::int32_t>(shown.size()));
                ++next;
            }
            plain.push_back(text[k]);
            if (text[k] != '\n' || lineEnds == 0)
                shown.push_back(text[k]);
            else
                shown.append(lineEnds == 1 ? "\r\n" : "\r");
        }
    }

    std::string EditText(std::size_t maxLength) {
        return random_.Text("0123456789#$%&*+<>=@[]{}ABCDEFGHIJKLMNOPQRSTUVWXYZ\x95\x07",
                            1 + random_.Next(maxLength));
    }

    void Edit() {
        switch (random_.Next(5)) {
        case 0: // only in the shown text
            shown += EditText(100);
            break;
        case 1: // only in the plain text
            plain += EditText(100);
            break;
        case 2: // one replaced by another
            plain += EditText(12);
            shown += EditText(60);
            break;
        case 3: // a line break more or less
            if (random_.OneIn(2))
                shown += "\r\n";
            else
                plain += "\n";
            break;
        default: // a byte for a byte
            plain += '?';
            shown += '\x93';
            break;
        }
    }

    CRandom& random_;
};

TEST(MapPassagesTest, DifferentialRandomEditsKeepEveryPassageOnItsBytes) {
    CRandom random(20261208);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        EditedPair pair(random);
        pair.Build(1 + random.Next(40));
        std::vector<std::int32_t> positions(pair.starts.size(), -1);
        ASSERT_TRUE(MapPassages(pair.shown, pair.plain, pair.starts.data(), pair.starts.size(),
                                positions.data()));
        ASSERT_EQ(pair.expected, positions);
    }
}

} // namespace
} // namespace sorbex
