// The receiver of file texts: the search run, which evaluates the expression on each.
#pragma once

#include <cstddef>

namespace sorbex {

class CTextSink {
public:
    virtual ~CTextSink() = default;

    // Lets waiting window messages through, so that a cancel can arrive between files.
    virtual void ProcessMessages() = 0;
    virtual bool CancelRequested() const = 0;

    // `text` holds `length` cleaned bytes followed by a zero byte; it is only valid
    // during the call. `originFlags` is a combination of the TextOrigin flags.
    virtual void SearchText(const char* text, std::size_t length, int originFlags) = 0;
};

} // namespace sorbex
