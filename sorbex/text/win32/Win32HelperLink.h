// The converter helper process on Windows: its pipes, read with a time limit, and the
// loader that sends the converters there.
#pragma once

#include <memory>
#include <string>

#include <windows.h>

#include "text/ConverterHelper.h"

namespace sorbex {

// Both ends of the helper's pipes. Given an event, `in` is an overlapped handle: a read
// waits for its data, the limit and the other process's end at once, so that it answers
// as soon as the bytes arrive and never blocks past the limit. Without one the read
// blocks until the bytes arrive or the stream ends, whatever the limit.
class CWin32PipeStream : public CFrameStream {
public:
    CWin32PipeStream() = default;
    CWin32PipeStream(HANDLE in, HANDLE out, HANDLE peer, HANDLE readEvent = nullptr)
        : in_(in), out_(out), peer_(peer), readEvent_(readEvent) {}

    bool Write(const std::string& bytes) override;
    CLinkStatus Read(char* into, std::size_t size, std::uint32_t timeoutMs) override;

private:
    HANDLE in_ = nullptr;
    HANDLE out_ = nullptr;
    HANDLE peer_ = nullptr; // the other process, when this side may outlive it
    HANDLE readEvent_ = nullptr;
};

// The program's side: starts the helper program with its standard input and output
// as the pipes.
class CWin32HelperLink : public CHelperLink {
public:
    explicit CWin32HelperLink(std::string helperPath) : helperPath_(std::move(helperPath)) {}
    ~CWin32HelperLink() override { Stop(); }
    CWin32HelperLink(const CWin32HelperLink&) = delete;
    CWin32HelperLink& operator=(const CWin32HelperLink&) = delete;

    bool Start() override;
    void Stop() override;
    bool Write(const std::string& bytes) override { return stream_.Write(bytes); }
    CLinkStatus Read(char* into, std::size_t size, std::uint32_t timeoutMs) override {
        return stream_.Read(into, size, timeoutMs);
    }

private:
    std::string helperPath_;
    HANDLE process_ = nullptr;
    HANDLE toHelper_ = nullptr;
    HANDLE fromHelper_ = nullptr; // overlapped
    HANDLE readEvent_ = nullptr;
    CWin32PipeStream stream_;
};

// The converter libraries loaded into this process, as the helper runs them.
std::unique_ptr<CConverterLoader> MakeInProcessConverterLoader();

// The converters in the helper program at `helperPath`, given up past `limits`.
std::unique_ptr<CConverterLoader> MakeHelperConverterLoader(const std::string& helperPath,
                                                            const CHelperLimits& limits);

// The helper program beside this program's file; empty when it is not there.
std::string FindConverterHelper();

} // namespace sorbex
