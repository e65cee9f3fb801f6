// Reads counts, strings and object tags in the result file's byte layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sorbex {

// What an object tag announced.
struct CObjectTag {
    enum class Kind { Null, NewObject, Reference };
    Kind kind = Kind::Null;
    std::string className;    // NewObject: the object's class
    std::uint16_t schema = 0; // NewObject: the schema stored with the class
    std::uint32_t number = 0; // NewObject: the number it takes; Reference: the one it names
};

// Reads from a byte buffer that must outlive it. Every read past the end, and every
// tag that names no class or object seen before, throws CArchiveError.
class CArchiveReader {
public:
    CArchiveReader(const std::uint8_t* data, std::size_t size);
    explicit CArchiveReader(const std::vector<std::uint8_t>& bytes);

    std::uint8_t ReadUInt8();
    std::uint16_t ReadUInt16();
    std::uint32_t ReadUInt32();
    std::int32_t ReadInt32();

    std::uint32_t ReadCount();
    std::string ReadString();
    CObjectTag ReadObjectTag();

    std::size_t remaining() const { return size_ - pos_; }

private:
    void Need(std::size_t n) const;

    struct ClassInfo {
        std::string name;
        std::uint16_t schema;
    };

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    // Indexed by number - 1; objects hold an empty name, classes their own.
    std::vector<ClassInfo> numbered_;
    std::vector<bool> isClass_;
};

} // namespace sorbex
