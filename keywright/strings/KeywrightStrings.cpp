// The string table's texts, kept sorted by number so that lookup can bisect.
#include "strings/KeywrightStrings.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace keywright {

namespace {

struct StringEntry {
    unsigned id;
    const char* text;
};

// The texts live in one list that the resource script reads as well.
constexpr StringEntry kStrings[] = {
#define KW_STRING(id, text) {id, text},
#include "strings/KeywrightStringTable.inc"
#undef KW_STRING
};

constexpr bool IsSortedAndUnique() {
    for (std::size_t i = 1; i < std::size(kStrings); ++i)
        if (kStrings[i - 1].id >= kStrings[i].id)
            return false;
    return true;
}
static_assert(IsSortedAndUnique(), "string table must stay sorted by number, without repeats");

} // namespace

const char* KeywrightString(unsigned id) {
    auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                               [](const StringEntry& e, unsigned n) { return e.id < n; });
    return it != std::end(kStrings) && it->id == id ? it->text : nullptr;
}

} // namespace keywright

namespace keywright {

std::string KeywrightStringWith(unsigned id, const std::string& insert) {
    const char* text = KeywrightString(id);
    if (text == nullptr)
        return insert;
    std::string result = text;
    std::size_t at = result.find("%s");
    if (at != std::string::npos)
        result.replace(at, 2, insert);
    return result;
}

std::string KeywrightStringWithAll(unsigned id, std::initializer_list<std::string> inserts) {
    const char* text = KeywrightString(id);
    if (text == nullptr)
        return {};
    std::string result;
    auto next = inserts.begin();
    for (const char* p = text; *p; ++p) {
        if (p[0] == '%' && p[1] == '%') {
            result += "%%";
            ++p;
        } else if (p[0] == '%' && p[1] && std::strchr("sdux", p[1]) && next != inserts.end()) {
            result += *next++;
            ++p;
        } else {
            result += *p;
        }
    }
    return result;
}

} // namespace keywright
