// The writer of the shared text; its handle keeps the content alive until it closes.
#include "SharedText.h"

#include <algorithm>
#include <cstring>

namespace kwlaunch {

namespace {

constexpr DWORD kSize = 4096;

} // namespace

SharedText::~SharedText() {
    if (mapping_)
        CloseHandle(mapping_);
}

bool SharedText::Write(const std::string& text) {
    if (!mapping_)
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize,
                                      "REGURL_THINGY");
    if (!mapping_)
        return false;
    void* view = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    if (!view)
        return false;
    std::size_t length = std::min<std::size_t>(text.size(), kSize - 1);
    std::memcpy(view, text.data(), length);
    static_cast<char*>(view)[length] = '\0';
    UnmapViewOfFile(view);
    return true;
}

} // namespace kwlaunch
