// The character references that the HTML reader decodes.
#include "text/HtmlEntities.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace sorbex {
namespace {

struct Entity {
    std::string_view name;
    unsigned char byte;
};

// Sorted by name in byte order (upper case first), for binary search.
constexpr Entity kEntities[] = {
    {"AElig", 198},  {"Aacute", 193}, {"Acirc", 194},  {"Agrave", 192}, {"Aring", 197},
    {"Atilde", 195}, {"Auml", 196},   {"Ccedil", 199}, {"ETH", 208},    {"Eacute", 201},
    {"Ecirc", 202},  {"Egrave", 200}, {"Euml", 203},   {"Iacute", 205}, {"Icirc", 206},
    {"Igrave", 204}, {"Iuml", 207},   {"Ntilde", 209}, {"Oacute", 211}, {"Ocirc", 212},
    {"Ograve", 210}, {"Oslash", 216}, {"Otilde", 213}, {"Ouml", 214},   {"THORN", 222},
    {"Uacute", 218}, {"Ucirc", 219},  {"Ugrave", 217}, {"Uuml", 220},   {"Yacute", 221},
    {"aacute", 225}, {"acirc", 226},  {"acute", 180},  {"aelig", 230},  {"agrave", 224},
    {"amp", 38},     {"aring", 229},  {"atilde", 227}, {"auml", 228},   {"brvbar", 166},
    {"ccedil", 231}, {"cedil", 184},  {"cent", 162},   {"copy", 169},   {"curren", 164},
    {"deg", 176},    {"divide", 247}, {"eacute", 233}, {"ecirc", 234},  {"egrave", 232},
    {"eth", 240},    {"euml", 235},   {"frac12", 189}, {"frac14", 188}, {"frac34", 190},
    {"gt", 62},      {"iacute", 237}, {"icirc", 238},  {"iexcl", 161},  {"igrave", 236},
    {"iquest", 191}, {"iuml", 239},   {"laquo", 171},  {"lt", 60},      {"macr", 175},
    {"micro", 181},  {"middot", 183}, {"nbsp", 160},   {"not", 172},    {"ntilde", 241},
    {"oacute", 243}, {"ocirc", 244},  {"ograve", 242}, {"ordf", 170},   {"ordm", 186},
    {"oslash", 248}, {"otilde", 245}, {"ouml", 246},   {"para", 182},   {"plusmn", 177},
    {"pound", 163},  {"quot", 34},    {"raquo", 187},  {"reg", 174},    {"sect", 167},
    {"shy", 173},    {"sup1", 185},   {"sup2", 178},   {"sup3", 179},   {"szlig", 223},
    {"thorn", 254},  {"times", 215},  {"uacute", 250}, {"ucirc", 251},  {"ugrave", 249},
    {"uml", 168},    {"uuml", 252},   {"yacute", 253}, {"yen", 165},    {"yuml", 255},
};

constexpr bool IsSorted() {
    for (std::size_t i = 1; i < std::size(kEntities); ++i)
        if (!(kEntities[i - 1].name < kEntities[i].name))
            return false;
    return true;
}
static_assert(IsSorted(), "the entity table must stay sorted for binary search");
static_assert(std::size(kEntities) == 100, "four markup entities and the 96 Latin-1 ones");

// "#" and decimal digits, or "#x" and hexadecimal ones, naming a printable character
// of the code page: the ASCII ones and those from 160 on, which the names above also
// give. A control character, a code the code page lacks or beyond it gives nothing.
std::optional<unsigned char> LookUpNumber(std::string_view number) {
    int base = 10;
    if (!number.empty() && (number[0] == 'x' || number[0] == 'X')) {
        base = 16;
        number.remove_prefix(1);
    }
    if (number.empty())
        return std::nullopt;
    long value = 0;
    for (char c : number) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > 255)
            return std::nullopt;
    }
    if ((value >= 32 && value <= 126) || value >= 160)
        return static_cast<unsigned char>(value);
    return std::nullopt;
}

} // namespace

std::optional<unsigned char> LookUpHtmlEntity(std::string_view name) {
    if (!name.empty() && name[0] == '#')
        return LookUpNumber(name.substr(1));
    const auto* end = std::end(kEntities);
    const auto* found = std::lower_bound(
        std::begin(kEntities), end, name,
        [](const Entity& entity, std::string_view key) { return entity.name < key; });
    if (found == end || found->name != name)
        return std::nullopt;
    return found->byte;
}

} // namespace sorbex
