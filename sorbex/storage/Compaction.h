// Compacting a compound file: a fresh copy of its root, swapped in for the original.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/CompoundStorage.h"
#include "platform/FileSystem.h"

namespace sorbex {

// The folder part of `path` with its trailing separator; empty for a bare name.
std::string DirectoryOf(const std::string& path);

// Whether `free` bytes leave room for a copy of `needed` bytes: a copy can come out
// somewhat larger than what it holds, so a fifth more is asked for.
bool HasRoomForCopy(std::uint64_t free, std::uint64_t needed);

enum class CompactResult {
    kCopyFailed,    // the copy could not be written; the original is untouched and open
    kReplaceFailed, // the original was released, but the copy did not take its place
    kReplaced,      // the copy now stands at the original's path
};

// Copies everything `root` holds into a new compound file at `temp`, where removed
// streams take no space. Only after the copy is committed is `release` called to let
// go of the original (and `root` with it); then the original is removed and the copy
// renamed to `path`. A copy that failed is removed again.
CompactResult CompactCompoundFile(kestrix::FileSystem& fs, kestrix::CompoundFiles& files,
                                  kestrix::Storage& root, const std::string& path,
                                  const std::string& temp, const std::function<void()>& release);

} // namespace sorbex
