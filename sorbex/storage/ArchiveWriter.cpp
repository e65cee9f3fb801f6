// Writes counts, strings and object tags in the result file's byte layout.
#include "storage/ArchiveWriter.h"

#include "storage/ArchiveError.h"
#include "storage/ArchiveTags.h"

#include <utility>

namespace sorbex {

CArchiveWriter::CArchiveWriter(Sink sink, std::size_t pieceBytes)
    : sink_(std::move(sink)), pieceBytes_(pieceBytes) {
    if (sink_)
        bytes_.reserve(pieceBytes_ + pieceBytes_ / 4);
}

void CArchiveWriter::Flush() {
    if (!sink_ || bytes_.empty())
        return;
    sink_(bytes_.data(), bytes_.size());
    handedOn_ += bytes_.size();
    bytes_.clear();
}

void CArchiveWriter::WriteUInt8(std::uint8_t value) {
    bytes_.push_back(value);
    PassOnFullPiece();
}

void CArchiveWriter::WriteUInt16(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
    PassOnFullPiece();
}

void CArchiveWriter::WriteUInt32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
    PassOnFullPiece();
}

void CArchiveWriter::WriteInt32(std::int32_t value) {
    WriteUInt32(static_cast<std::uint32_t>(value));
}

void CArchiveWriter::WriteCount(std::uint32_t count) {
    if (count < kBigCountTag) {
        WriteUInt16(static_cast<std::uint16_t>(count));
        return;
    }
    WriteUInt16(kBigCountTag);
    WriteUInt32(count);
}

void CArchiveWriter::WriteString(std::string_view text) {
    const std::size_t length = text.size();
    if (length > 0xFFFFFFFFu)
        throw CArchiveError("string too long for the archive");
    if (length < kLongStringTag) {
        WriteUInt8(static_cast<std::uint8_t>(length));
    } else if (length < kWideStringTag) {
        WriteUInt8(kLongStringTag);
        WriteUInt16(static_cast<std::uint16_t>(length));
    } else {
        WriteUInt8(kLongStringTag);
        WriteUInt16(kHugeStringTag);
        WriteUInt32(static_cast<std::uint32_t>(length));
    }
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    PassOnFullPiece();
}

void CArchiveWriter::WriteObjectTag(const std::string& className, std::uint16_t schema) {
    const auto known = classNumbers_.find(className);
    if (known == classNumbers_.end()) {
        if (className.size() > 0xFFFF)
            throw CArchiveError("class name too long for the archive");
        WriteUInt16(kNewClassTag);
        WriteUInt16(schema);
        WriteUInt16(static_cast<std::uint16_t>(className.size()));
        bytes_.insert(bytes_.end(), className.begin(), className.end());
        classNumbers_[className] = nextNumber_++;
    } else if (known->second < kBigNumberTag) {
        WriteUInt16(static_cast<std::uint16_t>(kClassTag | known->second));
    } else {
        WriteUInt16(kBigNumberTag);
        WriteUInt32(kBigClassTag | known->second);
    }
    ++nextNumber_;
    PassOnFullPiece();
}

void CArchiveWriter::WriteNullObject() {
    WriteUInt16(kNullTag);
}

} // namespace sorbex
