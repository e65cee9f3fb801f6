// Fuzz target: the undo journal's record readers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "undo/UndoRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // What was read writes back to a record that reads the same.
    sorbex::CUndoKept kept;
    if (sorbex::ParseKept(text, kept)) {
        sorbex::CUndoKept back;
        if (!sorbex::ParseKept(sorbex::FormatKept(kept), back) || back.path != kept.path ||
            back.oldSize != kept.oldSize || back.oldHash != kept.oldHash ||
            back.attributes != kept.attributes)
            std::abort();
    }
    sorbex::CUndoLeft left;
    if (sorbex::ParseLeft(text, left)) {
        sorbex::CUndoLeft back;
        if (!sorbex::ParseLeft(sorbex::FormatLeft(left), back) || back.size != left.size ||
            back.writeTime != left.writeTime || back.hash != left.hash)
            std::abort();
    }
    sorbex::CUndoWalkRecord walk;
    if (sorbex::ParseWalkRecord(text, walk)) {
        sorbex::CUndoWalkRecord back;
        if (!sorbex::ParseWalkRecord(sorbex::FormatWalkRecord(walk), back) ||
            back.started != walk.started)
            std::abort();
    }
    return 0;
}
