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

// Keep the entries in ascending order of number: lookup is a binary search, and the
// static_assert below refuses a table that is out of order.
constexpr StringEntry kStrings[] = {
    {IDS_RE_NOT_FOUND, "The text was not found."},
    {IDS_RE_INVALID, "The regular expression is invalid."},
    {IDS_RE_BAD_COLLATION, "The search expression contains an invalid character."},
    {IDS_RE_BAD_CLASS_NAME,
     "The search expression contains an invalid name for a character class."},
    {IDS_RE_TRAILING_BACKSLASH, "The search expression contains a single backslash \\, which "
                                "isn't followed by a character."},
    {IDS_RE_BAD_BACKREF, "The search expression contains an invalid reference to a subexpression."},
    {IDS_RE_UNMATCHED_BRACKET, "The bracket [ or ] is missing in an enumeration."},
    {IDS_EXPR_MISSING_CLOSE_PAREN, "The closing bracket ) is missing in a subexpression."},
    {IDS_RE_UNMATCHED_BRACE, "The bracket \\{ or \\} is missing in the repetition statement."},
    {IDS_RE_BAD_INTERVAL, "The repetition statement is invalid."},
    {IDS_RE_BAD_RANGE_END, "The end of the sentence is invalid."},
    {IDS_MEMORY_OVERFLOW, "Memory overflow!"},
    {IDS_RE_BAD_REPEAT_START, "The search expression starts with an invalid character."},
    {IDS_RE_PREMATURE_END, "The search expression is incomplete."},
    {IDS_RE_TOO_BIG, "The search expression is too long."},
    {IDS_EXPR_MISSING_OPEN_PAREN, "The opening bracket is missing in a subexpression."},
    {IDS_RE_BAD_REPEAT_COUNT, "The repetition statement is invalid."},
    {IDS_RE_REPEAT_INCOMPLETE, "The repetition statement is incomplete."},
    {IDS_RE_SYNTAX_NOT_SET, "The syntax is invalid."},
    {IDS_EXPR_EMPTY_SUBEXPRESSION, "The search expression contains an empty subexpression."},
    {IDS_EXPR_NOT_NEEDS_AND, "When a not operator (!) is used between two subexpressions, it "
                             "must be preceded by an and operator (&)."},
    {IDS_EXPR_NOT_OPERAND_MISSING, "The operand after the not operator is missing."},
    {IDS_EXPR_AND_LEFT_MISSING, "The left operand of an and operator (&) is missing."},
    {IDS_EXPR_AND_RIGHT_MISSING, "The right operand of an and operator is missing."},
    {IDS_EXPR_PHONETIC_EMPTY, "The search expression must contain at least one character."},
    {IDS_EXPR_GROUP_NEEDS_AND, "An operator (&) is missing between a parenthesized "
                               "subexpression and the text beside it."},
    {IDS_EXPR_NESTED_TOO_DEEPLY, "The search expression is nested too deeply."},
    {IDS_RE_REPETITION_TOO_LARGE, "A repetition count in the search expression is too large."},
    {IDS_INSERT_DISC, "Please insert a disc in drive \"%1\" and press Ok."},
    {IDS_INSERT_CD_ROM, "Please insert a CD ROM in drive \"%1\" and press OK."},
    {IDS_INVALID_DIRECTORY, "The directory name is invalid."},
    {IDS_SCANNING_DIRECTORY, "Scanning directory %1"},
    {IDS_NO_FILES_FOUND, "There were no files found which match the given file name."},
    {IDS_REPLACE_TAG_TOO_HIGH, "You want to replace the subexpression %ld, but the search "
                               "expression contains only %ld subexpressions."},
    {IDS_SEARCH_EXPRESSION_ERROR, "Error in search expression:\n"},
    {IDS_SCANNING_FILE, "Scanning "},
    {IDS_SEARCH_FINISHED, "Searching terminated normally (%.2lf seconds)."},
    {IDS_SEARCH_CANCELED, "SEARCHING CANCELED (%.2lf seconds)."},
    {IDS_NO_PASSAGES_FOUND,
     "There were no passages found, which match the given search expression."},
    {IDS_FILE_VIEWER, "File Viewer"},
    {IDS_CONFIRM_REPLACE, "Do you want to replace \"%1\" with \"%2\"?"},
    {IDS_FONT_DESCRIPTION, "%s, %ld Points, %s"},
    {IDS_FONT_UNDERLINED, "Underlined"},
    {IDS_FONT_CROSSED_OUT, "Crossed out"},
    {IDS_CONVERTED_NOT_REPLACEABLE,
     "You can't replace text, when internal or external converters are\nused for searching. Go "
     "to the register card \"Converters\" and\nswitch all converters off."},
    {IDS_RESULTS_REORGANIZE_NO_SPACE, "There is not enough free space on your disk to "
                                      "reorganize the search result database."},
    {IDS_RESULTS_REORGANIZE_FAILED,
     "An error occured while reorganizing the search result database."},
    {IDS_CACHE_REORGANIZING, "Reorganizing the cache."},
    {IDS_CACHE_REORGANIZE_NO_SPACE,
     "There is not enough free space on your disk to reorganize the cache."},
    {IDS_CACHE_REORGANIZE_FAILED, "An error occured while reorganizing the cache."},
    {IDS_CACHE_CONFIRM_DELETE, "Do you really want to delete the cache?"},
    {IDS_FILE_CHANGED_NOT_REPLACED, "The file \"%1\" has changed since it was searched. Its "
                                    "remaining passages are not replaced, so that the file stays "
                                    "intact."},
    {IDS_FILE_NOT_WRITTEN, "The file \"%1\" could not be written. It was left as it was."},
    {IDS_FILE_NOT_READ, "The file \"%1\" could not be read: %2"},
    {IDS_DIRECTORY_NOT_LISTED, "The directory \"%1\" could not be listed: %2"},
    {IDS_FILE_TOO_LARGE, "The file \"%1\" is too large to be searched."},
    {IDS_DIRECTORY_LOOP, "The directory \"%1\" was not entered: it leads back to \"%2\"."},
    {IDS_COLOR_BLACK, "Black"},
    {IDS_COLOR_MAROON, "Maroon"},
    {IDS_COLOR_GREEN, "Green"},
    {IDS_COLOR_OLIVE, "Olive"},
    {IDS_COLOR_NAVY, "Navy"},
    {IDS_COLOR_PURPLE, "Purple"},
    {IDS_COLOR_TEAL, "Teal"},
    {IDS_COLOR_GRAY, "Gray"},
    {IDS_COLOR_SILVER, "Silver"},
    {IDS_COLOR_RED, "Red"},
    {IDS_COLOR_LIME, "Lime"},
    {IDS_COLOR_YELLOW, "Yellow"},
    {IDS_COLOR_BLUE, "Blue"},
    {IDS_COLOR_FUCHSIA, "Fuchsia"},
    {IDS_COLOR_AQUA, "Aqua"},
    {IDS_COLOR_WHITE, "White"},
    {IDS_COLOR_RGB, "RGB(%1, %2, %3)"},
    {IDS_PROMPT_RESULTS_REORGANIZE, "Reorganizes the search result database."},
    {IDS_PROMPT_CACHE_REORGANIZE, "Removes all obsolete documents from the cache."},
    {IDS_PROMPT_CACHE_DELETE, "Deletes the cache."},
    {IDS_FAILED_TO_OPEN_DOCUMENT, "Failed to open document."},
    {IDS_FAILED_TO_SAVE_DOCUMENT, "Failed to save document."},
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
