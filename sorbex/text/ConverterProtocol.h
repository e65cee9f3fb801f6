// What the program and its converter helper say to each other: one frame per request
// and per answer, a kind and a length before the bytes, over a byte stream between the
// two processes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sorbex {

// Requests mirror the calls of a converter library; answers say how one went.
enum class CHelperKind : std::uint32_t {
    Load = 1,            // payload: the library's path; answer Yes or No
    Initialise = 2,      // payload: "1" for the indexing mode, else "0"; answer Yes
    IsFormatCorrect = 3, // payload: the file's path; answer Yes or No
    ConvertToRtf = 4,    // payload: the file's path; answer Yes with the RTF, or No
    Uninitialise = 5,    // answer Yes
    Unload = 6,          // answer Yes
    Yes = 100,
    No = 101,
};

constexpr std::size_t kHelperHeaderSize = 8;

struct CHelperFrame {
    CHelperKind kind = CHelperKind::No;
    std::string payload;
};

// The frame's bytes: kind and payload length, each 32-bit little-endian, then the payload.
std::string EncodeHelperFrame(CHelperKind kind, const std::string& payload);

// Reads the header of a frame; false for a kind that is neither a request nor an
// answer, or a length beyond `maxLength`.
bool DecodeHelperHeader(const char (&header)[kHelperHeaderSize], std::size_t maxLength,
                        CHelperKind& kind, std::size_t& length);

// How a read from the other process ended.
enum class CLinkStatus {
    Ok,
    Ended,    // the other side is gone (ended, crashed, or closed its end)
    TimedOut, // nothing, or not all, arrived in time
    Garbage,  // a frame no request or answer can be, or one longer than allowed
};

// One end of the byte stream between the program and its helper.
class CFrameStream {
public:
    virtual ~CFrameStream() = default;
    // Writes all of `bytes`; false when the other side is gone.
    virtual bool Write(const std::string& bytes) = 0;
    // Reads exactly `size` bytes, waiting at most `timeoutMs` in all (0: no limit).
    virtual CLinkStatus Read(char* into, std::size_t size, std::uint32_t timeoutMs) = 0;
};

// Reads one whole frame, waiting at most `timeoutMs` (0: no limit) for its header and
// again for its payload, which may be no longer than `maxLength`.
CLinkStatus ReadHelperFrame(CFrameStream& stream, std::size_t maxLength, std::uint32_t timeoutMs,
                            CHelperFrame& frame);

} // namespace sorbex
