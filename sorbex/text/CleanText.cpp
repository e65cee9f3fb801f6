// Turning a file's bytes into the text that search expressions see.
#include "text/CleanText.h"

namespace sorbex {

void CleanText(char* buffer, std::size_t length) {
    // Every byte of every file searched passes here, so the loop has no branch per
    // byte: each byte is computed by selects and stored back, which the compiler turns
    // into vector instructions where the target has them.
    auto* bytes = reinterpret_cast<unsigned char*>(buffer);
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char byte = bytes[i];
        const unsigned char kept = byte < 32 ? static_cast<unsigned char>(' ') : byte;
        bytes[i] = (byte == '\r' || byte == '\n') ? static_cast<unsigned char>('\n') : kept;
    }
}

} // namespace sorbex
