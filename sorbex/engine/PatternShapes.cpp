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

// A piece of pattern: its size as the library builds it and as written, whether it can
// match the empty string, and whether it is a group.
struct Piece {
    double expanded = 0;
    double written = 0;
    bool nullable = false;
    int nullableAlternatives = 0; // of a group
    bool emptyReference = false;  // holds a back-reference to a group that can match nothing
    bool looseReference = false;  // holds one to such a group that is itself optional
    bool asserts = false;         // holds an anchor or another test of a place
    bool tangled = false;         // holds a group whose spans the library may never find
    std::size_t group = 0;        // the group's number, if the piece is a group
};

// One level of parentheses while the pieces are summed up.
struct Level {
    double doneExpanded = 0; // the alternatives finished at this level
    double doneWritten = 0;
    int nullableAlternatives = 0;
    double expanded = 0; // the alternative being read
    double written = 0;
    int solid = 0; // its pieces that cannot match the empty string
    Piece last;    // its last piece, which a repetition operator applies to
    bool hasLast = false;
    bool emptyReference = false; // in any of its alternatives
    bool looseReference = false;
    bool asserts = false;          // the alternative being read tests a place
    bool assertedEarlier = false;  // one of the finished alternatives does
    int assertedSolidAlternatives = 0; // those that test a place and take a byte
    bool tangled = false;
    std::size_t group = 0;       // the number of the group this level is, 0 for the pattern

    void Add(const Piece& piece) {
        expanded = std::min(expanded + piece.expanded, kCountCeiling * kCountCeiling);
        written += piece.written;
        solid += piece.nullable ? 0 : 1;
        emptyReference |= piece.emptyReference;
        looseReference |= piece.looseReference;
        asserts |= piece.asserts;
        tangled |= piece.tangled;
        last = piece;
        hasLast = true;
    }
    // Replaces the last piece by `repeated`.
    void Repeat(const Piece& repeated) {
        expanded -= last.expanded;
        written -= last.written;
        solid -= last.nullable ? 0 : 1;
        Add(repeated);
    }
    void EndAlternative() {
        doneExpanded = std::min(doneExpanded + expanded, kCountCeiling * kCountCeiling);
        doneWritten += written;
        nullableAlternatives += solid == 0 ? 1 : 0;
        assertedSolidAlternatives += solid != 0 && asserts ? 1 : 0;
        assertedEarlier |= asserts;
        expanded = written = 0;
        solid = 0;
        asserts = false;
        hasLast = false;
    }
    Piece Total() const {
        Piece total;
        total.expanded = std::min(doneExpanded + expanded, kCountCeiling * kCountCeiling);
        total.written = doneWritten + written;
        total.nullableAlternatives = nullableAlternatives + (solid == 0 ? 1 : 0);
        total.nullable = total.nullableAlternatives > 0;
        total.emptyReference = emptyReference;
        total.looseReference = looseReference;
        total.asserts = assertedEarlier || asserts;
        // An alternative that can match nothing beside one that tests a place and then
        // takes bytes ("(|^a)", "(x*|\<a)"): repeated, the library's walk back for the
        // groups' spans can go round in it for ever, as in one with two empty ways.
        const int assertedSolid = assertedSolidAlternatives + (solid != 0 && asserts ? 1 : 0);
        total.tangled = tangled || (total.nullableAlternatives > 0 && assertedSolid > 0);
        total.group = group;
        return total;
    }
};

// Escapes that test a place.
bool IsAssertionEscape(char c) {
    return c == 'b' || c == 'B' || c == '<' || c == '>' || c == '`' || c == '\'';
}

// Escapes that match a place, not a byte; a back-reference may match nothing too.
bool IsNullableEscape(char c) {
    return IsAssertionEscape(c) || (c >= '1' && c <= '9');
}

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

