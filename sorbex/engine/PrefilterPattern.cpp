// A term's pattern prepared for the prefilters: folded as the library reads it, split
// into its top-level alternatives.
#include "engine/PrefilterPattern.h"

#include <cstring>

#include "engine/CaseFold.h"

namespace sorbex {
namespace {

// Escapes that are operators rather than literal bytes in the matcher's syntax.
bool IsEscapeOperator(char c) {
    return (c >= '1' && c <= '9') || std::strchr("<>bBwWsS`'", c) != nullptr;
}

// Escapes after which, like after `^`, a repetition has nothing to repeat.
bool IsEscapeAnchor(char c) {
    return std::strchr("<>bB`'", c) != nullptr;
}

class CPatternReader {
public:
    CPatternReader(const std::string& pattern, bool caseFold) : text(pattern), fold(caseFold) {}

    CPrefilterPattern Read() {
        CPrefilterPattern result;
        int depth = 0;
        bool nothingToRepeat = true;
        std::size_t i = 0;
        while (i < text.size()) {
            const char c = text[i];
            if (c == '\0') {
                return {};
            }
            if (c == '\\') {
                if (i + 1 == text.size()) {
                    return {};
                }
                const char escaped = text[i + 1];
                // The library reads the byte after a backslash unfolded.
                if (fold && !IsEscapeOperator(escaped) &&
                    FoldToUpper(static_cast<unsigned char>(escaped)) !=
                        static_cast<unsigned char>(escaped)) {
                    return {};
                }
                if (IsEscapeAnchor(escaped) && depth > 0) {
                    return {};
                }
                out += c;
                out += escaped;
                nothingToRepeat = IsEscapeAnchor(escaped);
                i += 2;
            } else if (c == '[') {
                if (!ReadList(i)) {
                    return {};
                }
                nothingToRepeat = false;
            } else if (c == '*' || c == '+' || c == '?' || c == '{') {
                if (nothingToRepeat) {
                    return {};
                }
                out += c;
                ++i;
            } else if ((c == '|' || c == '\n') && depth == 0) {
                result.alternatives.push_back(out.substr(branchStart));
                out += c;
                branchStart = out.size();
                nothingToRepeat = true;
                ++i;
            } else {
                if (c == '(') {
                    ++depth;
                } else if (c == ')' && --depth < 0) {
                    return {};
                } else if ((c == '^' || c == '$') && depth > 0) {
                    return {};
                }
                nothingToRepeat = c == '(' || c == '|' || c == '\n' || c == '^' || c == '$';
                out += Fold(c);
                ++i;
            }
        }
        if (depth != 0) {
            return {};
        }
        result.alternatives.push_back(out.substr(branchStart));
        result.folded = std::move(out);
        result.usable = true;
        return result;
    }

private:
    char Fold(char c) const {
        return fold ? static_cast<char>(FoldToUpper(static_cast<unsigned char>(c))) : c;
    }

    // Copies the list that begins at `i` (a `[`) and moves `i` past its `]`. A `]`
    // right after the opening (or after `^`) belongs to the list; `[.x.]` and `[=x=]`
    // name their byte unfolded; a backslash is an ordinary byte.
    bool ReadList(std::size_t& i) {
        std::size_t j = i + 1;
        out += '[';
        if (j < text.size() && text[j] == '^') {
            out += '^';
            ++j;
        }
        if (j < text.size() && text[j] == ']') {
            out += ']';
            ++j;
        }
        for (;;) {
            if (j >= text.size() || text[j] == '\0') {
                return false;
            }
            const char c = text[j];
            if (c == ']') {
                out += c;
                i = j + 1;
                return true;
            }
            if (c == '[' && j + 1 < text.size() && (text[j + 1] == '.' || text[j + 1] == '=')) {
                const char closing[] = {text[j + 1], ']', '\0'};
                const std::size_t close = text.find(closing, j + 2);
                if (close == std::string::npos) {
                    return false;
                }
                out.append(text, j, close + 2 - j);
                j = close + 2;
                continue;
            }
            out += Fold(c);
            ++j;
        }
    }

    const std::string& text;
    const bool fold;
    std::string out;
    std::size_t branchStart = 0;
};

} // namespace

CPrefilterPattern PreparePrefilterPattern(const std::string& pattern, bool caseFold) {
    return CPatternReader(pattern, caseFold).Read();
}

} // namespace sorbex
