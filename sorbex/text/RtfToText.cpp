// The internal RTF reader: the visible text of a Rich Text Format document.
#include "text/RtfToText.h"
#include "platform/HexDigit.h"

#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "text/RtfKeywords.h"
#include "text/RtfTokenizer.h"

namespace sorbex {
namespace {

enum class Destination : unsigned char { Normal, Skip, FieldInstruction };
enum class InputState : unsigned char { Normal, Binary, Hex };

// What a group saves and its closing brace restores. Formatting properties change
// nothing in the text, so they are not kept.
struct SavedState {
    Destination destination;
    InputState input;
};

class RtfReader {
public:
    explicit RtfReader(std::string_view rtf) : tokenizer_(rtf) { result_.text.reserve(rtf.size()); }

    RtfReadResult Read();

private:
    // Each returns false when the reading must stop; `result_` then says why.
    bool OnToken(const RtfToken& token);
    bool OnCloseGroup(const RtfToken& token);
    bool OnByte(const RtfToken& token);
    void OnControl(const RtfToken& token);
    void OnDestination(const RtfKeyword& keyword);
    void OnSpecial(const RtfKeyword& keyword);
    void WriteCharacter(unsigned char byte);
    void Stop(RtfStop stop, std::size_t position);

    RtfTokenizer tokenizer_;
    RtfReadResult result_;
    std::vector<SavedState> groups_;
    Destination destination_ = Destination::Normal;
    InputState input_ = InputState::Normal;
    std::int32_t binaryLeft_ = 0;
    std::int32_t lastParameter_ = 0;
    bool skipIfUnlisted_ = false;
    int hexValue_ = 0;
    int hexDigitsLeft_ = 2;
};

RtfReadResult RtfReader::Read() {
    for (;;) {
        if (input_ == InputState::Binary) {
            unsigned char byte = 0;
            if (!tokenizer_.NextRaw(byte))
                break;
            WriteCharacter(byte);
            continue;
        }
        const RtfToken token = tokenizer_.Next();
        if (token.kind == RtfTokenKind::End || !OnToken(token))
            break;
    }
    return std::move(result_);
}

void RtfReader::Stop(RtfStop stop, std::size_t position) {
    result_.stop = stop;
    result_.position = position;
}

bool RtfReader::OnToken(const RtfToken& token) {
    switch (token.kind) {
    case RtfTokenKind::OpenGroup:
        try {
            groups_.push_back({destination_, input_});
        } catch (const std::bad_alloc&) {
            Stop(RtfStop::OutOfMemory, token.position);
            return false;
        }
        input_ = InputState::Normal;
        return true;
    case RtfTokenKind::CloseGroup:
        return OnCloseGroup(token);
    case RtfTokenKind::Control:
        OnControl(token);
        return true;
    case RtfTokenKind::Byte:
        return OnByte(token);
    case RtfTokenKind::Truncated:
        Stop(RtfStop::TruncatedControl, token.position);
        return false;
    case RtfTokenKind::End:
        break;
    }
    return false;
}

bool RtfReader::OnCloseGroup(const RtfToken& token) {
    if (groups_.empty()) {
        Stop(RtfStop::UnbalancedBrace, token.position);
        return false;
    }
    const SavedState saved = groups_.back();
    groups_.pop_back();
    // A field instruction is enclosed in braces: its "{" was written by "\fldinst".
    if (destination_ == Destination::FieldInstruction && saved.destination != destination_)
        result_.text += '}';
    destination_ = saved.destination;
    input_ = saved.input;
    return true;
}

bool RtfReader::OnByte(const RtfToken& token) {
    if (input_ != InputState::Hex) {
        WriteCharacter(token.byte);
        return true;
    }
    const int digit = kestrix::HexDigitValue(static_cast<char>(token.byte));
    if (digit < 0) {
        Stop(RtfStop::BadHexDigit, token.position);
        return false;
    }
    hexValue_ = hexValue_ * 16 + digit;
    if (--hexDigitsLeft_ == 0) {
        input_ = InputState::Normal;
        WriteCharacter(static_cast<unsigned char>(hexValue_));
        hexValue_ = 0;
        hexDigitsLeft_ = 2;
        tokenizer_.SkipBlank();
    }
    return true;
}

void RtfReader::OnControl(const RtfToken& token) {
    if (token.hasParameter)
        lastParameter_ = token.parameter;
    const RtfKeyword* keyword = LookUpRtfKeyword(token.name);
    if (!keyword) {
        // "{\*\unknown ...}": a destination this reader does not know is not text.
        if (skipIfUnlisted_)
            destination_ = Destination::Skip;
        skipIfUnlisted_ = false;
        return;
    }
    skipIfUnlisted_ = false;
    switch (keyword->kind) {
    case RtfKeywordKind::Character:
        WriteCharacter(static_cast<unsigned char>(keyword->byte));
        break;
    case RtfKeywordKind::Destination:
        OnDestination(*keyword);
        break;
    case RtfKeywordKind::Property:
        break;
    case RtfKeywordKind::Special:
        OnSpecial(*keyword);
        break;
    }
}

void RtfReader::OnDestination(const RtfKeyword& keyword) {
    if (destination_ == Destination::Skip)
        return;
    switch (keyword.destination) {
    case RtfDestinationKind::Skip:
        destination_ = Destination::Skip;
        break;
    case RtfDestinationKind::Text:
        destination_ = Destination::Normal;
        break;
    case RtfDestinationKind::FieldInstruction:
        result_.text += '{';
        destination_ = Destination::FieldInstruction;
        break;
    }
}

void RtfReader::OnSpecial(const RtfKeyword& keyword) {
    // Binary data must be passed over even where nothing is written, or its bytes
    // would be read as markup.
    if (keyword.special == RtfSpecial::Binary) {
        input_ = InputState::Binary;
        binaryLeft_ = lastParameter_;
        return;
    }
    if (destination_ == Destination::Skip)
        return;
    if (keyword.special == RtfSpecial::SkipIfUnlisted) {
        skipIfUnlisted_ = true;
    } else {
        input_ = InputState::Hex;
        hexValue_ = 0;
        hexDigitsLeft_ = 2;
    }
}

void RtfReader::WriteCharacter(unsigned char byte) {
    if (input_ == InputState::Binary && --binaryLeft_ <= 0)
        input_ = InputState::Normal;
    if (destination_ != Destination::Skip)
        result_.text += static_cast<char>(byte);
}

} // namespace

RtfReadResult ReadRtf(std::string_view rtf) {
    return RtfReader(rtf).Read();
}

std::string RtfToText(std::string_view rtf) {
    return ReadRtf(rtf).text;
}

} // namespace sorbex
