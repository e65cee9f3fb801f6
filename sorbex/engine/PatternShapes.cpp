// Pattern shapes the regular-expression library handles badly: folding the harmless
// ones into what they mean, and refusing those that would exhaust its stack or memory.
#include "engine/PatternShapes.h"

#include <algorithm>
#include <vector>

#include "strings/StringIds.h"

namespace sorbex {
namespace {

bool IsAlternativeSeparator(char c) {
    return c == '|' || c == '\n'; // a line feed in a pattern acts as '|'
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Counts beyond this are the same to every check here, and their products stay finite.
constexpr double kCountCeiling = 1e9;

// Reads "{m}", "{m,}", "{m,n}" or "{,n}" at `open`; false for anything else, which the
// library reports or reads its own way. `upper` is negative for no upper bound.
bool ReadInterval(const std::string& pattern, std::size_t open, std::size_t& end, double& lower,
                  double& upper) {
    std::size_t i = open + 1;
    auto number = [&](double& value) {
        const std::size_t first = i;
        value = 0;
        for (; i < pattern.size() && IsDigit(pattern[i]); ++i)
            value = std::min(value * 10 + (pattern[i] - '0'), kCountCeiling);
        return i > first;
    };
    const bool hasLower = number(lower);
    if (!hasLower)
        lower = 0;
    upper = lower;
    if (i < pattern.size() && pattern[i] == ',') {
        ++i;
        if (!number(upper))
            upper = -1;
        if (!hasLower && upper < 0)
            return false;
    } else if (!hasLower) {
        return false;
    }
    if (i >= pattern.size() || pattern[i] != '}')
        return false;
    end = i + 1;
    return true;
}

// The size of a piece of pattern as the library builds it, and as written.
struct Weight {
    double expanded = 0;
    double written = 0;

    Weight& operator+=(const Weight& other) {
        expanded = std::min(expanded + other.expanded, kCountCeiling * kCountCeiling);
        written += other.written;
        return *this;
    }
};

// One level of parentheses while the weights are summed.
struct Level {
    Weight done;   // the alternatives finished at this level
    Weight branch; // the alternative being read
    Weight last;   // its last piece, which a repetition operator applies to
    bool hasLast = false;

    void Add(const Weight& piece) {
        branch += piece;
        last = piece;
        hasLast = true;
    }
    // Replaces the last piece by `repeated`.
    void Repeat(const Weight& repeated) {
        branch.expanded -= last.expanded;
        branch.written -= last.written;
        Add(repeated);
    }
    Weight Total() const {
        Weight total = done;
        total += branch;
        return total;
    }
};

} // namespace

std::size_t EndOfBracketList(const std::string& pattern, std::size_t open) {
    std::size_t i = open + 1;
    if (i < pattern.size() && pattern[i] == '^')
        ++i;
    if (i < pattern.size() && pattern[i] == ']')
        ++i;
    const std::size_t close = pattern.find(']', i);
    return close == std::string::npos ? pattern.size() : close + 1;
}

std::string FoldEmptyAlternatives(const std::string& pattern) {
    struct Alternation {
        std::size_t branchStart; // where the alternative being read begins in `out`
        bool emptyKept = false;
    };
    std::string out;
    out.reserve(pattern.size());
    std::vector<Alternation> levels{{0}};
    // An empty alternative that ends its alternation leaves the separator before it.
    auto finishLevel = [&]() {
        Alternation& level = levels.back();
        if (out.size() == level.branchStart && level.emptyKept && level.branchStart > 0 &&
            IsAlternativeSeparator(out.back()))
            out.pop_back();
    };
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\\') {
            out.append(pattern, i, 2);
            i += 2;
        } else if (c == '[') {
            const std::size_t end = EndOfBracketList(pattern, i);
            out.append(pattern, i, end - i);
            i = end;
        } else if (c == '(') {
            out += c;
            ++i;
            levels.push_back({out.size()});
        } else if (c == ')' && levels.size() > 1) {
            finishLevel();
            levels.pop_back();
            out += c;
            ++i;
        } else if (IsAlternativeSeparator(c)) {
            Alternation& level = levels.back();
            const bool empty = out.size() == level.branchStart;
            if (!empty || !level.emptyKept)
                out += c;
            level.emptyKept |= empty;
            level.branchStart = out.size();
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    finishLevel();
    return out;
}

unsigned CheckPatternLimits(const std::string& pattern) {
    std::vector<Level> levels(1);
    const Weight one{1, 1};
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        Level& level = levels.back();
        if (c == '\\') {
            level.Add(one);
            i += 2;
        } else if (c == '[') {
            level.Add(one);
            i = EndOfBracketList(pattern, i);
        } else if (c == '(') {
            if (static_cast<int>(levels.size()) > kMaxNesting)
                return IDS_EXPR_NESTED_TOO_DEEPLY;
            levels.emplace_back();
            ++i;
        } else if (c == ')' && levels.size() > 1) {
            const Weight group = levels.back().Total();
            levels.pop_back();
            levels.back().Add(group);
            ++i;
        } else if (IsAlternativeSeparator(c)) {
            level.done += level.branch;
            level.branch = {};
            level.hasLast = false;
            ++i;
        } else if (c == '*' || c == '+' || c == '?') {
            // One node more; and a repetition with nothing before it is ignored.
            if (level.hasLast)
                level.Repeat({level.last.expanded + 1, level.last.written + 1});
            ++i;
        } else if (c == '{') {
            std::size_t end = 0;
            double lower = 0;
            double upper = 0;
            if (!ReadInterval(pattern, i, end, lower, upper)) {
                level.Add(one);
                ++i;
                continue;
            }
            if (level.hasLast) {
                const double copies = upper < 0 ? lower + 1 : std::max(lower, upper);
                level.Repeat({level.last.expanded * copies, level.last.written + 1});
            }
            i = end;
        } else {
            level.Add(one);
            ++i;
        }
    }
    while (levels.size() > 1) { // an unclosed group: the library reports it
        const Weight group = levels.back().Total();
        levels.pop_back();
        levels.back().Add(group);
    }
    const Weight total = levels.back().Total();
    if (total.expanded - total.written > static_cast<double>(kMaxRepetitionGrowth))
        return IDS_RE_REPETITION_TOO_LARGE;
    return 0;
}

} // namespace sorbex
