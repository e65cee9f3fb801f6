// Reads counts, strings and object tags in the result file's byte layout.
#include "storage/ArchiveReader.h"

#include "storage/ArchiveError.h"
#include "storage/ArchiveTags.h"

namespace sorbex {

CArchiveReader::CArchiveReader(const std::uint8_t* data, std::size_t size)
    : data_(data), size_(size) {}

CArchiveReader::CArchiveReader(const std::vector<std::uint8_t>& bytes)
    : CArchiveReader(bytes.data(), bytes.size()) {}

void CArchiveReader::Need(std::size_t n) const {
    if (n > size_ - pos_)
        throw CArchiveError("archive ends too early");
}

std::uint8_t CArchiveReader::ReadUInt8() {
    Need(1);
    return data_[pos_++];
}

std::uint16_t CArchiveReader::ReadUInt16() {
    Need(2);
    const std::uint16_t value = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return value;
}

std::uint32_t CArchiveReader::ReadUInt32() {
    Need(4);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | data_[pos_ + static_cast<std::size_t>(i)];
    pos_ += 4;
    return value;
}

std::int32_t CArchiveReader::ReadInt32() {
    return static_cast<std::int32_t>(ReadUInt32());
}

std::uint32_t CArchiveReader::ReadCount() {
    const std::uint16_t count = ReadUInt16();
    if (count != kBigCountTag)
        return count;
    return ReadUInt32();
}

std::string CArchiveReader::ReadString() {
    std::uint32_t length = ReadUInt8();
    if (length == kLongStringTag) {
        length = ReadUInt16();
        if (length == kWideStringTag)
            throw CArchiveError("wide-character strings are not supported");
        if (length == kHugeStringTag)
            length = ReadUInt32();
    }
    Need(length);
    std::string text(reinterpret_cast<const char*>(data_ + pos_), length);
    pos_ += length;
    return text;
}

CObjectTag CArchiveReader::ReadObjectTag() {
    CObjectTag tag;
    const std::uint16_t word = ReadUInt16();
    if (word == kNullTag)
        return tag;
    if (word == kNewClassTag) {
        tag.kind = CObjectTag::Kind::NewObject;
        tag.schema = ReadUInt16();
        const std::uint16_t length = ReadUInt16();
        Need(length);
        tag.className.assign(reinterpret_cast<const char*>(data_ + pos_), length);
        pos_ += length;
        numbered_.push_back({tag.className, tag.schema});
        isClass_.push_back(true);
    } else {
        std::uint32_t number;
        bool isClass;
        if (word == kBigNumberTag) {
            const std::uint32_t big = ReadUInt32();
            isClass = (big & kBigClassTag) != 0;
            number = big & ~kBigClassTag;
        } else {
            isClass = (word & kClassTag) != 0;
            number = word & ~kClassTag;
        }
        if (number == 0 || number > numbered_.size() || isClass_[number - 1] != isClass)
            throw CArchiveError("archive refers to an unknown class or object");
        if (!isClass) {
            tag.kind = CObjectTag::Kind::Reference;
            tag.number = number;
            return tag;
        }
        tag.kind = CObjectTag::Kind::NewObject;
        tag.className = numbered_[number - 1].name;
        tag.schema = numbered_[number - 1].schema;
    }
    numbered_.push_back({std::string(), 0});
    isClass_.push_back(false);
    tag.number = static_cast<std::uint32_t>(numbered_.size());
    return tag;
}

} // namespace sorbex
