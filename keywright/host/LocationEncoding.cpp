// Encoding and decoding of key paths and value names inside location texts.
#include "host/LocationEncoding.h"
#include "platform/HexDigit.h"

#include "strings/KeywrightStrings.h"

#include <cstring>

namespace keywright {

std::string EncodeSpecialChars(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '%')
            out += "%%";
        else if (c == ':')
            out += "%3A";
        else
            out += c;
    }
    return out;
}

bool EncodeSpecialChars(std::size_t capacity, char* text, const ShowText& show) {
    if (text == nullptr)
        return false;
    std::string encoded = EncodeSpecialChars(std::string(text, strnlen(text, capacity)));
    if (encoded.size() + 1 > capacity) {
        if (show)
            show(KeywrightString(kStrEncodeBufferTooSmall));
        return false;
    }
    std::memcpy(text, encoded.c_str(), encoded.size() + 1);
    return true;
}

bool DecodeSpecialChars(std::string& text) {
    if (text.find('%') == std::string::npos)
        return true;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        int high = i + 1 < text.size() ? kestrix::HexDigitValue(text[i + 1]) : -1;
        int low = i + 2 < text.size() ? kestrix::HexDigitValue(text[i + 2]) : -1;
        if (high < 0 || low < 0) {
            text = out;
            return false;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    text = out;
    return true;
}

bool DecodeSpecialChars(std::size_t capacity, char* text) {
    if (text == nullptr || capacity == 0)
        return false;
    std::string decoded(text, strnlen(text, capacity - 1));
    bool ok = DecodeSpecialChars(decoded);
    // A decoded NUL ("%00") ends the text here as it would in any C string.
    std::memcpy(text, decoded.c_str(), decoded.size() + 1);
    return ok;
}

std::string ReplaceSpaceEscape(const std::string& text) {
    static const char kEscape[] = "__space__";
    constexpr std::size_t kLength = sizeof kEscape - 1;
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(kEscape, from)) != std::string::npos; from = at + kLength)
        out.append(text, from, at - from).append(1, ' ');
    out.append(text, from, std::string::npos);
    return out;
}

} // namespace keywright
