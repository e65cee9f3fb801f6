// Tests of the insert menus of the definition pages: their items for each method, and
// what choosing one does to the field.
#include "app/InsertMenus.h"

#include <gtest/gtest.h>

namespace sorbex {
namespace {

// Built in a function: GCC takes a brace-built string member of a case table for
// uninitialized at high optimisation.
CEditState Field(const std::string& text, std::size_t start, std::size_t end) {
    CEditState edit;
    edit.text = text;
    edit.selStart = start;
    edit.selEnd = end;
    return edit;
}

std::vector<std::string> Captions(const std::vector<CInsertMenuEntry>& menu) {
    std::vector<std::string> captions;
    for (const CInsertMenuEntry& entry : menu)
        captions.push_back(entry.separator() ? "-" : entry.item->caption);
    return captions;
}

TEST(InsertMenusTest, PhoneticMethodOffersOnlyWhatItUnderstands) {
    EXPECT_EQ((std::vector<std::string>{"&And", "&Separated by max. n Characters", "&Not",
                                        "&Subexpression"}),
              Captions(InsertMenuLines(CInsertMenuKind::Operator, true)));
    EXPECT_EQ((std::vector<std::string>{"&&", "!", "(", ")"}),
              Captions(InsertMenuLines(CInsertMenuKind::Character, true)));

    const std::vector<CInsertMenuEntry> standard =
        InsertMenuLines(CInsertMenuKind::Operator, false);
    int items = 0;
    for (std::size_t i = 0; i < standard.size(); ++i) {
        if (!standard[i].separator()) {
            ++items;
            continue;
        }
        ASSERT_GT(i, 0u);
        ASSERT_LT(i + 1, standard.size()) << "no separator at either end";
        EXPECT_FALSE(standard[i - 1].separator()) << "never two in a row";
    }
    EXPECT_EQ(19, items);
    const std::vector<CInsertMenuEntry> characters =
        InsertMenuLines(CInsertMenuKind::Character, false);
    EXPECT_EQ(20u, characters.size()) << "3 classes, a separator and 16 characters";
    EXPECT_EQ(7u, InsertMenuLines(CInsertMenuKind::FileName, true).size());
}

TEST(InsertMenusTest, EveryItemIsFoundAgainByItsIndex) {
    for (CInsertMenuKind kind :
         {CInsertMenuKind::Operator, CInsertMenuKind::Character, CInsertMenuKind::FileName}) {
        for (const CInsertMenuEntry& entry : InsertMenuLines(kind, false)) {
            const CInsertItem* expected = entry.separator() ? nullptr : entry.item;
            EXPECT_EQ(expected, InsertMenuChoice(kind, entry.index));
        }
        EXPECT_EQ(nullptr, InsertMenuChoice(kind, InsertMenuTableSize(kind)));
    }
}

const CInsertItem& ItemCaptioned(CInsertMenuKind kind, const std::string& caption) {
    for (const CInsertMenuEntry& entry : InsertMenuLines(kind, false))
        if (!entry.separator() && caption == entry.item->caption)
            return *entry.item;
    ADD_FAILURE() << "no item " << caption;
    static const CInsertItem none = {"", "", 0, false};
    return none;
}

TEST(InsertMenusTest, InsertedTextsAndCarets) {
    struct Case {
        CInsertMenuKind kind;
        const char* caption;
        CEditState before;
        std::string text;
        std::size_t caret;
    };
    const auto op = CInsertMenuKind::Operator;
    const auto ch = CInsertMenuKind::Character;
    const auto file = CInsertMenuKind::FileName;
    const Case cases[] = {
        {op, "&Not", Field("x abc y", 2, 5), "x ! y", 3},
        {op, "Character &not in List", Field("", 0, 0), "[^]", 2},
        {op, "&Subexpression", Field("ab", 2, 2), "ab()", 3},
        {op, "Min. n, Max m Matches", Field("a", 1, 1), "a{,}", 2},
        {op, "&Word Start", Field("word", 0, 0), "\\<word", 2},
        {ch, "&Character", Field("", 0, 0), "[a-zA-Z\xE4\xF6\xFC\xC4\xD6\xDC\xDF]", 15},
        {ch, "&Alpha Numeric", Field("", 0, 0),
         "[a-zA-Z\xE4\xF6\xFC\xC4\xD6\xDC\xDF"
         "0-9]",
         18},
        {ch, "&&", Field("ab", 1, 1), "a\\&b", 3},
        {ch, "\\", Field("", 0, 0), "\\\\", 2},
        {file, "&Next File Name", Field("*.txt", 5, 5), "*.txt | ", 8},
        {file, "HTML File", Field("*.doc", 0, 5), "*.htm | *.html", 14},
        // A selection made from right to left counts the same.
        {op, "&Or", Field("abc", 3, 1), "a|", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        const CInsertItem& item = ItemCaptioned(c.kind, c.caption);
        const CEditState after = InsertAtSelection(c.before, item.text, item.caret);
        EXPECT_EQ(c.text, after.text);
        EXPECT_EQ(c.caret, after.selStart);
        EXPECT_EQ(c.caret, after.selEnd);
    }
    // The caret offsets stay within their texts.
    for (CInsertMenuKind kind : {op, ch, file}) {
        for (const CInsertMenuEntry& e : InsertMenuLines(kind, false)) {
            if (!e.separator()) {
                EXPECT_LE(e.item->caret, static_cast<int>(std::string(e.item->text).size()))
                    << e.item->caption;
            }
        }
    }
}

} // namespace
} // namespace sorbex
