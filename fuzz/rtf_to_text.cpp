// Fuzz target: the RTF reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/RtfToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    const sorbex::RtfReadResult result = sorbex::ReadRtf(rtf);
    // Every written byte stems from a byte read before it, and a stop names a byte
    // of the input.
    if (result.text.size() > size)
        std::abort();
    if (result.stop != sorbex::RtfStop::None && result.position > size)
        std::abort();
    return 0;
}
