// Preparing a file's bytes as the text that expressions are evaluated on.
#include "cli/CleanText.h"

namespace sorbex {

std::string CleanText(std::string bytes) {
    for (char& c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\r') {
            c = '\n';
        } else if (byte < 0x20 && byte != '\n') {
            c = ' ';
        }
    }
    return bytes;
}

} // namespace sorbex
