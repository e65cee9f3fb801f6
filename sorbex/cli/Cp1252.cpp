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

namespace {

void AppendEscaped(unsigned char byte, std::string& out) {
    static const char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

#ifndef _WIN32
bool IsUndefinedHighByte(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 && kestrix::Cp1252Character(byte) < 0xA0;
}
#endif

} // namespace

std::string ForTerminal(const std::string& text) {
#ifdef _WIN32
    return text;
#else
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !IsUndefinedHighByte(static_cast<unsigned char>(text[i])))
            continue;
        out += Cp1252ToUtf8(std::string_view(text).substr(from, i - from));
        if (i < text.size())
            AppendEscaped(static_cast<unsigned char>(text[i]), out);
        from = i + 1;
    }
    return out;
#endif
}

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            AppendEscaped(byte, out);
        else
            out += c;
    }
    return out;
}

} // namespace sorbex
