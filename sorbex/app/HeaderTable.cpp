// The table at the top of a result page that repeats the search and shows its counters.
#include "app/HeaderTable.h"

#include "app/DefinitionRules.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

// Column widths in twips.
constexpr int kSearchWide[] = {2500, 6500};
constexpr int kSearchNarrow[] = {2500, 1500, 3500, 1500};
constexpr int kListing[] = {3000, 6000};

CTableCell Label(unsigned id, int width, bool greyed = false) {
    return {SorbexString(id), greyed ? CRunStyle::Greyed : CRunStyle::Label, width, false};
}

CTableCell Value(const std::string& text, int width, bool greyed = false) {
    return {text, greyed ? CRunStyle::Greyed : CRunStyle::Value, width, false};
}

CTableCell Counter(int width) {
    return {"", CRunStyle::Value, width, true};
}

std::string YesNo(bool flag) {
    return SorbexString(flag ? IDS_YES : IDS_NO);
}

} // namespace

CHeaderTable BuildHeaderTable(const CSearchRequest& r) {
    CHeaderTable table;
    if (r.expression.empty()) {
        const int* w = kListing;
        table.rows = {
            {Label(IDS_HEADER_FILE_MASK, w[0]), Value(r.fileMask, w[1])},
            {Label(IDS_HEADER_DIRECTORY, w[0]), Value(r.directory, w[1])},
            {Label(IDS_HEADER_SUBDIRECTORIES, w[0]), Value(YesNo(r.withSubDirectories), w[1])},
            {Label(IDS_HEADER_FILES_FOUND, w[0]), Counter(w[1])},
        };
        table.filesCell = {3, 1};
        return table;
    }
    const int* w = kSearchWide;
    const int* n = kSearchNarrow;
    const bool phonetic = r.searchMethod == CSearchMethod::Phonetic;
    table.rows = {
        {Label(IDS_HEADER_SEARCH_EXPRESSION, w[0]), Value(r.expression, w[1])},
        {Label(IDS_HEADER_FILE_MASK, w[0]), Value(r.fileMask, w[1])},
        {Label(IDS_HEADER_DIRECTORY, w[0]), Value(r.directory, w[1])},
        {Label(IDS_HEADER_WHOLE_WORDS, n[0]), Value(YesNo(r.matchWholeWords), n[1]),
         Label(IDS_HEADER_CASE_SENSITIVE, n[2], phonetic),
         Value(YesNo(phonetic ? false : r.matchCase), n[3], phonetic)},
        {Label(IDS_HEADER_SUBDIRECTORIES, n[0]), Value(YesNo(r.withSubDirectories), n[1]),
         Label(IDS_HEADER_SEARCH_METHOD, n[2]),
         Value(SorbexString(phonetic ? IDS_METHOD_PHONETIC : IDS_METHOD_STANDARD), n[3])},
        {Label(IDS_HEADER_PASSAGES_FOUND, n[0]), Counter(n[1]), Label(IDS_HEADER_FILES_FOUND, n[2]),
         Counter(n[3])},
    };
    table.passagesCell = {5, 1};
    table.filesCell = {5, 3};
    return table;
}

std::string PassagesCounterText(const CSearchCounters& c) {
    return std::to_string(c.passages);
}

std::string FilesCounterText(const CSearchCounters& c) {
    if (c.listing)
        return std::to_string(c.found) + " / " + std::to_string(c.total);
    return std::to_string(c.filesWithPassages) + " / " + std::to_string(c.found);
}

void SetHeaderCounters(CHeaderTable& table, const CSearchCounters& counters) {
    if (table.passagesCell.row >= 0)
        table.rows[table.passagesCell.row][table.passagesCell.column].text =
            PassagesCounterText(counters);
    if (table.filesCell.row >= 0)
        table.rows[table.filesCell.row][table.filesCell.column].text = FilesCounterText(counters);
}

} // namespace sorbex
