// The sound code of a word: letter expansion of Windows-1252 bytes, digit classes, Encode.
#include "engine/PhoneticCode.h"

namespace sorbex {
namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kClasses = "01230120022455012623010202"; // A to Z

constexpr std::string_view kNumberWords[] = {"NULL",  "EINS",  "ZWEI",   "DREI", "VIER",
                                             "FUENF", "SECHS", "SIEBEN", "ACHT", "NEUN"};

} // namespace

std::string_view PhoneticExpansion(unsigned char byte) {
    if (byte >= 'a' && byte <= 'z') {
        return kAlphabet.substr(byte - 'a', 1);
    }
    if (byte >= 'A' && byte <= 'Z') {
        return kAlphabet.substr(byte - 'A', 1);
    }
    if (byte >= '0' && byte <= '9') {
        return kNumberWords[byte - '0'];
    }
    switch (byte) {
    case 0xE4: // ä
    case 0xC4: // Ä
        return "AE";
    case 0xF6: // ö
    case 0xD6: // Ö
        return "OE";
    case 0xFC: // ü
    case 0xDC: // Ü
        return "UE";
    case 0xDF: // ß
        return "SS";
    case 0xE0: // à
    case 0xE1: // á
    case 0xE2: // â
    case 0xC0: // À
    case 0xC1: // Á
        return "A";
    case 0xE8: // è
    case 0xE9: // é
    case 0xEA: // ê
    case 0xC8: // È
    case 0xC9: // É
        return "E";
    case 0xF2: // ò
    case 0xF3: // ó
    case 0xF4: // ô
    case 0xD2: // Ò
    case 0xD3: // Ó
        return "O";
    case 0xF9: // ù
    case 0xFA: // ú
    case 0xFB: // û
    case 0xD9: // Ù
    case 0xDA: // Ú
        return "U";
    default:
        return {};
    }
}

char PhoneticDigit(char letter) {
    if (letter < 'A' || letter > 'Z') {
        return '0';
    }
    return kClasses[static_cast<std::size_t>(letter - 'A')];
}

PhoneticCode EncodePhonetic(std::string_view text) {
    PhoneticCode code{};
    std::size_t length = 0;
    char last = '0';
    for (const char byte : text) {
        for (const char letter : PhoneticExpansion(static_cast<unsigned char>(byte))) {
            if (length == kPhoneticCodeSize) {
                return code;
            }
            const char digit = PhoneticDigit(letter);
            if (length == 0) {
                code[length++] = letter;
                last = digit;
            } else if (digit != '0' && digit != last) {
                // A vowel leaves `last` alone, so "TAT" stays "T": only a different
                // class of consonant adds a digit.
                code[length++] = digit;
                last = digit;
            }
        }
    }
    return code;
}

std::size_t PhoneticCodeLength(const PhoneticCode& code) {
    std::size_t length = 0;
    while (length < code.size() && code[length] != 0) {
        ++length;
    }
    return length;
}

} // namespace sorbex
