// Sorbex's string table: every user-visible text, sorted by number.
#include "strings/SorbexStrings.h"

#include <algorithm>
#include <iterator>

namespace sorbex {
namespace {

struct StringEntry {
    unsigned id;
    const char* text;
};

// The texts live in one list that the resource script of the windowed program reads
// as well. Keep it in ascending order of number: lookup is a binary search, and the
// static_assert below refuses a table that is out of order.
constexpr StringEntry kStrings[] = {
#define SBX_STRING(id, text) {id, text},
#include "strings/SorbexStringTable.inc"
#undef SBX_STRING
};

constexpr bool IsStrictlyAscending() {
    for (std::size_t i = 1; i < std::size(kStrings); ++i) {
        if (kStrings[i - 1].id >= kStrings[i].id) {
            return false;
        }
    }
    return true;
}
static_assert(IsStrictlyAscending(), "the string table must be sorted by number");

} // namespace

const char* SorbexString(unsigned id) {
    const auto* found = std::lower_bound(
        std::begin(kStrings), std::end(kStrings), id,
        [](const StringEntry& entry, unsigned wanted) { return entry.id < wanted; });
    if (found == std::end(kStrings) || found->id != id) {
        return "";
    }
    return found->text;
}

std::string InsertArguments(std::string_view text, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && next >= '1' && next <= '9') {
            const auto index = static_cast<std::size_t>(next - '1');
            if (index < args.size()) {
                out.append(*(args.begin() + index));
                ++i;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

std::string FormatSorbexString(unsigned id, std::initializer_list<std::string_view> args) {
    return InsertArguments(SorbexString(id), args);
}

} // namespace sorbex
