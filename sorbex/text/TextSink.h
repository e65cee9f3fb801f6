// The receiver of file texts: the search run, which evaluates the expression on each.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "text/TextEncoding.h"

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

    // Called before SearchText with the characters that the text holds as the substitute
    // byte (empty for most files); valid until SearchText returns. Sinks that show
    // excerpts take them from here.
    virtual void SetOutsideCharacters(const std::vector<COutsideCharacter>& outside) {
        static_cast<void>(outside);
    }

    // Called before SearchText with the file's size and times when the loader looked
    // them up to read it, so that a sink showing them need not ask the system again.
    virtual void SetFileStatus(const kestrix::FileStatus& status) { static_cast<void>(status); }
};

} // namespace sorbex
