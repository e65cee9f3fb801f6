// Writing a bookmark file into a folder and reading the location back from one, with
// the add-in's messages for what fails on disk.
#pragma once

#include "bookmarks/UrlFile.h"
#include "host/LocationEncoding.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <optional>
#include <string>

namespace keywright {

// The results of CreateURLFile, as the system's S_OK and E_FAIL.
constexpr std::int32_t kUrlFileWritten = 0;
constexpr std::int32_t kUrlFileFailed = static_cast<std::int32_t>(0x80004005u);

// Writes the bookmark of `list.location` into `folder`: named `list.fileName` when the
// list has a usable one, else made from the location. An existing file of that name is
// replaced. `writtenPath` gets the file's path. Failures are shown and give
// kUrlFileFailed; a file whose writing failed is removed.
std::int32_t CreateURLFile(kestrix::FileSystem& fs, const LocationList& list,
                           const std::string& folder, std::string& writtenPath,
                           const ShowText& show);

// The location held by the bookmark file at `path`; nothing when the file holds no
// reg: link, or (shown) when it cannot be opened or read.
std::optional<std::string> ReadBookmarkFile(kestrix::FileSystem& fs, const std::string& path,
                                            const ShowText& show,
                                            std::size_t capacity = kMaxLocation);

// "\n\n" and the system's text for `error`, the end of every message about the disk.
std::string WithSystemText(const std::string& message, const kestrix::OsError& error);

} // namespace keywright
