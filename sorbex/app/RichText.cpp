// Formatted text for the editor control that shows result pages: paragraphs of styled
// runs and tables, written as RTF, with every character counted as the control counts it.
#include "app/RichText.h"

namespace sorbex {
namespace {

// Colour numbers of the colour table below.
constexpr const char* kDocumentStart =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red0\\green0\\blue255;"
    "\\red255\\green0\\blue0;\\red127\\green127\\blue127;}\n";
constexpr const char* kDocumentEnd = "}";

// Result lines are Arial 11 pt; the header table Arial 10 pt.
const char* StyleCodes(CRunStyle style) {
    switch (style) {
    case CRunStyle::Label:
        return "\\fs20\\b\\cf1\\highlight2 ";
    case CRunStyle::Value:
        return "\\fs20\\cf1\\highlight2 ";
    case CRunStyle::Greyed:
        return "\\fs20\\cf5\\highlight2 ";
    case CRunStyle::Bar:
    case CRunStyle::Index:
        return "\\fs22\\cf2\\highlight3 ";
    case CRunStyle::Match:
        return "\\fs22\\cf4\\highlight2 ";
    case CRunStyle::Normal:
        break;
    }
    return "\\fs22\\cf1\\highlight2 ";
}

const char* ParagraphCodes(CParagraphStyle style) {
    switch (style) {
    case CParagraphStyle::Bar:
        return "\\pard\\sb80\\sa80";
    case CParagraphStyle::Passage:
        return "\\pard\\fi-1000\\li1000\\tx1000";
    case CParagraphStyle::Listing:
        return "\\pard\\tx3000\\tx5000";
    case CParagraphStyle::Plain:
        break;
    }
    return "\\pard";
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

} // namespace

void CRichTextBuilder::BeginParagraph(CParagraphStyle style) {
    body_ += ParagraphCodes(style);
    body_ += "\\plain\\f0\\fs22 ";
}

void CRichTextBuilder::Append(CRunStyle style, std::string_view text) {
    if (text.empty())
        return;
    body_ += "{\\plain\\f0";
    body_ += StyleCodes(style);
    for (char c : text) {
        AppendEscaped(body_, static_cast<unsigned char>(c));
        plain_ += PlainChar(c);
    }
    body_ += '}';
    length_ += text.size();
}

void CRichTextBuilder::EndParagraph() {
    body_ += "\\par\n";
    plain_ += '\r';
    ++length_;
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
            for (char c : cell.text) {
                AppendEscaped(body_, static_cast<unsigned char>(c));
                plain_ += PlainChar(c);
            }
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
}

} // namespace sorbex
