// The file-system seam on POSIX systems.
#include "platform/posix/PosixFileSystem.h"

#include "platform/posix/PosixFiles.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif
#include <unistd.h>

namespace kestrix {
namespace {

// 100-nanosecond ticks since 1601, the unit the stored file times use everywhere.
std::uint64_t TicksSince1601(std::int64_t seconds, long nanoseconds) {
    constexpr std::int64_t kEpochDifference = 11644473600LL; // 1601 to 1970 in seconds
    const std::int64_t s = seconds + kEpochDifference;
    if (s < 0)
        return 0;
    return static_cast<std::uint64_t>(s) * 10000000ULL +
           static_cast<std::uint64_t>(nanoseconds / 100);
}

void StatusFromStat(const struct stat& st, FileStatus& status) {
    status = FileStatus();
    status.isDirectory = S_ISDIR(st.st_mode);
    status.attributes = static_cast<std::uint32_t>(st.st_mode);
    status.size = status.isDirectory || st.st_size < 0 ? 0 : static_cast<std::uint64_t>(st.st_size);
    status.lastWriteTime = TicksSince1601(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    status.creationTime = TicksSince1601(st.st_ctim.tv_sec, st.st_ctim.tv_nsec);
}

// The birth time is the true creation time where the file system keeps one.
void StatusFromStatx(const struct statx& sx, FileStatus& status) {
    status = FileStatus();
    status.isDirectory = S_ISDIR(sx.stx_mode);
    status.attributes = sx.stx_mode;
    status.size = status.isDirectory ? 0 : sx.stx_size;
    status.lastWriteTime = TicksSince1601(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
    if (sx.stx_mask & STATX_BTIME)
        status.creationTime = TicksSince1601(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec);
    else
        status.creationTime = TicksSince1601(sx.stx_ctime.tv_sec, sx.stx_ctime.tv_nsec);
}

std::string WithSeparator(std::string dir) {
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

// mkdir -p for the cache directory; an existing directory is success.
bool MakeDirectories(const std::string& dir) {
    for (std::size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos != dir.size() && dir[pos] != '/')
            continue;
        const std::string part = dir.substr(0, pos);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st {};
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Whether a new file made by this process could be given `st`'s owner.
bool CanGiveOwner(const struct stat& st) {
    const uid_t user = ::geteuid();
    return user == 0 || user == st.st_uid;
}

#ifdef __linux__
// Copies the extended attributes (ACLs among them) of `from` to the open file `fd`.
// Attributes the user may not set (another user's security labels) cannot be kept by
// any rewrite and are left out; every other failure is the caller's.
OsError CopyExtendedAttributes(const std::string& from, int fd, const std::string& temp) {
    ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
    if (size <= 0)
        return {};
    std::vector<char> names(static_cast<std::size_t>(size));
    size = ::listxattr(from.c_str(), names.data(), names.size());
    if (size < 0)
        return LastOsError("listxattr", from);
    std::vector<char> value;
    for (ssize_t at = 0; at < size; at += static_cast<ssize_t>(std::strlen(&names[at])) + 1) {
        const char* name = &names[at];
        const ssize_t length = ::getxattr(from.c_str(), name, nullptr, 0);
        if (length < 0)
            continue;
        value.resize(static_cast<std::size_t>(length) + 1);
        const ssize_t got = ::getxattr(from.c_str(), name, value.data(), value.size());
        if (got < 0)
            continue;
        if (::fsetxattr(fd, name, value.data(), static_cast<std::size_t>(got), 0) != 0 &&
            errno != EPERM && errno != ENOTSUP)
            return LastOsError("fsetxattr", temp);
    }
    return {};
}
#endif

// Gives the new file `fd` the old file's owner, group, mode and extended attributes.
// A group the user cannot give it drops the set-group-id bit rather than granting that
// group's rights under the user's group.
OsError TakeIdentity(int fd, const std::string& temp, const std::string& from,
                     const struct stat& original) {
    mode_t mode = original.st_mode & 07777;
    if (::fchown(fd, original.st_uid, original.st_gid) != 0) {
        if (::fchown(fd, static_cast<uid_t>(-1), original.st_gid) != 0)
            mode &= ~static_cast<mode_t>(S_ISGID);
        if (::geteuid() != original.st_uid)
            mode &= ~static_cast<mode_t>(S_ISUID);
    }
    // A change of owner clears the set-id bits, so the mode is set after it.
    if (::fchmod(fd, mode) != 0)
        return LastOsError("fchmod", temp);
#ifdef __linux__
    return CopyExtendedAttributes(from, fd, temp);
#else
    static_cast<void>(from);
    return {};
#endif
}

constexpr std::size_t kReadAlignment = 64;
constexpr std::size_t kReadChunkBytes = 128u << 10;

// Each thread's chunk for reads into a buffer that is not aligned; null where there is
// no memory for it, and the file is then read straight into its buffer.
char* AlignedReadChunk() {
    struct Chunk {
        alignas(kReadAlignment) char bytes[kReadChunkBytes];
    };
    thread_local std::unique_ptr<Chunk> chunk(new (std::nothrow) Chunk);
    return chunk ? chunk->bytes : nullptr;
}

// Read buffers from this size on are backed by large pages where the system offers
// them: a search touches its buffer afresh up to the largest file, and with small pages
// that cost one fault per 4 KiB, more than all its other faults together.
constexpr std::size_t kLargePageBufferBytes = 4u << 20;

void AdviseLargePages(std::string& bytes) {
#ifdef MADV_HUGEPAGE
    if (bytes.capacity() < kLargePageBufferBytes)
        return;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    if (page == 0 || page == static_cast<std::uintptr_t>(-1))
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t begin = (start + page - 1) / page * page;
    const std::uintptr_t end = (start + bytes.capacity()) / page * page;
    // Only advice: where the system has no large pages the buffer works as before.
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    static_cast<void>(bytes);
#endif
}

void ReserveWithLargePages(std::string& bytes, std::size_t capacity) {
    const char* const before = bytes.data();
    bytes.reserve(capacity);
    if (bytes.data() != before)
        AdviseLargePages(bytes);
}

// Reads a regular file into `bytes`. The string keeps its old size until the read
// overwrites it, so that a buffer reused from file to file is not copied, and is
// zero-filled only where it grows. A file is read up to the size it had when opened; one that
// reports no size is read on to its end.
OsError ReadWholeFile(const std::string& path, int dirFd, const char* name, std::string& bytes,
                      FileSystem::ReadWithin* within, const PosixReadTesting& testing) {
    // Without O_NONBLOCK opening a named pipe waits for a writer that may never come;
    // only regular files are read at all, as a pipe or device could deliver for ever.
    constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
    posix::FileDescriptor fd(dirFd >= 0 ? ::openat(dirFd, name, kFlags) : ::open(path.c_str(), kFlags));
    if (fd.get() < 0)
        return LastOsError("open", path);
    std::uint64_t fileSize = 0;
    if (within) {
        // The status GetFileStatus would give, taken from the open file.
        struct statx sx {};
        if (::statx(fd.get(), "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &sx) == 0) {
            StatusFromStatx(sx, within->status);
        } else {
            if (errno != ENOSYS)
                return LastOsError("statx", path);
            struct stat st {};
            if (::fstat(fd.get(), &st) != 0)
                return LastOsError("fstat", path);
            StatusFromStat(st, within->status);
        }
        within->statusKnown = true;
        const auto mode = static_cast<mode_t>(within->status.attributes);
        if (S_ISDIR(mode))
            return MakeOsError("open", path, EISDIR);
        if (!S_ISREG(mode))
            return MakeOsError("open", path, EINVAL);
        fileSize = within->status.size;
        if (fileSize > within->limit) {
            within->tooLarge = true;
            bytes.clear();
            return {};
        }
    } else {
        struct stat st {};
        if (::fstat(fd.get(), &st) != 0)
            return LastOsError("fstat", path);
        if (S_ISDIR(st.st_mode))
            return MakeOsError("open", path, EISDIR);
        if (!S_ISREG(st.st_mode))
            return MakeOsError("open", path, EINVAL);
        fileSize = static_cast<std::uint64_t>(st.st_size > 0 ? st.st_size : 0);
    }
    if (testing.sizeLooked)
        testing.sizeLooked(path);
    try {
        const auto size = static_cast<std::size_t>(fileSize);
        if (size > bytes.capacity()) {
            bytes.clear(); // nothing of the old text is worth copying into a larger block
            ReserveWithLargePages(bytes, size);
        }
        // Large blocks come from the allocator 16 bytes past a page boundary. The
        // system's copy into a destination that is not on a 64-byte boundary took twice
        // the system time on the machines measured, so such a buffer is filled through
        // an aligned chunk that stays in the cache; appending out of it also spares
        // the zero-filling that making room for the read would cost.
        const bool aligned = !testing.chunkAlways &&
                             reinterpret_cast<std::uintptr_t>(bytes.data()) % kReadAlignment == 0;
        char* const chunk = aligned ? nullptr : AlignedReadChunk();
        if (chunk)
            bytes.clear();
        else
            bytes.resize(size);
        std::size_t done = 0;
        char beyond[4096];
        while (true) {
            const bool full = !chunk && done == bytes.size();
            char* into = chunk ? chunk : full ? beyond : &bytes[done];
            std::size_t room = chunk ? kReadChunkBytes : full ? sizeof beyond : bytes.size() - done;
            // The file as it stood when opened is read whole: asking once more for an
            // end that a plain file has already reached would cost a call per file.
            // Files that report no size (as in /proc) are read until they end.
            if (chunk && size > 0 && room > size - done)
                room = size - done;
            const ssize_t n = ::read(fd.get(), into, room);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return LastOsError("read", path);
            }
            if (n == 0)
                break;
            if (chunk)
                bytes.append(chunk, static_cast<std::size_t>(n));
            else if (full)
                bytes.append(beyond, static_cast<std::size_t>(n));
            done += static_cast<std::size_t>(n);
            if (size > 0 && done == size)
                break;
        }
        bytes.resize(done); // a file that shrank since fstat
    } catch (const std::bad_alloc&) {
        bytes.clear();
        bytes.shrink_to_fit();
        return MakeOsError("read", path, ENOMEM);
    } catch (const std::length_error&) {
        bytes.clear();
        bytes.shrink_to_fit();
        return MakeOsError("read", path, ENOMEM);
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

OsError PosixFileSystem::ListDirectory(const std::string& dir, EntryDetail detail,
                                       const std::function<bool(const DirEntry&)>& visit) {
    ForgetReadDirectory();
    struct CloseDirectory {
        void operator()(DIR* handle) const { ::closedir(handle); }
    };
    std::unique_ptr<DIR, CloseDirectory> handle(::opendir(dir.c_str()));
    if (!handle)
        return LastOsError("opendir", dir);
    const int dirFd = ::dirfd(handle.get());
    DirEntry entry; // one record for all entries, so that names reuse its storage
    while (true) {
        errno = 0;
        const dirent* d = ::readdir(handle.get());
        if (!d) {
            if (errno != 0)
                return LastOsError("readdir", dir);
            break;
        }
        if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0)
            continue;
        entry.name.assign(d->d_name);
        // The directory already says what a plain file or folder is; only a link (for
        // its target), a file system that does not say, or a caller who wants sizes
        // and times costs a call per entry.
        if (detail == EntryDetail::TypesOnly && (d->d_type == DT_REG || d->d_type == DT_DIR)) {
            entry.isLink = false;
            entry.isDirectory = d->d_type == DT_DIR;
            entry.size = 0;
            entry.modified = 0;
            entry.attributes = 0;
            entry.statusKnown = false;
        } else {
            // Relative to the open directory, each entry costs the system one name
            // lookup instead of a walk down the whole path.
            struct stat link {};
            if (::fstatat(dirFd, d->d_name, &link, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // vanished since it was listed
            struct stat target = link;
            entry.isLink = S_ISLNK(link.st_mode);
            if (entry.isLink && ::fstatat(dirFd, d->d_name, &target, 0) != 0)
                target = link; // a dangling link is listed as what it is
            entry.isDirectory = S_ISDIR(target.st_mode);
            entry.size = entry.isDirectory ? 0 : static_cast<std::uint64_t>(target.st_size);
            entry.modified = static_cast<std::int64_t>(target.st_mtime);
            entry.attributes = static_cast<std::uint32_t>(target.st_mode);
            entry.statusKnown = true;
        }
        if (!visit(entry))
            break;
    }
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
    ForgetReadDirectory(); // a new search: its folders are looked up anew
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return LastOsError("stat", path);
    if (!S_ISDIR(st.st_mode))
        return MakeOsError("stat", path, ENOTDIR);
    if (::access(path.c_str(), X_OK) != 0)
        return LastOsError("access", path);
    return {};
}

void PosixFileSystem::ForgetReadDirectory() {
    std::lock_guard<std::mutex> lock(readDirMutex_);
    readDirFd_.reset();
    readDir_.clear();
}

void PosixFileSystem::ReserveReadBuffer(std::string& bytes, std::size_t capacity) {
    ReserveWithLargePages(bytes, capacity);
}

OsError PosixFileSystem::ReadFile(const std::string& path, std::string& bytes) {
    return ReadInFolder(path, bytes, nullptr);
}

OsError PosixFileSystem::ReadFileWithin(const std::string& path, std::string& bytes,
                                        ReadWithin& within) {
    within.tooLarge = false;
    within.statusKnown = false;
    return ReadInFolder(path, bytes, &within);
}

OsError PosixFileSystem::ReadInFolder(const std::string& path, std::string& bytes,
                                      ReadWithin* within) {
    // A search reads the files of one folder after another: opening each relative to
    // its folder, held open while the names stay in it, spares the system a walk down
    // the whole path for every file. A listing starts afresh, so a folder renamed or
    // replaced between two searches is looked up again.
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0 || slash + 1 == path.size())
        return ReadWithoutFolder(path, bytes, within);
    std::shared_ptr<const posix::FileDescriptor> folder;
    {
        std::lock_guard<std::mutex> lock(readDirMutex_);
        if (!readDirFd_ || path.compare(0, slash, readDir_) != 0 || readDir_.size() != slash) {
            readDir_.assign(path, 0, slash);
            auto opened = std::make_shared<const posix::FileDescriptor>(
                ::open(readDir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            readDirFd_ = opened->valid() ? std::move(opened) : nullptr;
            if (!readDirFd_)
                readDir_.clear();
        }
        folder = readDirFd_;
    }
    // The plain open reports whatever is wrong with the path.
    if (!folder)
        return ReadWithoutFolder(path, bytes, within);
    OsError error =
        ReadWholeFile(path, folder->get(), path.c_str() + slash + 1, bytes, within, testing_);
    if (error)
        bytes.clear();
    return error;
}

OsError PosixFileSystem::ReadWithoutFolder(const std::string& path, std::string& bytes,
                                           ReadWithin* within) {
    OsError error = ReadWholeFile(path, -1, nullptr, bytes, within, testing_);
    if (error)
        bytes.clear();
    return error;
}

OsError PosixFileSystem::ReplaceFileContent(const std::string& path, const std::string& bytes) {
    // A symbolic link stays a link; what changes is the file it names.
    const std::string target = posix::FollowLinks(path);
    struct stat original {};
    if (::stat(target.c_str(), &original) != 0)
        return LastOsError("stat", path);
    if (!S_ISREG(original.st_mode))
        return MakeOsError("stat", path, S_ISDIR(original.st_mode) ? EISDIR : EINVAL);
    // The new file takes the old one's place by a rename, which asks only for a writable
    // folder: whether the user may change this file is asked here, of the file itself.
    posix::FileDescriptor file(::open(target.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid())
        return LastOsError("open", path);
    // A file with several names, or one whose owner a new file could not be given,
    // is overwritten where it is, so that it stays the same file for every name and user.
    if (original.st_nlink > 1 || !CanGiveOwner(original))
        return posix::RewriteInPlace(file.get(), path, bytes);
    file.Reset();

    posix::ReplaceOptions options;
    options.mode = original.st_mode;
    options.beforeRename = [&](int fd, const std::string& temp) {
        return TakeIdentity(fd, temp, target, original);
    };
    return posix::ReplaceFile(target, bytes.data(), bytes.size(), options);
}

OsError PosixFileSystem::GetFileIdentity(const std::string& path, FileIdentity& identity) {
    identity = FileIdentity();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return LastOsError("stat", path);
    identity.volume = static_cast<std::uint64_t>(st.st_dev);
    identity.index = static_cast<std::uint64_t>(st.st_ino);
    return {};
}

OsError PosixFileSystem::GetFileStatus(const std::string& path, FileStatus& status) {
    status = FileStatus();
    struct statx sx {};
    // A search asks for the status of the file it has just read: relative to that
    // file's folder, still held open, the system looks up one name instead of a path.
    int dirFd = AT_FDCWD;
    const char* name = path.c_str();
    std::shared_ptr<const posix::FileDescriptor> folder;
    const std::size_t slash = path.rfind('/');
    {
        std::lock_guard<std::mutex> lock(readDirMutex_);
        if (readDirFd_ && slash != std::string::npos && slash + 1 < path.size() &&
            readDir_.size() == slash && path.compare(0, slash, readDir_) == 0) {
            folder = readDirFd_;
            dirFd = folder->get();
            name = path.c_str() + slash + 1;
        }
    }
    // The birth time is the true creation time where the file system keeps one.
    const int got = ::statx(dirFd, name, 0, STATX_BASIC_STATS | STATX_BTIME, &sx);
    if (got != 0) {
        if (errno != ENOSYS)
            return LastOsError("statx", path);
        // Kernels and sandboxes without the call still have stat().
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            return LastOsError("stat", path);
        StatusFromStat(st, status);
        return {};
    }
    StatusFromStatx(sx, status);
    return {};
}

OsError PosixFileSystem::FreeSpace(const std::string& path, std::uint64_t& bytes) {
    bytes = 0;
    struct statvfs vfs {};
    if (::statvfs(path.c_str(), &vfs) != 0)
        return LastOsError("statvfs", path);
    bytes = static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
    return {};
}

OsError PosixFileSystem::RemoveFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0)
        return LastOsError("unlink", path);
    return {};
}

OsError PosixFileSystem::RenameFile(const std::string& from, const std::string& to) {
    ForgetReadDirectory(); // `from` may be the folder held open
    // rename() would silently replace `to`; the Windows move refuses, and so do we.
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0)
        return MakeOsError("rename", to, EEXIST);
    if (::rename(from.c_str(), to.c_str()) != 0)
        return LastOsError("rename", from);
    return {};
}

OsError PosixFileSystem::WriteWholeFile(const std::string& path, const std::string& bytes,
                                        bool& created) {
    created = false;
    posix::FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd.valid())
        return LastOsError("open", path);
    created = true;
    OsError error = posix::WriteAll(fd.get(), bytes.data(), bytes.size(), path);
    if (!error && !fd.Close())
        error = LastOsError("close", path);
    if (error)
        ::unlink(path.c_str());
    return error;
}

OsError PosixFileSystem::MakeDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) != 0)
        return LastOsError("mkdir", path);
    return {};
}

OsError PosixFileSystem::RemoveEmptyDirectory(const std::string& path) {
    ForgetReadDirectory(); // the folder may be the one held open
    if (::rmdir(path.c_str()) != 0)
        return LastOsError("rmdir", path);
    return {};
}

OsError PosixFileSystem::OpenExclusively(const std::string& path) {
    // POSIX has no share modes; an advisory lock is what cooperating programs hold.
    posix::FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        return LastOsError("open", path);
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return LastOsError("flock", path);
    ::flock(fd.get(), LOCK_UN);
    return {};
}

std::string PosixFileSystem::ProgramDirectory() {
    std::vector<char> buffer(PATH_MAX);
    while (true) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return "./";
        if (static_cast<std::size_t>(n) < buffer.size()) {
            std::string path(buffer.data(), static_cast<std::size_t>(n));
            return path.substr(0, path.rfind('/') + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<std::string> PosixFileSystem::CacheDirectories() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && xdg[0] == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        base = WithSeparator(home) + ".cache";
    if (base.empty())
        return {};
    const std::string dir = WithSeparator(base) + "sorbex/";
    if (!MakeDirectories(dir))
        return {};
    return {dir};
}

int PosixFileSystem::CompareNames(const std::string& a, const std::string& b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    // Sorting a file list compares paths that share long beginnings: the equal bytes
    // are passed eight at a time before any folding.
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x = 0;
        std::uint64_t y = 0;
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x != y)
            break;
    }
    for (; i < n; ++i) {
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
