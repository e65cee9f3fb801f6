// Formatted text for the editor control that shows result pages: paragraphs of styled
// runs and tables, written as RTF, with every character counted as the control counts it.
#include "app/RichText.h"

#include <algorithm>

namespace sorbex {
namespace {

// Colour numbers of the colour table below.
constexpr const char* kDocumentStart =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red0\\green0\\blue255;"
    "\\red255\\green0\\blue0;\\red127\\green127\\blue127;}\n";
constexpr const char* kDocumentEnd = "}";

// The RTF codes of each look, written once.
std::string RunCodes(const CRunLook& look) {
    std::string codes = "\\fs" + std::to_string(look.halfPoints);
    if (look.bold)
        codes += "\\b";
    codes += "\\cf" + std::to_string(static_cast<int>(look.text));
    codes += "\\highlight" + std::to_string(static_cast<int>(look.back)) + " ";
    return codes;
}

std::string ParagraphLookCodes(const CParagraphLook& look) {
    std::string codes = "\\pard";
    if (look.firstLine != 0)
        codes += "\\fi" + std::to_string(look.firstLine);
    if (look.left != 0)
        codes += "\\li" + std::to_string(look.left);
    if (look.spaceBefore != 0)
        codes += "\\sb" + std::to_string(look.spaceBefore);
    if (look.spaceAfter != 0)
        codes += "\\sa" + std::to_string(look.spaceAfter);
    for (int tab : look.tabs)
        codes += "\\tx" + std::to_string(tab);
    return codes;
}

constexpr int kRunStyles = static_cast<int>(CRunStyle::Normal) + 1;
constexpr int kParagraphStyles = static_cast<int>(CParagraphStyle::Plain) + 1;

const std::string& StyleCodes(CRunStyle style) {
    static const std::vector<std::string> codes = [] {
        std::vector<std::string> all;
        for (int s = 0; s < kRunStyles; ++s)
            all.push_back(RunCodes(LookOf(static_cast<CRunStyle>(s))));
        return all;
    }();
    return codes[static_cast<std::size_t>(style)];
}

const std::string& ParagraphCodes(CParagraphStyle style) {
    static const std::vector<std::string> codes = [] {
        std::vector<std::string> all;
        for (int s = 0; s < kParagraphStyles; ++s)
            all.push_back(ParagraphLookCodes(LookOf(static_cast<CParagraphStyle>(s))));
        return all;
    }();
    return codes[static_cast<std::size_t>(style)];
}

// One character of the text as RTF; every byte stays one character of the control's.
void AppendEscaped(std::string& out, unsigned char c) {
    static const char kHex[] = "0123456789abcdef";
    if (c == '\\' || c == '{' || c == '}') {
        out += '\\';
        out += static_cast<char>(c);
    } else if (c == '\t') {
        out += "\\tab ";
    } else if (c < 0x20) {
        out += ' ';
    } else if (c >= 0x80) {
        out += "\\'";
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
    } else {
        out += static_cast<char>(c);
    }
}

char PlainChar(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 && c != '\t' ? ' ' : c;
}

// Whether the byte stands for itself in both the RTF and the plain text.
bool CopiedAsIs(unsigned char c) {
    return c >= 0x20 && c < 0x80 && c != '\\' && c != '{' && c != '}';
}

// Appends `text` to both forms; the runs of bytes that need no escape go in at once, as
// most of a result line's bytes do.
void AppendBoth(std::string& rtf, std::string& plain, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i;
        while (end < text.size() && CopiedAsIs(static_cast<unsigned char>(text[end])))
            ++end;
        if (end > i) {
            rtf.append(text.data() + i, end - i);
            plain.append(text.data() + i, end - i);
            i = end;
            continue;
        }
        AppendEscaped(rtf, static_cast<unsigned char>(text[i]));
        plain += PlainChar(text[i]);
        ++i;
    }
}

} // namespace

CRgb ColourValue(CColour colour) {
    switch (colour) {
    case CColour::Black:
        break;
    case CColour::White:
        return {255, 255, 255};
    case CColour::Blue:
        return {0, 0, 255};
    case CColour::Red:
        return {255, 0, 0};
    case CColour::Grey:
        return {127, 127, 127};
    }
    return {0, 0, 0};
}

// Result lines are Arial 11 pt; the header table Arial 10 pt.
CRunLook LookOf(CRunStyle style) {
    switch (style) {
    case CRunStyle::Label:
        return {20, true, CColour::Black, CColour::White};
    case CRunStyle::Value:
        return {20, false, CColour::Black, CColour::White};
    case CRunStyle::Greyed:
        return {20, false, CColour::Grey, CColour::White};
    case CRunStyle::Bar:
    case CRunStyle::Index:
        return {22, false, CColour::White, CColour::Blue};
    case CRunStyle::Match:
        return {22, false, CColour::Red, CColour::White};
    case CRunStyle::Normal:
        break;
    }
    return {22, false, CColour::Black, CColour::White};
}

CParagraphLook LookOf(CParagraphStyle style) {
    CParagraphLook look;
    switch (style) {
    case CParagraphStyle::Bar:
        look.spaceBefore = look.spaceAfter = 80;
        break;
    case CParagraphStyle::Passage:
        // A hanging indent: the position, then the excerpt, wrapped lines under it.
        look.left = 1000;
        look.firstLine = -1000;
        look.tabs = {1000};
        break;
    case CParagraphStyle::Listing:
        look.tabs = {3000, 5000};
        break;
    case CParagraphStyle::Plain:
        break;
    }
    return look;
}

