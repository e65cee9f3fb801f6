// Writes counts, strings and object tags in the result file's byte layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace sorbex {

// Appends to a byte buffer, little-endian whatever the host. Class and object numbers
// count from 1 in order of first appearance, as one stream of the result file does.
//
// With a sink the bytes leave in pieces of about `pieceBytes` as they are written (and
// the rest on Flush), so a large archive never sits whole in one growing buffer; bytes()
// then holds only what has not left yet.
class CArchiveWriter {
public:
    using Sink = std::function<void(const std::uint8_t* data, std::size_t size)>;
    static constexpr std::size_t kPieceBytes = 64 * 1024;

    CArchiveWriter() = default;
    explicit CArchiveWriter(Sink sink, std::size_t pieceBytes = kPieceBytes);

    void WriteUInt8(std::uint8_t value);
    void WriteUInt16(std::uint16_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteInt32(std::int32_t value);

    void WriteCount(std::uint32_t count);
    // 8-bit characters, no terminator.
    void WriteString(std::string_view text);

    // The tag that opens a new object of `className`: the class in full the first time,
    // by its number afterwards. The object itself takes the next number.
    void WriteObjectTag(const std::string& className, std::uint16_t schema);
    void WriteNullObject();

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    // Hands what is held to the sink (without one, does nothing).
    void Flush();
    // All bytes written so far, handed on or not.
    std::uint64_t written() const { return handedOn_ + bytes_.size(); }

private:
    void PassOnFullPiece() {
        if (sink_ && bytes_.size() >= pieceBytes_)
            Flush();
    }

    Sink sink_;
    std::size_t pieceBytes_ = 0;
    std::uint64_t handedOn_ = 0;
    std::vector<std::uint8_t> bytes_;
    std::map<std::string, std::uint32_t> classNumbers_;
    std::uint32_t nextNumber_ = 1;
};

} // namespace sorbex
