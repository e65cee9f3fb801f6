// The file-system seam on POSIX systems.
#include "platform/posix/PosixFileSystem.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrix {
namespace {

OsError ErrorWithCode(const char* function, const std::string& path, long code) {
    OsError e;
    e.function = function;
    e.path = path;
    e.code = code;
    return e;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (!dir.empty() && dir.back() == '/')
        return dir + name;
    return dir + "/" + name;
}

// Closes a descriptor on every path out of a function.
class FdGuard {
public:
    explicit FdGuard(int fd) : fd_(fd) {}
    ~FdGuard() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

OsError WriteAll(int fd, const std::string& bytes, const std::string& path) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return LastOsError("write", path);
        }
        if (n == 0)
            return ErrorWithCode("write", path, ENOSPC);
        done += static_cast<std::size_t>(n);
    }
    return {};
}

} // namespace

FileFailure ClassifyFailure(const OsError& error) {
    switch (error.code) {
    case 0:
        return FileFailure::None;
    case ENOENT:
    case ENOTDIR:
        return FileFailure::NotFound;
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EBUSY:
    case ETXTBSY:
        return FileFailure::Locked;
    case EACCES:
    case EPERM:
    case EROFS:
        return FileFailure::AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileFailure::NoSpace;
    default:
        return FileFailure::Other;
    }
}

long NativeCodeFor(FileFailure failure) {
    switch (failure) {
    case FileFailure::None:
        return 0;
    case FileFailure::NotFound:
        return ENOENT;
    case FileFailure::Locked:
        return EAGAIN;
    case FileFailure::AccessDenied:
        return EACCES;
    case FileFailure::NoSpace:
        return ENOSPC;
    case FileFailure::Other:
        break;
    }
    return EIO;
}

OsError PosixFileSystem::ListDirectory(const std::string& dir,
                                       const std::function<bool(const DirEntry&)>& visit) {
    DIR* handle = ::opendir(dir.c_str());
    if (!handle)
        return LastOsError("opendir", dir);
    while (true) {
        errno = 0;
        const dirent* d = ::readdir(handle);
        if (!d)
            break;
        if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0)
            continue;
        DirEntry entry;
        entry.name = d->d_name;
        const std::string path = JoinPath(dir, entry.name);
        struct stat link {};
        if (::lstat(path.c_str(), &link) != 0)
            continue; // vanished since it was listed
        struct stat target = link;
        if (S_ISLNK(link.st_mode)) {
            entry.isLink = true;
            if (::stat(path.c_str(), &target) != 0)
                target = link; // a dangling link is listed as what it is
        }
        entry.isDirectory = S_ISDIR(target.st_mode);
        entry.size = entry.isDirectory ? 0 : static_cast<std::uint64_t>(target.st_size);
        entry.modified = static_cast<std::int64_t>(target.st_mtime);
        entry.attributes = static_cast<std::uint32_t>(target.st_mode);
        if (!visit(entry))
            break;
    }
    ::closedir(handle);
    return {};
}

OsError PosixFileSystem::FullPath(const std::string& path, std::string& full) {
    std::string absolute;
    if (path.empty() || path[0] != '/') {
        std::vector<char> cwd(PATH_MAX);
        while (!::getcwd(cwd.data(), cwd.size())) {
            if (errno != ERANGE)
                return LastOsError("getcwd", path);
            cwd.resize(cwd.size() * 2);
        }
        absolute = std::string(cwd.data()) + "/" + path;
    } else {
        absolute = path;
    }
    // Lexical, like the Windows call: "." and ".." are folded without asking the disk,
    // so a missing directory still has a full path.
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= absolute.size()) {
        std::size_t slash = absolute.find('/', pos);
        if (slash == std::string::npos)
            slash = absolute.size();
        const std::string part = absolute.substr(pos, slash - pos);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        pos = slash + 1;
    }
    full.clear();
    for (const std::string& part : parts)
        full += "/" + part;
    const bool trailing = !path.empty() && path.back() == '/';
    if (full.empty() || trailing)
        full += "/";
    return {};
}

std::string PosixFileSystem::RootOf(const std::string&) {
    return "/";
}

DriveType PosixFileSystem::DriveTypeOf(const std::string&) {
    return DriveType::Fixed;
}

OsError PosixFileSystem::CheckDirectory(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return LastOsError("stat", path);
    if (!S_ISDIR(st.st_mode))
        return ErrorWithCode("stat", path, ENOTDIR);
    if (::access(path.c_str(), X_OK) != 0)
        return LastOsError("access", path);
    return {};
}

OsError PosixFileSystem::ReadFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    // Without O_NONBLOCK opening a named pipe waits for a writer that may never come;
    // only regular files are read at all, as a pipe or device could deliver for ever.
    FdGuard fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        return LastOsError("open", path);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return LastOsError("fstat", path);
    if (S_ISDIR(st.st_mode))
        return ErrorWithCode("open", path, EISDIR);
    if (!S_ISREG(st.st_mode))
        return ErrorWithCode("open", path, EINVAL);
    try {
        if (st.st_size > 0)
            bytes.reserve(static_cast<std::size_t>(st.st_size));
        char chunk[65536];
        while (true) {
            ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                OsError e = LastOsError("read", path);
                bytes.clear();
                return e;
            }
            if (n == 0)
                break;
            bytes.append(chunk, static_cast<std::size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        bytes.clear();
        bytes.shrink_to_fit();
        return ErrorWithCode("read", path, ENOMEM);
    } catch (const std::length_error&) {
        bytes.clear();
        bytes.shrink_to_fit();
        return ErrorWithCode("read", path, ENOMEM);
    }
    return {};
}

OsError PosixFileSystem::ReplaceFileContent(const std::string& path, const std::string& bytes) {
    struct stat original {};
    if (::stat(path.c_str(), &original) != 0)
        return LastOsError("stat", path);
    if (!S_ISREG(original.st_mode))
        return ErrorWithCode("stat", path, EISDIR);

    // The new file lives beside the old one: rename is atomic only within a file system.
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = dir + "." + base + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    FdGuard fd(::mkstemp(name.data()));
    if (fd.get() < 0)
        return LastOsError("mkstemp", path);
    temp = name.data();

    OsError error = WriteAll(fd.get(), bytes, temp);
    if (!error && ::fchmod(fd.get(), original.st_mode & 07777) != 0)
        error = LastOsError("fchmod", temp);
    if (!error && ::fsync(fd.get()) != 0)
        error = LastOsError("fsync", temp);
    if (!error && ::close(fd.release()) != 0)
        error = LastOsError("close", temp);
    if (!error && ::rename(temp.c_str(), path.c_str()) != 0)
        error = LastOsError("rename", path);
    if (error) {
        ::unlink(temp.c_str());
        return error;
    }
    // Makes the rename itself survive a crash; the file is already whole either way.
    FdGuard dirFd(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0)
        ::fsync(dirFd.get());
    return {};
}

int PosixFileSystem::CompareNames(const std::string& a, const std::string& b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::unique_ptr<FileSystem> MakeSystemFileSystem() {
    return std::make_unique<PosixFileSystem>();
}

} // namespace kestrix
