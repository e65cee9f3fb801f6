// Conversion between the Windows-1252 texts searched and UTF-8 terminals.
#include "cli/Cp1252.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "text/TextEncoding.h"

namespace sorbex {

bool Utf8ToCp1252(std::string_view text, std::string& out) {
    out.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t c = 0;
        char byte = 0;
        if (!DecodeUtf8Character(text, i, c) || !kestrix::EncodeCp1252(c, byte)) {
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
    // Plain ASCII reads the same in both code pages.
    if (std::none_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; }))
        return text;
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

std::string CharacterForTerminal(char32_t c) {
    std::string out;
#ifdef _WIN32
    static_cast<void>(c);
    out = "?";
#else
    if (c >= 0x80 && c < 0xA0)
        AppendEscaped(static_cast<unsigned char>(c), out);
    else
        kestrix::AppendUtf8(c, out);
#endif
    return out;
}

namespace {

constexpr std::uint64_t kEachByte = 0x0101010101010101u;
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

// Whether any of eight bytes is a control byte (below 0x20, or 0x7F). A byte below
// 0x20 borrows when 0x20 is taken from it and has its high bit clear; 0x7F is the
// byte that becomes zero when xored with 0x7F.
bool HasControlByte(std::uint64_t bytes) {
    const std::uint64_t low = (bytes - kEachByte * 0x20) & ~bytes;
    const std::uint64_t del = bytes ^ (kEachByte * 0x7F);
    return ((low | ((del - kEachByte) & ~del)) & kHighBits) != 0;
}

// The length of the start of `text` that surely holds no control byte.
std::size_t PlainPrefix(std::string_view text) {
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, text.data() + i, sizeof bytes);
        if (HasControlByte(bytes))
            break;
    }
    return i;
}

} // namespace

void AppendControlsEscaped(std::string_view text, std::string& out) {
    // Copied in runs between the control bytes: most names have none, and eight
    // bytes at a time are checked for one.
    std::size_t from = 0;
    for (std::size_t i = PlainPrefix(text); i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte != 0x7F)
            continue;
        out.append(text.data() + from, i - from);
        AppendEscaped(byte, out);
        from = i + 1;
    }
    out.append(text.data() + from, text.size() - from);
}

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendControlsEscaped(text, out);
    return out;
}

} // namespace sorbex
