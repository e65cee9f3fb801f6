// The preview's rows by the type table, its "(Default)" rules, the growing data buffer
// and the order of rows and keys.
#include "preview/PreviewRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace keywright {
namespace {

std::string Show(const std::optional<PreviewRow>& row) {
    return row ? row->name + "|" + std::to_string(row->image) + "|" + row->data : "no row";
}

std::string Show(const std::vector<PreviewRow>& rows) {
    std::string out;
    for (const PreviewRow& row : rows)
        out += row.name + "|" + std::to_string(row.image) + "|" + row.data + "\n";
    return out;
}

TEST(PreviewRows, FormatsEachTypeByTheTable) {
    struct Case {
        const char* name;
        std::uint32_t type;
        std::string data;
        const char* row;
    } cases[] = {
        {"s", 1, std::string("text\0", 5), "s|3|\"text\""},
        {"cut", 1, std::string("ab\0cd\0", 6), "cut|3|\"ab\""},
        // Former fault: a string without a zero byte was read past its data.
        {"unterminated", 1, "ab", "unterminated|3|\"ab\""},
        {"", 1, std::string("\0", 1), "(Default)|3|\"\""},
        {"d", 4, std::string("\x2a\0\0\0", 4), "d|4|0x0000002a (42)"},
        {"all bits", 4, "\xff\xff\xff\xff", "all bits|4|0xffffffff (-1)"},
        {"high bit", 4, std::string("\0\0\0\x80", 4), "high bit|4|0x80000000 (-2147483648)"},
        // Former fault: a double word of fewer than four bytes (hex(4):01) was read past
        // its data; the missing bytes count as zero.
        {"short", 4, "\x01", "short|4|0x00000001 (1)"},
        {"long", 4, "\x01\x02\x03\x04\x05", "long|4|0x04030201 (67305985)"},
        {"bytes", 3, std::string("\x01\xab\x00\xff", 4), "bytes|4|01 AB 00 FF"},
        {"empty", 3, "", "empty|4|"},
        {"expand", 2, std::string("%\0", 2), "expand|4|25 00"},
        {"link", 6, "\x10", "link|4|10"},
        {"multi", 7, std::string("a\0\0", 3), "multi|4|61 00 00"},
        {"resources", 8, "\x7f", "resources|4|7F"},
        {"none", 0, "x", "no row"},
        {"big-endian", 5, "x", "no row"},
        {"type 9", 9, "x", "no row"},
        {"quad word", 11, "12345678", "no row"},
        {"type 15", 15, "x", "no row"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.row, Show(RowForValue(c.name, c.type,
                                          reinterpret_cast<const std::uint8_t*>(c.data.data()),
                                          static_cast<std::uint32_t>(c.data.size()))));
    }
}

TEST(PreviewRows, ListsAKeysValuesSortedWithTheDefaultRow) {
    CRE4Tree tree;
    CRE4Key* onlySubkeys = tree.CreateKey("A");
    tree.CreateKey("A\\Sub");
    CRE4Key* values = tree.CreateKey("B");
    tree.AddValue(values, "zeta", 1, "z", 2);
    tree.AddValue(values, "Alpha", 4, "\x01\0\0\0", 4);
    tree.AddValue(values, "alpha", 1, "2", 2);
    tree.AddValue(values, "(", 0, "", 0); // no row
    tree.AddValue(values, "beta", 3, "", 0);
    CRE4Key* withDefault = tree.CreateKey("C");
    tree.AddValue(withDefault, "x", 1, "", 1);
    tree.AddValue(withDefault, "", 1, "d", 2);
    CRE4Key* defaultWithoutRow = tree.CreateKey("D");
    tree.AddValue(defaultWithoutRow, "", 0, "", 0);
    tree.AddValue(defaultWithoutRow, "y", 3, "\x05", 1);

    ValueListReader reader;
    struct Case {
        const char* name;
        const CRE4Key* key;
        const char* rows;
    } cases[] = {
        {"a key with only subkeys", onlySubkeys, "(Default)|3|(value not set)\n"},
        {"rows by name, case folded", values,
         "(Default)|3|(value not set)\nAlpha|4|0x00000001 "
         "(1)\nalpha|3|\"2\"\nbeta|4|\nzeta|3|\"z\"\n"},
        {"a default value of its own", withDefault, "(Default)|3|\"d\"\nx|3|\"\"\n"},
        {"a default value of type 0 hides both rows", defaultWithoutRow, "y|4|05\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.rows, Show(reader.Rows(tree, c.key)));
    }
}

TEST(PreviewRows, GrowsTheDataBufferForLargeValues) {
    CRE4Tree tree;
    CRE4Key* key = tree.CreateKey("K");
    const std::string big(1500, '\x11');
    tree.AddValue(key, "big", 3, big.data(), 1500);
    tree.AddValue(key, "small", 3, "\x22", 1);
    ValueListReader reader;
    EXPECT_EQ(512u, reader.BufferSize());
    const std::vector<PreviewRow> rows = reader.Rows(tree, key);
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ("big", rows[1].name);
    EXPECT_EQ(1500u * 3 - 1, rows[1].data.size()); // every byte, shown whole
    EXPECT_EQ("22", rows[2].data);
    // Doubled twice, and kept for the next key.
    EXPECT_EQ(2048u, reader.BufferSize());
    reader.Rows(tree, key);
    EXPECT_EQ(2048u, reader.BufferSize());
}

TEST(PreviewRows, SortsChildrenAndMarksThoseWithSubkeys) {
    CRE4Tree tree;
    for (const char* path : {"R\\zebra\\leaf", "R\\Apple", "R\\banana\\x\\y", "R\\apple2",
                             "R\\_under", "R\\10", "R\\9"})
        tree.CreateKey(path);
    const CRE4Key* root = nullptr;
    ASSERT_EQ(kRE4Success, tree.OpenKey(tree.Root(), "R", &root));
    std::string shown;
    for (const PreviewChild& child : ChildrenOf(tree, root))
        shown += child.name + (child.hasChildren ? "+" : "") + " ";
    // Letters fold to upper case, so '_' (after 'Z') follows them.
    EXPECT_EQ("10 9 Apple apple2 banana+ zebra+ _under ", shown);
}

TEST(PreviewRows, ComparesNames) {
    struct Case {
        const char* a;
        const char* b;
        bool less;
    } cases[] = {
        {"a", "B", true},    {"B", "a", false},        {"abc", "ABD", true},
        {"ab", "abc", true}, {"(Default)", "0", true}, {"A", "a", true},
        {"a", "A", false},   {"a", "a", false},        {"\xe4", "z", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " < " + c.b);
        EXPECT_EQ(c.less, PreviewNameLess(c.a, c.b));
    }
}

TEST(PreviewRows, SaysWhereAFileIsBroken) {
    EXPECT_EQ("Invalid File Format : Line 17", InvalidFileFormatText(17));
    EXPECT_EQ("Invalid File Format : Line 4294967295", InvalidFileFormatText(4294967295u));
}

} // namespace
} // namespace keywright
