// Fuzz target: the frames a converter helper answers with, as the program reads them:
// any bytes end in whole frames no longer than the limit, or in a refusal.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/ConverterProtocol.h"

namespace {

constexpr std::size_t kMaxPayload = 4096;

class BytesStream : public sorbex::CFrameStream {
public:
    BytesStream(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Write(const std::string&) override { return false; }
    sorbex::CLinkStatus Read(char* into, std::size_t size, std::uint32_t) override {
        if (size_ - at_ < size)
            return sorbex::CLinkStatus::Ended;
        for (std::size_t i = 0; i < size; ++i)
            into[i] = static_cast<char>(data_[at_ + i]);
        at_ += size;
        return sorbex::CLinkStatus::Ok;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BytesStream stream(data, size);
    sorbex::CHelperFrame frame;
    while (sorbex::ReadHelperFrame(stream, kMaxPayload, 0, frame) == sorbex::CLinkStatus::Ok) {
        if (frame.payload.size() > kMaxPayload)
            std::abort();
        const std::string again = sorbex::EncodeHelperFrame(frame.kind, frame.payload);
        if (again.size() != sorbex::kHelperHeaderSize + frame.payload.size())
            std::abort();
    }
    return 0;
}
