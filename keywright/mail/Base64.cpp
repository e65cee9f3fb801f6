// The base64 transfer encoding of attachments that are not plain 7-bit text.
#include "mail/Base64.h"

#include <cstdint>

namespace keywright {

std::string EncodeBase64Lines(const std::string& bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    const std::size_t groups = (bytes.size() + 2) / 3;
    out.reserve(groups * 4 + groups * 4 / kBase64LineLength * 2);
    std::size_t column = 0;
    auto put = [&](char c) {
        if (column == kBase64LineLength) {
            out += "\r\n";
            column = 0;
        }
        out += c;
        ++column;
    };
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        std::uint32_t v = static_cast<unsigned char>(bytes[i]) << 16;
        if (left > 1)
            v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (left > 2)
            v |= static_cast<unsigned char>(bytes[i + 2]);
        put(kAlphabet[(v >> 18) & 63]);
        put(kAlphabet[(v >> 12) & 63]);
        put(left > 1 ? kAlphabet[(v >> 6) & 63] : '=');
        put(left > 2 ? kAlphabet[v & 63] : '=');
    }
    return out;
}

} // namespace keywright
