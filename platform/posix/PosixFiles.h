// The POSIX file primitives the platform's implementations share: one owned descriptor,
// writing everything, and replacing a file's content in one step.
#pragma once

#include "platform/OsError.h"

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>

namespace kestrix::posix {

// One owned file descriptor, closed when the wrapper goes; movable, never copied.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { Reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            Reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    // Closes the descriptor held (if any) and takes `fd`.
    void Reset(int fd = -1);
    // Closes it and says whether the system reported the close as clean (a file system
    // may report a failed write only here).
    bool Close();

private:
    int fd_;
};

// Turns an errno value into the code a caller reports; the compound files report
// storage codes, the file system the errno itself.
using ErrorCode = long (*)(int error);

// Writes all `size` bytes, going on after short writes and interruptions. A write that
// makes no progress is reported as a full disk.
OsError WriteAll(int fd, const void* data, std::size_t size, const std::string& path,
                 ErrorCode code = nullptr);

struct ReplaceOptions {
    mode_t mode = 0600; // the new file's permissions
    ErrorCode code = nullptr;
    // Runs on the complete, flushed new file just before it takes the old one's place
    // (the compound files move their share locks to it there).
    std::function<OsError(int fd, const std::string& temp)> beforeRename;
    // Receives the new file, still open, instead of closing it.
    FileDescriptor* keepOpen = nullptr;
};

// The file `path` finally names: a symbolic link is followed to its target, so that a
// rewrite changes the target and the link stays a link. A path that is no link, or a
// link whose target cannot be resolved, is returned as it is.
std::string FollowLinks(const std::string& path);

// Writes the bytes into a new file beside `path` (rename is atomic only within one file
// system), flushes it, renames it over `path` and flushes the folder, so that `path` is
// always either the old file or the whole new one. On failure the new file is removed.
// A symbolic link at `path` is followed: the new file takes its target's place.
OsError ReplaceFile(const std::string& path, const void* data, std::size_t size,
                    const ReplaceOptions& options);

// Overwrites the open file `fd` (opened for reading and writing) with `bytes`, for a
// file that must stay the same file: every hard link sees the change. The old content
// is read first and written back when the rewrite fails half way; room for a longer
// content is taken before anything is overwritten, so a full disk changes nothing.
// Errors name `path`.
OsError RewriteInPlace(int fd, const std::string& path, const std::string& bytes);

} // namespace kestrix::posix
