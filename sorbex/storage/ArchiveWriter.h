// Writes counts, strings and object tags in the result file's byte layout.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace sorbex {

// Appends to a byte buffer, little-endian whatever the host. Class and object numbers
// count from 1 in order of first appearance, as one stream of the result file does.
class CArchiveWriter {
public:
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

private:
    std::vector<std::uint8_t> bytes_;
    std::map<std::string, std::uint32_t> classNumbers_;
    std::uint32_t nextNumber_ = 1;
};

} // namespace sorbex
