// Turning a file's bytes into the text that search expressions see.
#include "text/CleanText.h"

namespace sorbex {

void CleanText(char* buffer, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(buffer[i]);
        if (byte == '\r')
            buffer[i] = '\n';
        else if (byte < 32 && byte != '\n')
            buffer[i] = ' ';
    }
}

} // namespace sorbex
