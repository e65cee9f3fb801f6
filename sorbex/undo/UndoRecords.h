// The undo journal's record files: what a walk kept of each file, read and written as text.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace sorbex {

// The format's version; a reader refuses records of another one rather than guess.
constexpr int kUndoFormatVersion = 1;

// What was kept of a file just before the walk rewrote it ("F<n>.rec").
struct CUndoKept {
    std::string path;
    std::uint64_t oldSize = 0;
    std::uint64_t oldHash = 0;
    std::uint32_t attributes = 0; // as the file had them, which its rewrite kept
};

// The file as the rewrite left it ("F<n>.new").
struct CUndoLeft {
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0; // FILETIME ticks
    std::uint64_t hash = 0;
};

// The walk's own record ("walk.txt").
struct CUndoWalkRecord {
    std::int64_t started = 0; // seconds since 1970
};

std::string FormatKept(const CUndoKept& kept);
std::string FormatLeft(const CUndoLeft& left);
std::string FormatWalkRecord(const CUndoWalkRecord& walk);

// False for a record of another kind or version, or one that misses a field.
bool ParseKept(const std::string& text, CUndoKept& kept);
bool ParseLeft(const std::string& text, CUndoLeft& left);
bool ParseWalkRecord(const std::string& text, CUndoWalkRecord& walk);

} // namespace sorbex
