// Letter case of file names in the program's 8-bit code page (Windows Latin-1).
#include "search/NameCase.h"

namespace sorbex {
namespace {

unsigned char UpperNameChar(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 'a' + 'A');
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A:
    case 0x9C:
    case 0x9E:
        return static_cast<unsigned char>(c - 0x10);
    case 0xFF:
        return 0x9F;
    default:
        return c;
    }
}

} // namespace

unsigned char LowerNameChar(unsigned char c) {
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c - 'A' + 'a');
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
        return static_cast<unsigned char>(c + 0x10);
    case 0x9F:
        return 0xFF;
    default:
        return c;
    }
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerNameChar(static_cast<unsigned char>(a[i])) !=
            LowerNameChar(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string RecaseShortName(const std::string& name) {
    std::string recased = name;
    for (char& c : recased)
        c = static_cast<char>(LowerNameChar(static_cast<unsigned char>(c)));
    if (!recased.empty())
        recased[0] = static_cast<char>(UpperNameChar(static_cast<unsigned char>(recased[0])));
    return recased;
}

} // namespace sorbex
