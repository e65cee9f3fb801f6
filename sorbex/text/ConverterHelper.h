// Converters run in a helper process: the helper's loop that calls the libraries, and
// the program's side that asks it, so that a converter that crashes, hangs or answers
// without end ends only the helper and costs only the file it was converting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "platform/FileSystem.h"
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
using CHelperFailure = CConverterFailure;

// How long the program waits for the helper, and how much it takes from it.
constexpr std::uint32_t kHelperCallMs = 10000;    // loading, starting, checking the format
constexpr std::uint32_t kHelperConvertMs = 60000; // converting one file
constexpr std::size_t kHelperMaxRtf = std::size_t(256) << 20; // the RTF of one file

struct CHelperLimits {
    std::uint32_t callMs = kHelperCallMs;
    std::uint32_t convertMs = kHelperConvertMs;
    std::size_t maxRtf = kHelperMaxRtf;
};

// The program's side: a loader whose libraries live in the helper. A failure stops the
// helper, makes the module's calls fail (the file is then read as its bytes), and is
// reported with the file it happened on. The failure is remembered: that library is not
// run on that file again while the file keeps its size and time (`files` tells them;
// without it, for as long as the loader lives), and a library that failed while loading
// is not loaded again.
class CHelperConverterLoader : public CConverterLoader {
public:
    CHelperConverterLoader(CHelperLink& link, CHelperLimits limits = {},
                           kestrix::FileSystem* files = nullptr);
    ~CHelperConverterLoader() override;

    std::unique_ptr<CConverterModule> Load(const std::string& libraryPath) override;
    void SetFailureHandler(CConverterFailureHandler handler) override {
        failed = std::move(handler);
    }

    // Called for each failure with the library and the file (empty while loading).
    CConverterFailureHandler failed;

private:
    class CModule;
    friend class CModule;

    // Sends one request and waits for its answer; false for a No answer and for any
    // failure, which stops the helper and is reported.
    bool Call(CHelperKind kind, const std::string& payload, std::uint32_t timeoutMs,
              std::size_t maxAnswer, const std::string& library, const std::string& file,
              std::string* answer);

    // The file's size and time as the failure memory compares them.
    std::pair<std::uint64_t, std::uint64_t> Stamp(const std::string& file);
    // True when `library` failed on `file` before and the file has not changed since.
    bool FailedBefore(const std::string& library, const std::string& file);

    CHelperLink& link_;
    CHelperLimits limits_;
    kestrix::FileSystem* files_;
    std::map<std::pair<std::string, std::string>, std::pair<std::uint64_t, std::uint64_t>>
        failedFiles_;
    std::set<std::string> failedLibraries_;
    // Counts the helpers started; a module belongs to the one that loaded it.
    std::uint64_t generation_ = 0;
    bool running_ = false;
};

} // namespace sorbex
