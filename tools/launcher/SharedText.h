// The launcher's side of the shared text "REGURL_THINGY".
#pragma once

#include <windows.h>

#include <string>

namespace kwlaunch {

// Owns the named memory while the add-in reads it.
class SharedText {
public:
    SharedText() = default;
    ~SharedText();
    SharedText(const SharedText&) = delete;
    SharedText& operator=(const SharedText&) = delete;

    // Writes `text`, cut to fit with its NUL. Returns false when the memory could not
    // be created or mapped.
    bool Write(const std::string& text);

private:
    HANDLE mapping_ = nullptr;
};

} // namespace kwlaunch
