// Golden-byte tests of the archive encodings, and of reading them back.
#include "storage/ArchiveError.h"
#include "storage/ArchiveReader.h"
#include "storage/ArchiveWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace sorbex {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(Bytes head, const std::string& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(ArchiveWriterTest, NumbersAndCounts) {
    struct Case {
        const char* name;
        std::function<void(CArchiveWriter&)> write;
        Bytes expected;
    };
    const Case cases[] = {
        {"int32 1", [](CArchiveWriter& w) { w.WriteInt32(1); }, {1, 0, 0, 0}},
        {"int32 -2", [](CArchiveWriter& w) { w.WriteInt32(-2); }, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"uint32", [](CArchiveWriter& w) { w.WriteUInt32(0x12345678); }, {0x78, 0x56, 0x34, 0x12}},
        {"count 0", [](CArchiveWriter& w) { w.WriteCount(0); }, {0, 0}},
        {"count 0xFFFE", [](CArchiveWriter& w) { w.WriteCount(0xFFFE); }, {0xFE, 0xFF}},
        {"count 0xFFFF",
         [](CArchiveWriter& w) { w.WriteCount(0xFFFF); },
         {0xFF, 0xFF, 0xFF, 0xFF, 0, 0}},
        {"count big",
         [](CArchiveWriter& w) { w.WriteCount(0x12345678); },
         {0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CArchiveWriter writer;
        c.write(writer);
        EXPECT_EQ(c.expected, writer.bytes());
    }
}

TEST(ArchiveWriterTest, StringLengthForms) {
    struct Case {
        std::size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {3, {0x03}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {0x12345, {0xFF, 0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'x');
        CArchiveWriter writer;
        writer.WriteString(text);
        EXPECT_EQ(Concat(c.prefix, text), writer.bytes());

        CArchiveReader reader(writer.bytes());
        EXPECT_EQ(text, reader.ReadString());
        EXPECT_EQ(0u, reader.remaining());
    }
}

TEST(ArchiveWriterTest, ObjectTagsNewThenKnownClass) {
    CArchiveWriter writer;
    writer.WriteObjectTag("CSearchResult", 1);
    writer.WriteObjectTag("CSearchResult", 1);
    writer.WriteNullObject();
    writer.WriteObjectTag("CSearchResult", 1);
    writer.WriteObjectTag("COther", 3);
    writer.WriteObjectTag("COther", 3);
    // Class 1, objects 2 and 3, object 4, class 5 and its objects 6 and 7.
    const Bytes expected = Concat(Concat({0xFF, 0xFF, 0x01, 0x00, 0x0D, 0x00}, "CSearchResult"),
                                  std::string("\x01\x80\x00\x00\x01\x80"
                                              "\xFF\xFF\x03\x00\x06\x00"
                                              "COther"
                                              "\x05\x80",
                                              20));
    EXPECT_EQ(expected, writer.bytes());
}

// Writes `objects` objects of class A, then class B twice; returns the bytes of the
// second B tag.
Bytes SecondTagAfter(std::uint32_t objects) {
    CArchiveWriter writer;
    for (std::uint32_t i = 0; i < objects; ++i)
        writer.WriteObjectTag("A", 1);
    writer.WriteObjectTag("B", 1);
    const std::size_t before = writer.bytes().size();
    writer.WriteObjectTag("B", 1);
    return Bytes(writer.bytes().begin() + static_cast<std::ptrdiff_t>(before),
                 writer.bytes().end());
}

TEST(ArchiveWriterTest, BigClassNumbersUseTheEscape) {
    // Class A is 1 and its n objects 2..n+1, so B is number n+2.
    EXPECT_EQ(Bytes({0xFE, 0xFF}), SecondTagAfter(0x7FFC)); // B = 0x7FFE, the last short one
    EXPECT_EQ(Bytes({0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x80}), SecondTagAfter(0x7FFD)); // 0x7FFF
    EXPECT_EQ(Bytes({0xFF, 0x7F, 0x00, 0x80, 0x00, 0x80}), SecondTagAfter(0x7FFE)); // 0x8000
}

// Everything an archive can hold, with class and object numbers past the short form.
void WriteMixed(CArchiveWriter& writer) {
    for (int i = 0; i < 0x8010; ++i) {
        writer.WriteObjectTag(i % 3 == 0 ? "CFirst" : "CSecond", 2);
        writer.WriteString(std::string(static_cast<std::size_t>(i % 300), 'x'));
        writer.WriteCount(static_cast<std::uint32_t>(i * 7));
        writer.WriteInt32(-i);
        writer.WriteUInt16(static_cast<std::uint16_t>(i));
        if (i % 5 == 0)
            writer.WriteNullObject();
    }
    writer.WriteString(std::string(70000, 'y'));
}

TEST(ArchiveWriterTest, ASinkReceivesTheSameBytesInPieces) {
    CArchiveWriter whole;
    WriteMixed(whole);
    for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{4096},
                                    CArchiveWriter::kPieceBytes, std::size_t{1} << 30}) {
        SCOPED_TRACE(piece);
        Bytes received;
        std::size_t largest = 0;
        int emptyPieces = 0;
        CArchiveWriter pieces(
            [&](const std::uint8_t* data, std::size_t size) {
                emptyPieces += size == 0 ? 1 : 0;
                largest = std::max(largest, size);
                received.insert(received.end(), data, data + size);
            },
            piece);
        WriteMixed(pieces);
        EXPECT_EQ(whole.bytes().size(), pieces.written());
        pieces.Flush();
        EXPECT_TRUE(pieces.bytes().empty());
        EXPECT_EQ(whole.bytes().size(), pieces.written());
        EXPECT_EQ(whole.bytes(), received);
        EXPECT_EQ(0, emptyPieces);
        // Only a single long string makes a piece much larger than asked for.
        if (piece >= 4096 && piece < (std::size_t{1} << 30)) {
            EXPECT_LE(largest, piece + 70010);
        }
    }
}

TEST(ArchiveReaderTest, ReadsBackWhatWasWritten) {
    CArchiveWriter writer;
    writer.WriteCount(7);
    writer.WriteCount(0x10000);
    writer.WriteInt32(-123456);
    writer.WriteString(std::string("a\0b", 3));
    for (std::uint32_t i = 0; i < 0x7FFE; ++i)
        writer.WriteObjectTag("A", 2);
    writer.WriteObjectTag("B", 9);
    writer.WriteObjectTag("B", 9);
    writer.WriteNullObject();

    CArchiveReader reader(writer.bytes());
    EXPECT_EQ(7u, reader.ReadCount());
    EXPECT_EQ(0x10000u, reader.ReadCount());
    EXPECT_EQ(-123456, reader.ReadInt32());
    EXPECT_EQ(std::string("a\0b", 3), reader.ReadString());
    for (std::uint32_t i = 0; i < 0x7FFE; ++i) {
        const CObjectTag tag = reader.ReadObjectTag();
        ASSERT_EQ(CObjectTag::Kind::NewObject, tag.kind);
        ASSERT_EQ("A", tag.className);
        ASSERT_EQ(2u, tag.schema);
        ASSERT_EQ(i + 2, tag.number);
    }
    CObjectTag first = reader.ReadObjectTag();
    EXPECT_EQ("B", first.className);
    EXPECT_EQ(9u, first.schema);
    EXPECT_EQ(0x8001u, first.number);
    CObjectTag second = reader.ReadObjectTag();
    EXPECT_EQ(CObjectTag::Kind::NewObject, second.kind);
    EXPECT_EQ("B", second.className);
    EXPECT_EQ(0x8002u, second.number);
    EXPECT_EQ(CObjectTag::Kind::Null, reader.ReadObjectTag().kind);
    EXPECT_EQ(0u, reader.remaining());
}

TEST(ArchiveReaderTest, ReferencesNameEarlierObjects) {
    // New class 1 with object 2, then a reference to object 2, small and big forms.
    const Bytes bytes = Concat({0xFF, 0xFF, 0x01, 0x00, 0x01, 0x00},
                               std::string("X\x02\x00\xFF\x7F\x02\x00\x00\x00", 9));
    CArchiveReader reader(bytes);
    EXPECT_EQ(2u, reader.ReadObjectTag().number);
    for (int form = 0; form < 2; ++form) {
        SCOPED_TRACE(form);
        const CObjectTag ref = reader.ReadObjectTag();
        EXPECT_EQ(CObjectTag::Kind::Reference, ref.kind);
        EXPECT_EQ(2u, ref.number);
    }
}

TEST(ArchiveReaderTest, RefusesDamagedInput) {
    struct Case {
        const char* name;
        Bytes bytes;
        std::function<void(CArchiveReader&)> read;
    };
    const Case cases[] = {
        {"short int", {1, 2, 3}, [](CArchiveReader& r) { r.ReadInt32(); }},
        {"short big count", {0xFF, 0xFF, 1}, [](CArchiveReader& r) { r.ReadCount(); }},
        {"string longer than data", {5, 'a', 'b'}, [](CArchiveReader& r) { r.ReadString(); }},
        {"huge string length",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         [](CArchiveReader& r) { r.ReadString(); }},
        {"wide string marker", {0xFF, 0xFE, 0xFF, 0, 0}, [](CArchiveReader& r) { r.ReadString(); }},
        {"unknown class", {0x01, 0x80}, [](CArchiveReader& r) { r.ReadObjectTag(); }},
        {"unknown object", {0x01, 0x00}, [](CArchiveReader& r) { r.ReadObjectTag(); }},
        {"short class name",
         {0xFF, 0xFF, 1, 0, 9, 0, 'C'},
         [](CArchiveReader& r) { r.ReadObjectTag(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CArchiveReader reader(c.bytes);
        EXPECT_THROW(c.read(reader), CArchiveError);
    }
}

} // namespace
} // namespace sorbex
