// The reader of the launcher's shared text; the add-in never writes it.
#include "host/win32/SharedText.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>

namespace keywright {

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct ViewCloser {
    void operator()(void* view) const { UnmapViewOfFile(view); }
};

} // namespace

int ReadSharedText(std::size_t capacity, std::string* text) {
    std::unique_ptr<void, HandleCloser> mapping(CreateFileMappingW(
        INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSharedTextBytes, kSharedTextName));
    if (!mapping)
        return 1;
    std::unique_ptr<void, ViewCloser> view(
        MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!view)
        return 1;
    // Bounded by the section's size too: a writer that left no NUL must not make
    // us read past the mapping.
    const char* start = static_cast<const char*>(view.get());
    std::size_t limit = std::min(capacity ? capacity - 1 : 0, kSharedTextBytes);
    const char* end = std::find(start, start + limit, '\0');
    text->assign(start, end);
    return 0;
}

} // namespace keywright
