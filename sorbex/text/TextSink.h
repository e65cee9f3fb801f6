// The receiver of file texts: the search run, which evaluates the expression on each.
#pragma once

#include <memory>
#include <string>

namespace sorbex {

class CTextSink {
public:
    virtual ~CTextSink() = default;

    // Lets waiting window messages through, so that a cancel can arrive between files.
    virtual void ProcessMessages() = 0;
    virtual bool CancelRequested() const = 0;

    // `text` holds the cleaned bytes (and, as every string, a zero byte after them). The
    // sink may keep the text beyond the call; the loader then reads the next file into
    // a buffer of its own. `originFlags` is a combination of the TextOrigin flags.
    virtual void SearchText(const std::shared_ptr<const std::string>& text, int originFlags) = 0;
};

} // namespace sorbex
