// The registry-file parser: one recognising function per production.
#include "preview/RE4Reader.h"

#include "platform/Registry.h"

#include <new>
#include <string_view>

namespace keywright {

namespace {

// hex() names no type; like hex: and a type the reader cannot take from the file
// (hex(00000002)), it reads as binary data.
constexpr std::uint32_t kDefaultHexType = kestrix::kRegBinary;

bool SegmentsFit(std::string_view path) {
    for (;;) {
        const std::size_t end = path.find('\\');
        if (path.substr(0, end).size() > kRE4NameLimit)
            return false;
        if (end == std::string_view::npos)
            return true;
        path.remove_prefix(end + 1);
    }
}

} // namespace

CRE4Reader::CRE4Reader(std::size_t inputBufferSize, std::size_t wordBufferSize,
                       std::size_t keyBufferSize, RE4ProgressFn progress, std::uint32_t reportStep,
                       void* progressContext, RE4TraceFn trace, void* traceContext,
                       unsigned traceFlags)
    : inputBufferSize_(inputBufferSize), wordBufferSize_(wordBufferSize),
      keyBufferSize_(keyBufferSize), progress_(progress), reportStep_(reportStep),
      progressContext_(progressContext), trace_(trace), traceContext_(traceContext),
      traceFlags_(traceFlags) {}

std::unique_ptr<CRE4Tree> CRE4Reader::ParseFile(const char* path) {
    line_ = 1;
    error_ = RE4Error::kNone;
    RE4Input input(inputBufferSize_, progress_, reportStep_, progressContext_);
    if (!input.OpenFile(path)) {
        error_ = RE4Error::kCannotOpen;
        return nullptr;
    }
    return Parse(input);
}

std::unique_ptr<CRE4Tree> CRE4Reader::ParseBytes(const void* data, std::size_t size) {
    line_ = 1;
    error_ = RE4Error::kNone;
    RE4Input input(inputBufferSize_, progress_, reportStep_, progressContext_);
    input.OpenBytes(data, size);
    return Parse(input);
}

std::unique_ptr<CRE4Tree> CRE4Reader::Parse(RE4Input& input) {
    input_ = &input;
    bool parsed = false;
    try {
        tokenizer_ = std::make_unique<RE4Tokenizer>(input, wordBufferSize_, trace_, traceContext_,
                                                    traceFlags_);
        tree_ = std::make_unique<CRE4Tree>();
        keyPath_.reserve(keyBufferSize_);
        bytes_.reserve(kRE4BufferSize);
        parsed = RE4File();
    } catch (const std::bad_alloc&) {
        // A file that asks for more memory than there is fails like a broken one.
        line_ = input.Line();
        error_ = RE4Error::kOutOfMemory;
    }
    tokenizer_.reset();
    input_ = nullptr;
    currentKey_ = nullptr;
    bytes_.clear();
    if (!parsed) {
        tree_.reset();
        return nullptr;
    }
    line_ = input.Line();
    return std::move(tree_);
}

bool CRE4Reader::Fail(RE4Error why) {
    error_ = why;
    line_ = tokenizer_->TokenLine();
    return false;
}

bool CRE4Reader::Expect(RE4Token kind) {
    if (lookahead_ != kind)
        return Fail(lookahead_ == RE4Token::kInvalid ? tokenizer_->Invalid()
                                                     : RE4Error::kUnexpectedToken);
    if (kind != RE4Token::kEOF)
        lookahead_ = tokenizer_->Next();
    return true;
}

bool CRE4Reader::Recognised(const char* production) {
    if ((traceFlags_ & kRE4TraceProductions) && trace_) {
        const std::string line = std::string("-----> ") + production + " <------";
        trace_(line.c_str(), traceContext_);
    }
    return true;
}

bool CRE4Reader::RE4File() {
    lookahead_ = tokenizer_->Next();
    if (!Expect(RE4Token::kFileMarker) || !KeyDefs() || !Expect(RE4Token::kEOF))
        return false;
    input_->CheckProgress();
    return Recognised("RE4File");
}

bool CRE4Reader::KeyDefs() {
    do {
        if (!KeyDef())
            return false;
    } while (lookahead_ == RE4Token::kKey);
    return Recognised("KeyDefs");
}

bool CRE4Reader::KeyDef() {
    if (lookahead_ == RE4Token::kKey) {
        const std::string& path = tokenizer_->Text();
        if (path.size() >= keyBufferSize_)
            return Fail(RE4Error::kKeyLineTooLong);
        if (!SegmentsFit(path))
            return Fail(RE4Error::kSegmentTooLong);
        keyPath_ = path;
    }
    if (!Expect(RE4Token::kKey))
        return false;
    currentKey_ = tree_->CreateKey(keyPath_);
    if ((lookahead_ == RE4Token::kQuotedString || lookahead_ == RE4Token::kAtSign) && !ValueDefs())
        return false;
    return Recognised("KeyDef");
}

bool CRE4Reader::ValueDefs() {
    do {
        if (!ValueDef())
            return false;
    } while (lookahead_ == RE4Token::kQuotedString || lookahead_ == RE4Token::kAtSign);
    return Recognised("ValueDefs");
}

bool CRE4Reader::ValueDef() {
    if (!ValueName() || !Expect(RE4Token::kEQ))
        return false;
    switch (lookahead_) {
    case RE4Token::kDwordType: {
        if (!Expect(RE4Token::kDwordType) || !Expect(RE4Token::kColon))
            return false;
        if (lookahead_ == RE4Token::kDwordVal) {
            const std::uint32_t number = tokenizer_->Number();
            const std::uint8_t data[4] = {
                static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
            tree_->AddValue(currentKey_, valueName_, kestrix::kRegDword, data, 4);
        }
        if (!Expect(RE4Token::kDwordVal))
            return false;
        break;
    }
    case RE4Token::kBinary:
        if (!HexType() || !Expect(RE4Token::kColon))
            return false;
        if (lookahead_ == RE4Token::kByteVal && !BinData())
            return false;
        tree_->AddValue(currentKey_, valueName_, hexType_, bytes_.data(),
                        static_cast<std::uint32_t>(bytes_.size()));
        bytes_.clear();
        break;
    case RE4Token::kQuotedString:
        // "name"=- deletes a value and adds nothing. The minus itself is passed over
        // like any punctuation, so without this look back a deletion followed by a
        // line "other"=... would take the next name for its data.
        if (tokenizer_->MinusBefore())
            break;
        {
            const std::string& text = tokenizer_->Text();
            // With its terminating zero.
            tree_->AddValue(currentKey_, valueName_, kestrix::kRegSz, text.c_str(),
                            static_cast<std::uint32_t>(text.size() + 1));
        }
        if (!Expect(RE4Token::kQuotedString))
            return false;
        break;
    default:
        // The right side of a deletion ("name"=-) adds nothing and consumes nothing.
        break;
    }
    return Recognised("ValueDef");
}

bool CRE4Reader::ValueName() {
    if (lookahead_ == RE4Token::kAtSign) {
        valueName_.clear();
    } else if (lookahead_ == RE4Token::kQuotedString) {
        if (tokenizer_->Text().size() > kRE4NameLimit)
            return Fail(RE4Error::kNameTooLong);
        valueName_ = tokenizer_->Text();
    } else {
        return Fail(RE4Error::kUnexpectedToken);
    }
    lookahead_ = tokenizer_->Next();
    return Recognised("ValueName");
}

bool CRE4Reader::HexType() {
    if (!Expect(RE4Token::kBinary))
        return false;
    hexType_ = kDefaultHexType;
    if (lookahead_ == RE4Token::kLeftParen) {
        if (!Expect(RE4Token::kLeftParen))
            return false;
        if (lookahead_ == RE4Token::kValueType) {
            hexType_ = tokenizer_->Number();
            lookahead_ = tokenizer_->Next();
        } else if (lookahead_ == RE4Token::kDwordVal) {
            // Eight digits name no type this reader knows: the data are binary.
            lookahead_ = tokenizer_->Next();
        }
        if (!Expect(RE4Token::kRightParen))
            return false;
    }
    return Recognised("HexType");
}

bool CRE4Reader::BinData() {
    for (;;) {
        if (lookahead_ != RE4Token::kByteVal)
            return Expect(RE4Token::kByteVal);
        bytes_.push_back(static_cast<std::uint8_t>(tokenizer_->Number()));
        lookahead_ = tokenizer_->Next();
        if (lookahead_ != RE4Token::kComma)
            break;
        // A comma must be followed by a byte.
        lookahead_ = tokenizer_->Next();
    }
    return Recognised("BinData");
}

} // namespace keywright
