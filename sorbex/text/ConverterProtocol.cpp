// What the program and its converter helper say to each other: one frame per request
// and per answer, a kind and a length before the bytes, over a byte stream between the
// two processes.
#include "text/ConverterProtocol.h"

namespace sorbex {
namespace {

void PutUint32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

std::uint32_t GetUint32(const char* bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

bool IsKnownKind(std::uint32_t kind) {
    return (kind >= static_cast<std::uint32_t>(CHelperKind::Load) &&
            kind <= static_cast<std::uint32_t>(CHelperKind::Unload)) ||
           kind == static_cast<std::uint32_t>(CHelperKind::Yes) ||
           kind == static_cast<std::uint32_t>(CHelperKind::No);
}

} // namespace

std::string EncodeHelperFrame(CHelperKind kind, const std::string& payload) {
    std::string frame;
    frame.reserve(kHelperHeaderSize + payload.size());
    PutUint32(frame, static_cast<std::uint32_t>(kind));
    PutUint32(frame, static_cast<std::uint32_t>(payload.size()));
    frame += payload;
    return frame;
}

bool DecodeHelperHeader(const char (&header)[kHelperHeaderSize], std::size_t maxLength,
                        CHelperKind& kind, std::size_t& length) {
    const std::uint32_t rawKind = GetUint32(header);
    const std::uint32_t rawLength = GetUint32(header + 4);
    if (!IsKnownKind(rawKind) || rawLength > maxLength)
        return false;
    kind = static_cast<CHelperKind>(rawKind);
    length = rawLength;
    return true;
}

CLinkStatus ReadHelperFrame(CFrameStream& stream, std::size_t maxLength, std::uint32_t timeoutMs,
                            CHelperFrame& frame) {
    char header[kHelperHeaderSize];
    CLinkStatus status = stream.Read(header, sizeof header, timeoutMs);
    if (status != CLinkStatus::Ok)
        return status;
    std::size_t length = 0;
    if (!DecodeHelperHeader(header, maxLength, frame.kind, length))
        return CLinkStatus::Garbage;
    frame.payload.assign(length, '\0');
    return length == 0 ? CLinkStatus::Ok : stream.Read(&frame.payload[0], length, timeoutMs);
}

} // namespace sorbex
