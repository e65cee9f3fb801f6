// The converted-document cache as the text loader sees it: texts that converters
// produced, kept per file while the file is unchanged.
#pragma once

#include <cstddef>
#include <string>

namespace sorbex {

class CTextCache {
public:
    virtual ~CTextCache() = default;

    // True when an entry exists for `dir` + `name` whose recorded size and times are
    // the file's current ones. `negative` then says whether it is empty: converters
    // produced nothing for this version of the file.
    virtual bool Lookup(const std::string& dir, const std::string& name, bool& negative) = 0;
    // The text of the entry the last Lookup found; false on any error.
    virtual bool Read(std::string& text) = 0;
    // Records the file's current size and times with `text`; `length` 0 records a
    // negative entry. Failures are reported, never shown.
    virtual bool Store(const std::string& dir, const std::string& name, const char* text,
                       std::size_t length) = 0;
};

} // namespace sorbex
