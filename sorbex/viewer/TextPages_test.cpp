// Tests of our own page layout: where lines break, how pages fill, and that every
// character of the text is on exactly one line, in order.
#include "viewer/TextPages.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace sorbex {
namespace {

// Every character is 10 wide, as on a typewriter.
long Fixed(const wchar_t*, std::size_t count) {
    return static_cast<long>(count) * 10;
}

// The lines of all pages as texts, separated by "|".
std::wstring Lines(const std::wstring& text, const std::vector<CTextPage>& pages) {
    std::wstring out;
    for (const CTextPage& page : pages)
        for (const CTextLine& line : page.lines) {
            if (!out.empty())
                out += L'|';
            out += text.substr(static_cast<std::size_t>(line.start),
                               static_cast<std::size_t>(line.length));
        }
    return out;
}

TEST(TextPagesTest, LinesBreakAtParagraphEndsAndSpaces) {
    const struct {
        const char* what;
        std::wstring text;
        long width;
        std::wstring lines;
    } cases[] = {
        {"empty", L"", 100, L""},
        {"fits", L"one two", 100, L"one two"},
        {"CR, LF and CR LF end paragraphs", L"a\rb\nc\r\nd", 100, L"a|b|c|d"},
        {"an empty paragraph is an empty line", L"a\r\rb", 100, L"a||b"},
        {"a break at the end adds no line", L"a\r", 100, L"a"},
        {"breaks after the space", L"one two three", 80, L"one two |three"},
        {"spaces stay with the line before", L"one   two", 40, L"one   |two"},
        {"a long word breaks where it must", L"abcdefghij", 40, L"abcd|efgh|ij"},
        {"at least a character a line", L"abc", 5, L"a|b|c"},
        {"a leading space does not make an empty line", L" abcdef", 30, L" ab|cde|f"},
        {"tabs count as characters", L"12\tab cd", 60, L"12\tab |cd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.lines, Lines(c.text, LayOutTextPages(c.text, c.width, 50, Fixed)));
    }
}

TEST(TextPagesTest, PagesHoldAsManyLinesAsFit) {
    const std::wstring text = L"1\r2\r3\r4\r5";
    const struct {
        long linesPerPage;
        std::vector<long> starts;
    } cases[] = {
        {1, {0, 2, 4, 6, 8}},
        {2, {0, 4, 8}},
        {5, {0}},
        {9, {0}},
        {0, {0, 2, 4, 6, 8}}, // no room still gives a line a page
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.linesPerPage);
        const std::vector<CTextPage> pages = LayOutTextPages(text, 100, c.linesPerPage, Fixed);
        EXPECT_EQ(c.starts, PageStartsOf(pages));
    }
    const std::vector<CTextPage> empty = LayOutTextPages(L"", 100, 3, Fixed);
    ASSERT_EQ(1u, empty.size());
    EXPECT_EQ(std::vector<long>{0}, PageStartsOf(empty));
}

// Random texts with proportional widths: the lines cover the text in order, each
// character once, line breaks excepted, and no line is wider than the page unless it
// is a single character.
TEST(TextPagesTest, LinesCoverTheTextInOrder) {
    std::mt19937 random(15);
    const wchar_t alphabet[] = L"aW i\r\n  mm.";
    const auto proportional = [](const wchar_t* text, std::size_t count) {
        long width = 0;
        for (std::size_t i = 0; i < count; ++i)
            width += text[i] == L'W' || text[i] == L'm' ? 15 : 6;
        return width;
    };
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        std::wstring text;
        const std::size_t length = random() % 120;
        for (std::size_t i = 0; i < length; ++i)
            text += alphabet[random() % (sizeof alphabet / sizeof alphabet[0] - 1)];
        const long width = 10 + static_cast<long>(random() % 80);
        const std::vector<CTextPage> pages =
            LayOutTextPages(text, width, 1 + static_cast<long>(random() % 4), proportional);
        long expected = 0;
        for (const CTextPage& page : pages) {
            ASSERT_FALSE(page.lines.empty());
            EXPECT_EQ(page.start, page.lines.front().start);
            for (const CTextLine& line : page.lines) {
                while (expected < line.start) {
                    const wchar_t skipped = text[static_cast<std::size_t>(expected)];
                    ASSERT_TRUE(skipped == L'\r' || skipped == L'\n') << expected;
                    ++expected;
                }
                ASSERT_EQ(expected, line.start);
                const wchar_t* shown = text.data() + line.start;
                const auto count = static_cast<std::size_t>(line.length);
                for (std::size_t i = 0; i < count; ++i)
                    ASSERT_FALSE(shown[i] == L'\r' || shown[i] == L'\n');
                // Spaces kept at the end of a line may reach past its edge.
                std::size_t drawn = count;
                while (drawn > 1 && shown[drawn - 1] == L' ')
                    --drawn;
                if (drawn > 1) {
                    EXPECT_LE(proportional(shown, drawn), width);
                }
                expected = line.start + line.length;
            }
        }
        while (expected < static_cast<long>(text.size())) {
            const wchar_t rest = text[static_cast<std::size_t>(expected)];
            ASSERT_TRUE(rest == L'\r' || rest == L'\n');
            ++expected;
        }
    }
}

} // namespace
} // namespace sorbex
