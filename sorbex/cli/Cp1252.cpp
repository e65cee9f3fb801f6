// Conversion between the Windows-1252 texts searched and UTF-8 terminals.
#include "cli/Cp1252.h"

namespace sorbex {
namespace {

// Decodes the character at `i` and steps past it; false for a malformed sequence.
bool DecodeUtf8(std::string_view text, std::size_t& i, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        c = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        c = lead & 0x1F;
        extra = 1;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        c = lead & 0x0F;
        extra = 2;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        c = lead & 0x07;
        extra = 3;
        minimum = 0x10000;
    } else {
        return false;
    }
    if (text.size() - i - 1 < extra) {
        return false;
    }
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            return false;
        }
        c = (c << 6) | (next & 0x3F);
    }
    i += extra + 1;
    return c >= minimum;
}

} // namespace

bool Utf8ToCp1252(std::string_view text, std::string& out) {
    out.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t c = 0;
        char byte = 0;
        if (!DecodeUtf8(text, i, c) || !kestrix::EncodeCp1252(c, byte)) {
            return false;
        }
        out.push_back(byte);
    }
    return true;
}

std::string ForTerminal(const std::string& text) {
#ifdef _WIN32
    return text;
#else
    return Cp1252ToUtf8(text);
#endif
}

} // namespace sorbex
