// Formatted text for the editor control that shows result pages: paragraphs of styled
// runs and tables, written as RTF, with every character counted as the control counts it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/TextEncoding.h"

namespace sorbex {

// The looks of a result page's text.
enum class CRunStyle {
    Label,  // header table: a label
    Value,  // header table: a value
    Greyed, // header table: a label or value that does not apply
    Bar,    // file and directory bars: white on blue
    Index,  // a result's index: white on blue
    Match,  // the matched text, and a listed file's name: red on white
    Normal, // everything else: black on white
};

enum class CParagraphStyle {
    Bar,     // space before and after
    Passage, // hanging indent of 1000 twips, tab stop at 1000
    Listing, // tab stops at 3000 and 5000
    Plain,
};

// The colours of a result page; the numbers are those of the RTF colour table.
enum class CColour { Black = 1, White, Blue, Red, Grey };
struct CRgb {
    unsigned char red, green, blue;
};
CRgb ColourValue(CColour colour);

// What a run style looks like: Arial in half points, bold or not, text on background.
struct CRunLook {
    int halfPoints = 22;
    bool bold = false;
    CColour text = CColour::Black;
    CColour back = CColour::White;
};
CRunLook LookOf(CRunStyle style);

// What a paragraph style looks like, in twips: the first line starts at left + firstLine.
struct CParagraphLook {
    int left = 0;
    int firstLine = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    std::vector<int> tabs;
};
CParagraphLook LookOf(CParagraphStyle style);

struct CTableCell {
    std::string text;
    CRunStyle style = CRunStyle::Value;
    int width = 0; // twips
    // An empty cell that a counter fills later holds the counter mark, so that the
    // control can find the cell: one invisible character (a zero-width space).
    bool counter = false;
};

// The counter mark as UTF-16, for finding it in the control, and as plain() shows it.
constexpr char16_t kCounterMark = u'\u200B';
constexpr char kPlainCounterMark = '\x01';
using CTableRow = std::vector<CTableCell>;

// Builds one RTF document to be put into the control (at its end, or in place of its
// text). Texts are Windows-1252. length() is the number of characters the control
// holds for what was appended: one per text byte, one per paragraph end.
class CRichTextBuilder {
public:
    void BeginParagraph(CParagraphStyle style);
    void Append(CRunStyle style, std::string_view text);
    // As above, with the file's own characters where `outside` (offsets from the start
    // of a passage's excerpt; `text` starts at `textOffset` in it) says what a
    // substitute byte stands for. A character outside the BMP is two of the control's.
    void Append(CRunStyle style, std::string_view text,
                const std::vector<COutsideCharacter>& outside, std::uint32_t textOffset);
    void EndParagraph();
    // Appends what another builder holds: its text sets its own look from the start.
    void Append(const CRichTextBuilder& other);
    // Rows of a table with borders, cells with an inner margin of 5. The control
    // counts a table's structure in its own way, so a table has no length here: a
    // builder that holds one is measured in the control.
    void AppendTable(const std::vector<CTableRow>& rows);

    std::size_t length() const { return length_; }
    // The text as the control holds it, for checking positions without a control: a
    // paragraph ends in a carriage return; a table's cells end in tabs and its rows
    // in carriage returns, and a counter mark is the character 0x01.
    const std::string& plain() const { return plain_; }
    bool empty() const { return body_.empty(); }
    // The whole document: font and colour tables, then what was appended.
    std::string Document() const;
    void Clear();

private:
    // Writes the codes that change the current look to `style`'s, and no others: the
    // control reads every code as a change of its own, which is what costs.
    void SwitchTo(CRunStyle style);

    std::string body_;
    std::string plain_;
    std::size_t length_ = 0;
    int current_ = -1; // the CRunStyle in force in body_, or -1 for the RTF default
};

} // namespace sorbex
