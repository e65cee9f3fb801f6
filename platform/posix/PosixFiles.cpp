// Descriptors, complete writes and the one atomic replace of the POSIX implementations.
#include "platform/posix/PosixFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace kestrix::posix {

namespace {

OsError Failed(const char* function, const std::string& path, ErrorCode code, int error) {
    return MakeOsError(function, path, code ? code(error) : error);
}

} // namespace

void FileDescriptor::Reset(int fd) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

bool FileDescriptor::Close() {
    return fd_ < 0 || ::close(std::exchange(fd_, -1)) == 0;
}

OsError WriteAll(int fd, const void* data, std::size_t size, const std::string& path,
                 ErrorCode code) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Failed("write", path, code, errno);
        }
        if (n == 0)
            return Failed("write", path, code, ENOSPC);
        done += static_cast<std::size_t>(n);
    }
    return {};
}

OsError ReplaceFile(const std::string& path, const void* data, std::size_t size,
                    const ReplaceOptions& options) {
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = dir + "." + base + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    FileDescriptor fd(::mkstemp(name.data()));
    if (!fd.valid())
        return Failed("mkstemp", path, options.code, errno);
    temp = name.data();

    OsError error = WriteAll(fd.get(), data, size, temp, options.code);
    if (!error && ::fchmod(fd.get(), options.mode & 07777) != 0)
        error = Failed("fchmod", temp, options.code, errno);
    if (!error && ::fsync(fd.get()) != 0)
        error = Failed("fsync", temp, options.code, errno);
    if (!error && options.beforeRename)
        error = options.beforeRename(fd.get(), temp);
    if (!error && !options.keepOpen && !fd.Close())
        error = Failed("close", temp, options.code, errno);
    if (!error && ::rename(temp.c_str(), path.c_str()) != 0)
        error = Failed("rename", path, options.code, errno);
    if (error) {
        ::unlink(temp.c_str());
        return error;
    }
    // Makes the rename itself survive a crash; the file is already whole either way.
    FileDescriptor folder(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid())
        ::fsync(folder.get());
    if (options.keepOpen)
        *options.keepOpen = std::move(fd);
    return {};
}

} // namespace kestrix::posix