void CRichTextBuilder::SwitchTo(CRunStyle style) {
    const int next = static_cast<int>(style);
    if (next == current_)
        return;
    // From the default look every code is written; from another look only the changes.
    static const std::vector<std::string> changes = [] {
        std::vector<std::string> all;
        for (int from = 0; from < kRunStyles; ++from) {
            const CRunLook was = LookOf(static_cast<CRunStyle>(from));
            for (int to = 0; to < kRunStyles; ++to) {
                const CRunLook look = LookOf(static_cast<CRunStyle>(to));
                std::string codes;
                if (look.halfPoints != was.halfPoints)
                    codes += "\\fs" + std::to_string(look.halfPoints);
                if (look.bold != was.bold)
                    codes += look.bold ? "\\b" : "\\b0";
                if (look.text != was.text)
                    codes += "\\cf" + std::to_string(static_cast<int>(look.text));
                if (look.back != was.back)
                    codes += "\\highlight" + std::to_string(static_cast<int>(look.back));
                all.push_back(codes.empty() ? codes : codes + " ");
            }
        }
        return all;
    }();
    if (current_ < 0) {
        body_ += "\\plain\\f0";
        body_ += StyleCodes(style);
    } else {
        body_ += changes[static_cast<std::size_t>(current_ * kRunStyles + next)];
    }
    current_ = next;
}

void CRichTextBuilder::BeginParagraph(CParagraphStyle style) {
    // A paragraph's codes leave the characters' look as it was.
    body_ += ParagraphCodes(style);
    body_ += ' ';
}

void CRichTextBuilder::Append(CRunStyle style, std::string_view text) {
    if (text.empty())
        return;
    SwitchTo(style);
    AppendBoth(body_, plain_, text);
    length_ += text.size();
}

void CRichTextBuilder::Append(CRunStyle style, std::string_view text,
                              const std::vector<COutsideCharacter>& outside,
                              std::uint32_t textOffset) {
    auto next = std::lower_bound(
        outside.begin(), outside.end(), textOffset,
        [](const COutsideCharacter& entry, std::uint32_t offset) { return entry.offset < offset; });
    const auto end = static_cast<std::uint32_t>(textOffset + text.size());
    if (next == outside.end() || next->offset >= end) {
        Append(style, text);
        return;
    }
    SwitchTo(style);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto offset = static_cast<std::uint32_t>(textOffset + i);
        while (next != outside.end() && next->offset < offset)
            ++next;
        if (text[i] != kSubstituteByte || next == outside.end() || next->offset != offset) {
            AppendEscaped(body_, static_cast<unsigned char>(text[i]));
            plain_ += PlainChar(text[i]);
            ++length_;
            continue;
        }
        // The control reads "\uN" as UTF-16 unit N (a signed number) and skips the "?"
        // that stands in for readers without Unicode.
        const char32_t c = next->character;
        char16_t units[2] = {static_cast<char16_t>(c), 0};
        std::size_t count = 1;
        if (c >= 0x10000) {
            units[0] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            units[1] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            count = 2;
        }
        for (std::size_t k = 0; k < count; ++k) {
            body_ += "\\u" + std::to_string(static_cast<std::int16_t>(units[k])) + "?";
            plain_ += kSubstituteByte;
        }
        length_ += count;
    }
}

void CRichTextBuilder::EndParagraph() {
    // A paragraph's end has the look of plain text, whatever ended the line.
    SwitchTo(CRunStyle::Normal);
    body_ += "\\par\n";
    plain_ += '\r';
    ++length_;
}

void CRichTextBuilder::Append(const CRichTextBuilder& other) {
    if (other.empty())
        return;
    body_ += other.body_;
    plain_ += other.plain_;
    length_ += other.length_;
    current_ = other.current_;
}

void CRichTextBuilder::AppendTable(const std::vector<CTableRow>& rows) {
    for (const CTableRow& row : rows) {
        body_ += "\\trowd\\trgaph5\\trleft0\\trpaddl5\\trpaddt5\\trpaddr5\\trpaddb5"
                 "\\trpaddfl3\\trpaddft3\\trpaddfr3\\trpaddfb3";
        int right = 0;
        for (const CTableCell& cell : row) {
            right += cell.width;
            body_ += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                     "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\cellx";
            body_ += std::to_string(right);
        }
        body_ += "\n\\pard\\intbl";
        for (const CTableCell& cell : row) {
            body_ += "{\\plain\\f0";
            body_ += StyleCodes(cell.style);
            AppendBoth(body_, plain_, cell.text);
            if (cell.counter && cell.text.empty()) {
                body_ += "\\uc1\\u8203?";
                plain_ += kPlainCounterMark;
            }
            body_ += "}\\cell ";
            plain_ += '\t';
        }
        body_ += "\\row\n";
        plain_ += '\r';
    }
    body_ += "\\pard\n";
    // The cells' groups end with the table; the reader's look is its own again.
    current_ = -1;
}

std::string CRichTextBuilder::Document() const {
    std::string document;
    document.reserve(body_.size() + 256);
    document += kDocumentStart;
    document += body_;
    document += kDocumentEnd;
    return document;
}

void CRichTextBuilder::Clear() {
    body_.clear();
    plain_.clear();
    length_ = 0;
    current_ = -1;
}

} // namespace sorbex
