// Converters run in a helper process: the helper's loop that calls the libraries, and
// the program's side that asks it, so that a converter that crashes, hangs or answers
// without end ends only the helper and costs only the file it was converting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "text/ConverterProtocol.h"
#include "text/TextConverter.h"

namespace sorbex {

// The helper's side: answers the requests arriving on `stream` with the libraries of
// `loader`, one loaded at a time, until the program closes the stream.
void ServeConverterRequests(CFrameStream& stream, CConverterLoader& loader);

// The program's end of the link to one helper process.
class CHelperLink : public CFrameStream {
public:
    // Starts a helper when none runs; false when none can be started.
    virtual bool Start() = 0;
    // Ends the helper at once, a hung one included; the next Start starts a new one.
    virtual void Stop() = 0;
};

// Why the helper was given up during a call.
enum class CHelperFailure {
    Crashed,  // the helper ended in the middle of the call
    Hung,     // no answer within the time limit
    TooLarge, // the answer was longer than the limit, or no answer at all
};

struct CHelperLimits {
    std::uint32_t callMs = 10000;                // loading, starting, checking the format
    std::uint32_t convertMs = 60000;             // converting one file
    std::size_t maxRtf = std::size_t(256) << 20; // the RTF of one file
};

// The program's side: a loader whose libraries live in the helper. A failure stops the
// helper, makes the module's calls fail (the file is then read as its bytes), and is
// reported with the file it happened on.
class CHelperConverterLoader : public CConverterLoader {
public:
    CHelperConverterLoader(CHelperLink& link, CHelperLimits limits = {});
    ~CHelperConverterLoader() override;

    std::unique_ptr<CConverterModule> Load(const std::string& libraryPath) override;

    // Called for each failure with the library and the file (empty while loading).
    std::function<void(const std::string& library, const std::string& file, CHelperFailure)>
        failed;

private:
    class CModule;
    friend class CModule;

    // Sends one request and waits for its answer; false for a No answer and for any
    // failure, which stops the helper and is reported.
    bool Call(CHelperKind kind, const std::string& payload, std::uint32_t timeoutMs,
              std::size_t maxAnswer, const std::string& library, const std::string& file,
              std::string* answer);

    CHelperLink& link_;
    CHelperLimits limits_;
    // Counts the helpers started; a module belongs to the one that loaded it.
    std::uint64_t generation_ = 0;
    bool running_ = false;
};

} // namespace sorbex
