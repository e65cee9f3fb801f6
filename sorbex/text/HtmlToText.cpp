// The internal HTML reader: the text of an HTML file as the search engine sees it.
#include "text/HtmlToText.h"

#include <initializer_list>
#include <utility>

#include "text/HtmlEntities.h"
#include "text/HtmlTokenizer.h"

namespace sorbex {
namespace {

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> words) {
    for (std::string_view word : words)
        if (text == word)
            return true;
    return false;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool IsLineBreakTag(std::string_view tag) {
    return IsOneOf(tag, {"br", "tr", "/tr", "dd", "dt", "dl", "/dl", "ol", "/ol", "ul", "/ul",
                         "/select"}) ||
           StartsWith(tag, "select");
}

bool IsParagraphTag(std::string_view tag) {
    return IsOneOf(tag, {"p", "/p", "/title", "/table", "address", "/address", "/form", "h1", "h2",
                         "h3", "h4", "h5", "h6", "/h1", "/h2", "/h3", "/h4", "/h5", "/h6"}) ||
           StartsWith(tag, "table") || StartsWith(tag, "form") || StartsWith(tag, "hr");
}

// The writing side: the text and the two runs that decide where blanks and line
// breaks may go. Both runs start as if a paragraph had just ended, so that nothing
// but a list item's "- " comes before the first text byte.
class HtmlTextWriter {
public:
    explicit HtmlTextWriter(std::size_t capacity) { text_.reserve(capacity); }

    void Tag(std::string_view tag);
    void Blank();
    void VerbatimControl(unsigned char byte, std::size_t readPosition);
    void Reference(std::string_view name);
    void Text(unsigned char byte);

    bool verbatim() const { return verbatim_; }
    bool skipping() const { return skipping_; }
    std::string Take() { return std::move(text_); }

private:
    void DropTrailingTab();
    void LineBreak();
    void KeepOneTrailingLineBreak();

    std::string text_;
    int lineBreaks_ = 2;
    int blanks_ = 1;
    bool verbatim_ = false;
    bool skipping_ = false;
};

void HtmlTextWriter::DropTrailingTab() {
    if (!text_.empty() && text_.back() == '\t')
        text_.pop_back();
}

void HtmlTextWriter::LineBreak() {
    text_ += "\r\n";
    ++lineBreaks_;
    ++blanks_;
}

// A list item after an empty line starts on the next line instead: the line breaks at
// the end (CR LF, or LF alone from preformatted text) are cut down to the first.
void HtmlTextWriter::KeepOneTrailingLineBreak() {
    std::size_t end = text_.size();
    std::size_t firstBreak = end; // start of the earliest break of the trailing run
    int breaks = 0;
    while (end > 0 && text_[end - 1] == '\n') {
        --end;
        if (end > 0 && text_[end - 1] == '\r')
            --end;
        firstBreak = end;
        ++breaks;
    }
    // A run that reaches the start of the text is left alone.
    if (breaks < 2 || firstBreak == 0)
        return;
    std::size_t keep = firstBreak + 1;
    if (text_[firstBreak] == '\r')
        ++keep;
    text_.resize(keep);
}

void HtmlTextWriter::Tag(std::string_view tag) {
    if (tag == "pre" || tag == "blockquote") {
        verbatim_ = true;
        return;
    }
    if (tag == "/pre" || tag == "/blockquote")
        verbatim_ = false;
    else if (verbatim_)
        return;

    if (StartsWith(tag, "option")) {
        if (lineBreaks_ == 0) {
            text_ += " - ";
            blanks_ = 1;
        }
    } else if (tag == "li") {
        if (lineBreaks_ == 0) {
            DropTrailingTab();
            text_ += "\r\n";
        } else if (lineBreaks_ >= 2) {
            KeepOneTrailingLineBreak();
        }
        text_ += "- ";
        blanks_ = 1;
        lineBreaks_ = 0;
    } else if (IsLineBreakTag(tag)) {
        if (lineBreaks_ == 0) {
            DropTrailingTab();
            LineBreak();
        }
    } else if (IsParagraphTag(tag)) {
        if (lineBreaks_ < 2) {
            const bool afterText = lineBreaks_ == 0;
            DropTrailingTab();
            LineBreak();
            if (afterText)
                LineBreak();
        }
    } else if (tag == "/td" || tag == "/th") {
        if (lineBreaks_ == 0) {
            text_ += '\t';
            ++blanks_;
        }
    } else if (StartsWith(tag, "script") || StartsWith(tag, "applet") || StartsWith(tag, "style")) {
        skipping_ = true;
    } else if (tag == "/script" || tag == "/applet" || tag == "/style") {
        skipping_ = false;
    }
}

void HtmlTextWriter::Blank() {
    if (blanks_ == 0) {
        text_ += ' ';
        blanks_ = 1;
    }
}

void HtmlTextWriter::VerbatimControl(unsigned char byte, std::size_t readPosition) {
    if (byte == '\n') {
        if (lineBreaks_ < 2) {
            // CR LF where the text has fallen two bytes behind the HTML, as the
            // in-place conversion this mirrors could afford; LF alone otherwise.
            if (readPosition >= text_.size() + 2)
                text_ += '\r';
            text_ += '\n';
            ++lineBreaks_;
            ++blanks_;
        }
    } else if (byte == '\t') {
        text_ += '\t';
        ++blanks_;
    }
}

void HtmlTextWriter::Reference(std::string_view name) {
    lineBreaks_ = 0;
    blanks_ = 0;
    if (const auto byte = LookUpHtmlEntity(name))
        text_ += static_cast<char>(*byte);
}

void HtmlTextWriter::Text(unsigned char byte) {
    text_ += static_cast<char>(byte);
    lineBreaks_ = 0;
    blanks_ = 0;
}

} // namespace

std::string HtmlToText(std::string_view html) {
    HtmlTokenizer tokenizer(html);
    HtmlTextWriter writer(html.size() + html.size() / 4 + 2);
    for (;;) {
        const std::size_t position = tokenizer.Position();
        const HtmlToken token = tokenizer.Next(writer.skipping());
        switch (token.kind) {
        case HtmlTokenKind::End:
            return writer.Take();
        case HtmlTokenKind::Nothing:
            break;
        case HtmlTokenKind::Tag:
            writer.Tag(token.text);
            break;
        case HtmlTokenKind::Reference:
            writer.Reference(token.text);
            break;
        case HtmlTokenKind::Byte:
            if (writer.skipping())
                break;
            if (token.byte <= ' ' && !writer.verbatim())
                writer.Blank();
            else if (token.byte < ' ' && writer.verbatim())
                writer.VerbatimControl(token.byte, position);
            else
                writer.Text(token.byte);
            break;
        }
    }
}

} // namespace sorbex