CPatternShape AnalysePattern(const std::string& pattern) {
    CPatternShape shape;
    std::vector<Level> levels(1);
    // Whether each group, by number, can match the empty string; a group not yet closed
    // counts as one that can, as a reference to it from inside itself may match nothing.
    std::vector<bool> groupNullable(1, true);
    // Whether each group can match nothing and is itself optional or repeated: it may then
    // be left empty or unset in more ways than one on each round of a loop around it.
    std::vector<bool> groupLoose(1, false);
    auto atom = [](bool nullable) { return Piece{1, 1, nullable, 0, false, false, 0}; };
    auto markLoose = [&groupNullable, &groupLoose](const Piece& piece) {
        if (piece.group != 0 && groupNullable[piece.group])
            groupLoose[piece.group] = true;
    };
    auto closeGroup = [&levels, &groupNullable] {
        const Piece group = levels.back().Total();
        groupNullable[levels.back().group] = group.nullable;
        levels.pop_back();
        levels.back().Add(group);
    };
    // A repetition without an upper bound of a piece that can match nothing and holds a
    // reference to a group that can match nothing: the library's matcher goes round in it.
    // Where the group referred to is itself optional, the matcher tries its ways of being
    // empty on every round, even where the piece takes a byte each time: a line of ten
    // bytes took minutes.
    auto repeatedForEver = [&shape](const Piece& piece) {
        shape.loopsOnEmptyReference |=
            (piece.nullable && piece.emptyReference) || piece.looseReference;
    };
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        Level& level = levels.back();
        if (c == '\\') {
            const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
            Piece piece = atom(IsNullableEscape(next));
            piece.asserts = IsAssertionEscape(next);
            if (next >= '1' && next <= '9') {
                const std::size_t group = static_cast<std::size_t>(next - '0');
                piece.emptyReference = group >= groupNullable.size() || groupNullable[group];
                piece.looseReference = group < groupLoose.size() && groupLoose[group];
            }
            level.Add(piece);
            i += 2;
        } else if (c == '[') {
            level.Add(atom(false));
            i = EndOfBracketList(pattern, i);
        } else if (c == '(') {
            shape.depth = std::max(shape.depth, static_cast<int>(levels.size()));
            if (shape.depth > kMaxNesting)
                return shape; // refused whatever else it holds
            levels.emplace_back();
            levels.back().group = groupNullable.size();
            groupNullable.push_back(true);
            groupLoose.push_back(false);
            ++i;
        } else if (c == ')' && levels.size() > 1) {
            closeGroup();
            ++i;
        } else if (IsAlternativeSeparator(c)) {
            level.EndAlternative();
            ++i;
        } else if (c == '*' || c == '+' || c == '?') {
            // One node more; and a repetition with nothing before it is ignored.
            if (level.hasLast) {
                shape.repeatsNullableGroup |=
                    c != '?' && (level.last.nullableAlternatives > 1 || level.last.tangled);
                if (c != '?')
                    repeatedForEver(level.last);
                if (c != '+')
                    markLoose(level.last);
                Piece repeated = level.last;
                repeated.expanded += 1;
                repeated.written += 1;
                repeated.nullable = c != '+' || level.last.nullable;
                repeated.nullableAlternatives = 0;
                level.Repeat(repeated);
            }
            ++i;
        } else if (c == '{') {
            std::size_t end = 0;
            double lower = 0;
            double upper = 0;
            if (!ReadInterval(pattern, i, end, lower, upper)) {
                level.Add(atom(false));
                ++i;
                continue;
            }
            if (level.hasLast) {
                const double copies = upper < 0 ? lower + 1 : std::max(lower, upper);
                shape.repeatsNullableGroup |=
                    copies > 1 && (level.last.nullableAlternatives > 1 || level.last.tangled);
                if (upper < 0)
                    repeatedForEver(level.last);
                if (upper < 0 && lower == 0)
                    markLoose(level.last);
                Piece repeated = level.last;
                repeated.expanded *= copies;
                repeated.written += 1;
                repeated.nullable = lower == 0 || level.last.nullable;
                repeated.nullableAlternatives = 0;
                level.Repeat(repeated);
            }
            i = end;
        } else {
            Piece piece = atom(c == '^' || c == '$');
            piece.asserts = c == '^' || c == '$';
            level.Add(piece);
            ++i;
        }
    }
    while (levels.size() > 1) // an unclosed group: the library reports it
        closeGroup();
    const Piece total = levels.back().Total();
    shape.growth = total.expanded - total.written;
    return shape;
}

unsigned CheckPatternLimits(const std::string& pattern) {
    const CPatternShape shape = AnalysePattern(pattern);
    if (shape.depth > kMaxNesting)
        return IDS_EXPR_NESTED_TOO_DEEPLY;
    if (shape.growth > static_cast<double>(kMaxRepetitionGrowth))
        return IDS_RE_REPETITION_TOO_LARGE;
    if (shape.loopsOnEmptyReference)
        return IDS_RE_EMPTY_REFERENCE_REPEATED;
    return 0;
}

} // namespace sorbex
