// A supplier of a file's text other than its raw bytes: the document cache and the
// word-processor converters, and the internal HTML and RTF readers.
#pragma once

#include <string>

namespace sorbex {

struct CTextLoadOptions {
    bool replaceMode = false; // converted texts cannot be written back, so sources may decline
    bool useInternalFilter = false;
    bool useExternalFilter = false;
};

class CTextSource {
public:
    virtual ~CTextSource() = default;

    // Fills `text` and `originFlags` and returns true when this source gives the file's
    // text; false leaves the file to the next source and finally to its raw bytes.
    virtual bool LoadText(const std::string& path, const CTextLoadOptions& options,
                          std::string& text, int& originFlags) = 0;
};

} // namespace sorbex
