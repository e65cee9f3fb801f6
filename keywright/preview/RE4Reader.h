// The registry-file reader: parses a registry export file ("REGEDIT4", or the
// version-5 header) into a CRE4Tree with one token of lookahead, and on failure
// tells on which line it stopped.
#pragma once

#include "preview/RE4Input.h"
#include "preview/RE4Token.h"
#include "preview/RE4Tokenizer.h"
#include "preview/RE4Tree.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace keywright {

// The sizes the preview and the command line read with.
constexpr std::size_t kRE4BufferSize = 8192;
// A value name or key name holds at most this many characters.
constexpr std::size_t kRE4NameLimit = 511;

class CRE4Reader {
public:
    CRE4Reader(std::size_t inputBufferSize, std::size_t wordBufferSize, std::size_t keyBufferSize,
               RE4ProgressFn progress, std::uint32_t reportStep, void* progressContext,
               RE4TraceFn trace, void* traceContext, unsigned traceFlags);

    // The whole tree, or null when the file can't be opened or isn't valid; then
    // Line() tells where parsing stopped (1 when the file could not be opened).
    std::unique_ptr<CRE4Tree> ParseFile(const char* path);
    // The same for bytes in memory.
    std::unique_ptr<CRE4Tree> ParseBytes(const void* data, std::size_t size);

    std::uint32_t Line() const { return line_; }
    RE4Error Error() const { return error_; }

private:
    std::unique_ptr<CRE4Tree> Parse(RE4Input& input);

    // The productions; each returns false when the file fails it.
    bool RE4File();
    bool KeyDefs();
    bool KeyDef();
    bool ValueDefs();
    bool ValueDef();
    bool ValueName();
    bool HexType();
    bool BinData();

    bool Expect(RE4Token kind);
    bool Fail(RE4Error why);
    bool Recognised(const char* production);

    const std::size_t inputBufferSize_;
    const std::size_t wordBufferSize_;
    const std::size_t keyBufferSize_;
    RE4ProgressFn progress_;
    std::uint32_t reportStep_;
    void* progressContext_;
    RE4TraceFn trace_;
    void* traceContext_;
    unsigned traceFlags_;

    // For the length of one parse.
    RE4Input* input_ = nullptr;
    std::unique_ptr<RE4Tokenizer> tokenizer_;
    RE4Token lookahead_ = RE4Token::kInvalid;
    std::unique_ptr<CRE4Tree> tree_;
    CRE4Key* currentKey_ = nullptr;
    std::string keyPath_;
    std::string valueName_;
    std::uint32_t hexType_ = 0;
    std::vector<std::uint8_t> bytes_; // only grows, and serves every hex value of the file

    std::uint32_t line_ = 1;
    RE4Error error_ = RE4Error::kNone;
};

} // namespace keywright
