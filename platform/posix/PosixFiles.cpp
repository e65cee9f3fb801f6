// Descriptors, complete writes and the one atomic replace of the POSIX implementations.
#include "platform/posix/PosixFiles.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace kestrix::posix {

namespace {

// Holds back the signals that end a program (interrupt, terminate, hang-up) while a new
// file stands beside the old one: one that came meanwhile is delivered once the new file
// has taken the old one's place or is gone, so that no half-made file is left behind.
class TerminationSignalsHeld {
public:
    TerminationSignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        sigaddset(&held, SIGINT);
        sigaddset(&held, SIGTERM);
        sigaddset(&held, SIGHUP);
        sigaddset(&held, SIGQUIT);
        active_ = ::pthread_sigmask(SIG_BLOCK, &held, &saved_) == 0;
    }
    ~TerminationSignalsHeld() {
        if (active_)
            ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
    }
    TerminationSignalsHeld(const TerminationSignalsHeld&) = delete;
    TerminationSignalsHeld& operator=(const TerminationSignalsHeld&) = delete;

private:
    sigset_t saved_{};
    bool active_ = false;
};

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

std::string FollowLinks(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

OsError ReplaceFile(const std::string& linkPath, const void* data, std::size_t size,
                    const ReplaceOptions& options) {
    const std::string path = FollowLinks(linkPath);
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = dir + "." + base + ".XXXXXX";
    const TerminationSignalsHeld held;
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

namespace {

OsError ReadAllAt(int fd, std::string& bytes, std::size_t size, const std::string& path) {
    bytes.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, &bytes[done], size - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return MakeOsError("read", path, errno);
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return {};
}

OsError WriteAllAt(int fd, const std::string& bytes, const std::string& path) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return MakeOsError("write", path, errno);
        if (n == 0)
            return MakeOsError("write", path, ENOSPC);
        done += static_cast<std::size_t>(n);
    }
    return {};
}

// Writes `bytes` over the file from its start and cuts it to their length.
OsError Overwrite(int fd, const std::string& bytes, const std::string& path) {
    if (OsError e = WriteAllAt(fd, bytes, path))
        return e;
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
        return MakeOsError("ftruncate", path, errno);
    if (::fsync(fd) != 0)
        return MakeOsError("fsync", path, errno);
    return {};
}

} // namespace

OsError RewriteInPlace(int fd, const std::string& path, const std::string& bytes) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return MakeOsError("fstat", path, errno);
    const auto oldSize = static_cast<std::size_t>(st.st_size);
    // The old content, kept until the new one is safely down.
    std::string old;
    if (OsError e = ReadAllAt(fd, old, oldSize, path))
        return e;
    if (bytes.size() > old.size()) {
        const int reserved = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()));
        // A file system that cannot reserve (EOPNOTSUPP, EINVAL) is written unreserved.
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
            // A reservation that failed half way may have grown the file.
            const bool shrunk = ::ftruncate(fd, static_cast<off_t>(old.size())) == 0;
            static_cast<void>(shrunk);
            return MakeOsError("posix_fallocate", path, reserved);
        }
    }
    OsError error = Overwrite(fd, bytes, path);
    if (error)
        Overwrite(fd, old, path); // best effort: the first failure is the one reported
    return error;
}

} // namespace kestrix::posix
