// The phonetic matcher: a term found by the sound code of its letters.
#include "engine/PhoneticMatcher.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "strings/StringIds.h"

namespace sorbex {
namespace {

bool HasLetters(char byte) {
    return !PhoneticExpansion(static_cast<unsigned char>(byte)).empty();
}

} // namespace

unsigned CPhoneticMatcher::Compile(const std::string& pattern, bool, bool matchWholeWords) {
    code = EncodePhonetic(pattern);
    codeLength = PhoneticCodeLength(code);
    wholeWords = matchWholeWords;
    return codeLength == 0 ? IDS_EXPR_PHONETIC_EMPTY : 0;
}

void CPhoneticMatcher::Activate(CPatternMatcher*& activeSlot) {
    previousActive = activeSlot;
    activeSlot = this;
}

void CPhoneticMatcher::Deactivate(CPatternMatcher*& activeSlot) {
    activeSlot = previousActive;
    previousActive = nullptr;
}

bool CPhoneticMatcher::FindMatch(const char* text, std::size_t length, int, int& start, int& end) {
    if (codeLength == 0) {
        return false;
    }
    // Offsets leave as int; the texts end in a zero byte, but a caller's length is
    // honoured too so that a buffer without one is never read past its end.
    length = std::min<std::size_t>(length, INT_MAX);
    const void* zero = std::memchr(text, 0, length);
    if (zero != nullptr) {
        length = static_cast<std::size_t>(static_cast<const char*>(zero) - text);
    }
    return wholeWords ? FindWholeWord(text, length, start, end)
                      : FindInsideWords(text, length, start, end);
}

bool CPhoneticMatcher::FindInsideWords(const char* text, std::size_t length, int& start,
                                       int& end) const {
    std::size_t pos = 0; // characters of the code matched by the candidate so far
    std::size_t candidateStart = 0;
    char last = '0';
    std::size_t i = 0;
    while (i < length) {
        const char byte = text[i];
        if (byte == ' ' || byte == '\n') {
            pos = 0;
            ++i;
            continue;
        }
        std::size_t next = i + 1;
        for (const char letter : PhoneticExpansion(static_cast<unsigned char>(byte))) {
            if (pos == 0) {
                if (letter != code[0]) {
                    break;
                }
                candidateStart = i;
                last = PhoneticDigit(letter);
                pos = 1;
            } else {
                const char digit = PhoneticDigit(letter);
                if (digit == '0' || digit == last) {
                    continue;
                }
                if (digit != code[pos]) {
                    // A later start may still match where this one went astray, so
                    // every byte after the failed start gets its own try.
                    pos = 0;
                    next = candidateStart + 1;
                    break;
                }
                ++pos;
                last = digit;
            }
            if (pos == codeLength) {
                start = static_cast<int>(candidateStart);
                end = static_cast<int>(i + 1);
                return true;
            }
        }
        i = next;
    }
    return false;
}

bool CPhoneticMatcher::FindWholeWord(const char* text, std::size_t length, int& start,
                                     int& end) const {
    std::size_t i = 0;
    while (i < length) {
        if (!HasLetters(text[i])) {
            ++i;
            continue;
        }
        const std::size_t wordStart = i;
        while (i < length && HasLetters(text[i])) {
            ++i;
        }
        if (EncodePhonetic(std::string_view(text + wordStart, i - wordStart)) == code) {
            start = static_cast<int>(wordStart);
            end = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

} // namespace sorbex
