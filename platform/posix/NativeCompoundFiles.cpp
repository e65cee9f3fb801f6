// Compound files on a POSIX disk, kept in memory while open and written whole.
#include "platform/posix/NativeCompoundFiles.h"

#include "platform/compound/MemoryCompoundTree.h"
#include "platform/posix/CfbCodec.h"
#include "platform/posix/PosixFiles.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrix {

namespace {

using namespace StorageMode;

// The storage failure code for an errno, as the system reports the same situation.
long StorageCode(int error, bool writing) {
    switch (error) {
    case ENOENT:
        return StorageError::kFileNotFound;
    case ENOTDIR:
        return StorageError::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return StorageError::kAccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return StorageError::kMediumFull;
    case ENOMEM:
        return StorageError::kInsufficientMemory;
    case EEXIST:
        return StorageError::kFileAlreadyExists;
    default:
        return writing ? StorageError::kWriteFault : StorageError::kReadFault;
    }
}

OsError Errno(const char* function, const std::string& path, bool writing) {
    return MakeOsError(function, path, StorageCode(errno, writing));
}

using Fd = posix::FileDescriptor;

// Share modes as open-file-description locks on bytes far past any real content:
// each open holds a shared lock on the bytes of the access it has and of the access
// it denies, and checks the opposite bytes first. These locks belong to the open
// file, not to the process, so a second open in the same process is refused as one
// from another process is; all of this happens under a short exclusive lock on a
// guard byte so that two opens cannot both pass the check.
constexpr off_t kLockBase = 0x7FFFFF00;
constexpr off_t kGuard = kLockBase;
constexpr off_t kAccessRead = kLockBase + 1;
constexpr off_t kAccessWrite = kLockBase + 2;
constexpr off_t kDenyRead = kLockBase + 3;
constexpr off_t kDenyWrite = kLockBase + 4;

bool Lock(int fd, short type, off_t byte, bool wait) {
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    while (::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) != 0)
        if (errno != EINTR)
            return false;
    return true;
}

// True when another open file holds a lock on `byte`.
bool Held(int fd, off_t byte) {
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    if (::fcntl(fd, F_OFD_GETLK, &lock) != 0)
        return false; // no locks on this file system: nothing to honour
    return lock.l_type != F_UNLCK;
}

struct ShareBytes {
    bool read, write, denyRead, denyWrite;
};

ShareBytes BytesFor(unsigned mode) {
    const unsigned access = mode & 3u, deny = mode & 0x70u;
    return {access != kWrite, access == kWrite || access == kReadWrite,
            deny == kShareExclusive || deny == kShareDenyRead,
            deny == kShareExclusive || deny == kShareDenyWrite};
}

// Takes the share locks of `mode` on `fd`; false when another open forbids it.
bool TakeShareLocks(int fd, unsigned mode, bool canGuard) {
    const ShareBytes b = BytesFor(mode);
    if (canGuard && !Lock(fd, F_WRLCK, kGuard, true))
        return true; // the file system keeps no locks
    bool ok = !(b.read && Held(fd, kDenyRead)) && !(b.write && Held(fd, kDenyWrite)) &&
              !(b.denyRead && Held(fd, kAccessRead)) && !(b.denyWrite && Held(fd, kAccessWrite));
    const std::pair<bool, off_t> wanted[] = {{b.read, kAccessRead},
                                             {b.write, kAccessWrite},
                                             {b.denyRead, kDenyRead},
                                             {b.denyWrite, kDenyWrite}};
    for (const auto& [want, byte] : wanted)
        if (ok && want)
            ok = Lock(fd, F_RDLCK, byte, false);
    if (canGuard)
        Lock(fd, F_UNLCK, kGuard, false);
    return ok;
}

OsError ReadAll(int fd, const std::string& path, std::vector<unsigned char>& bytes) {
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return Errno("fstat", path, false);
    if (!S_ISREG(st.st_mode))
        return MakeOsError("fstat", path, StorageError::kAccessDenied);
    try {
        bytes.resize(static_cast<std::size_t>(st.st_size));
    } catch (const std::bad_alloc&) {
        return MakeOsError("read", path, StorageError::kInsufficientMemory);
    } catch (const std::length_error&) {
        return MakeOsError("read", path, StorageError::kInsufficientMemory);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got =
            ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Errno("read", path, false);
        if (got == 0)
            break; // the file shrank under us: take what is there
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return {};
}

// One compound file on disk while roots are open on it.
class DiskImage final : public compound::Image {
public:
    DiskImage(std::string path, Fd fd, unsigned mode, bool canGuard)
        : path_(std::move(path)), fd_(std::move(fd)), mode_(mode), canGuard_(canGuard) {}

    // Writes the whole tree beside the file, makes it durable and puts it in the
    // file's place in one step; the new file takes over this open's locks first, so
    // that no other open can slip in between. A tree that would write exactly the
    // bytes already on disk leaves the file alone: closing a cache or result file
    // that was only read costs no write and no flush to the disk.
    OsError Persist() override {
        if (temporary())
            return {};
        std::vector<unsigned char> bytes;
        if (OsError e = cfb::Write(*root, path_, bytes))
            return e;
        if (SameAsOnDisk(bytes))
            return {};
        posix::ReplaceOptions options;
        options.code = [](int error) { return StorageCode(error, true); };
        struct stat st;
        options.mode = ::fstat(fd_.get(), &st) == 0 ? st.st_mode : 0600;
        options.beforeRename = [this](int fd, const std::string& temp) {
            return TakeShareLocks(fd, mode_, canGuard_)
                       ? OsError{}
                       : MakeOsError("fcntl", temp, StorageError::kLockViolation);
        };
        Fd out;
        options.keepOpen = &out;
        if (OsError e = posix::ReplaceFile(path_, bytes.data(), bytes.size(), options))
            return e;
        fd_ = std::move(out); // releases the old file's locks
        return {};
    }

    void Released(unsigned) override { fd_.Reset(); }

private:
    bool temporary() const { return path_.empty(); }

    bool SameAsOnDisk(const std::vector<unsigned char>& bytes) const {
        struct stat st;
        if (fd_.get() < 0 || ::fstat(fd_.get(), &st) != 0 ||
            static_cast<std::uint64_t>(st.st_size) != bytes.size())
            return false;
        unsigned char chunk[65536];
        std::size_t done = 0;
        while (done < bytes.size()) {
            const std::size_t want = std::min(sizeof chunk, bytes.size() - done);
            const ssize_t got = ::pread(fd_.get(), chunk, want, static_cast<off_t>(done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0 || std::memcmp(chunk, bytes.data() + done, static_cast<std::size_t>(got)))
                return false;
            done += static_cast<std::size_t>(got);
        }
        return true;
    }

    std::string path_;
    Fd fd_;
    unsigned mode_;
    bool canGuard_;
};

// Opens `path` and takes the share locks of `mode`, making sure that the locked file
// is still the one at `path` (a commit may have replaced it meanwhile).
OsError OpenLocked(const std::string& path, unsigned mode, int flags, Fd& fd, bool& canGuard) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        canGuard = true;
        fd = Fd(::open(path.c_str(), flags | O_RDWR | O_CLOEXEC | O_NONBLOCK, 0666));
        if (fd.get() < 0 && (errno == EACCES || errno == EROFS) && !compound::ModeWrites(mode)) {
            // A file we may only read: the guard byte needs write access.
            canGuard = false;
            fd = Fd(::open(path.c_str(), (flags & ~O_CREAT) | O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        }
        if (fd.get() < 0)
            return Errno("open", path, compound::ModeWrites(mode));
        // Only a regular file holds a compound file: a named pipe or a device would
        // keep the reader waiting for ever, and a rewrite would put a file in its place.
        struct stat opened;
        if (::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
            return MakeOsError("open", path, StorageError::kAccessDenied);
        if (!TakeShareLocks(fd.get(), mode, canGuard))
            return MakeOsError("open", path, StorageError::kShareViolation);
        struct stat held, now;
        if (::fstat(fd.get(), &held) == 0 && ::stat(path.c_str(), &now) == 0 &&
            held.st_ino == now.st_ino && held.st_dev == now.st_dev)
            return {};
        flags &= ~O_EXCL;
    }
    return MakeOsError("open", path, StorageError::kLockViolation);
}

} // namespace

OsError NativeCompoundFiles::Open(const std::string& path, unsigned mode,
                                  std::unique_ptr<Storage>& root) {
    root.reset();
    if (OsError e = compound::CheckRootMode("Open", path, mode))
        return e;
    if (path.empty())
        return MakeOsError("Open", path, StorageError::kInvalidParameter);
    Fd fd;
    bool canGuard = true;
    if (OsError e = OpenLocked(path, mode, 0, fd, canGuard))
        return e;
    std::vector<unsigned char> bytes;
    if (OsError e = ReadAll(fd.get(), path, bytes))
        return e;
    auto image = std::make_shared<DiskImage>(path, std::move(fd), mode, canGuard);
    if (!cfb::LooksLikeCompoundFile(bytes.data(), bytes.size())) {
        // The system's answer for an existing file that is not a compound file; with
        // conversion it opens as an empty storage that replaces the file on commit.
        if (!(mode & kConvert))
            return MakeOsError("Open", path, StorageError::kFileAlreadyExists);
    } else if (OsError e = cfb::Read(bytes, path, *image->root)) {
        return e;
    }
    root = compound::OpenRoot(image, mode, path);
    return {};
}

OsError NativeCompoundFiles::Create(const std::string& path, unsigned mode,
                                    std::unique_ptr<Storage>& root) {
    root.reset();
    if (OsError e = compound::CheckCreateMode(path, mode))
        return e;
    if (path.empty()) {
        // A temporary never needs the disk: it lives in memory until released.
        auto image = std::make_shared<DiskImage>(std::string(), Fd(), mode, false);
        root = compound::OpenRoot(image, mode, path);
        return {};
    }
    const bool replace = (mode & (kCreate | kConvert)) != 0;
    Fd fd;
    bool canGuard = true;
    if (OsError e = OpenLocked(path, mode, O_CREAT | (replace ? 0 : O_EXCL), fd, canGuard)) {
        if (e.code == StorageError::kFileNotFound)
            e.code = StorageError::kPathNotFound; // the directory is missing
        return e;
    }
    auto image = std::make_shared<DiskImage>(path, std::move(fd), mode, canGuard);
    // The new, empty file exists from now on, as the system's does.
    if (OsError e = image->Persist())
        return e;
    root = compound::OpenRoot(image, mode, path);
    return {};
}

bool NativeCompoundFiles::IsCompoundFile(const std::string& path) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st;
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    unsigned char header[512];
    std::size_t done = 0;
    while (done < sizeof header) {
        const ssize_t got = ::read(fd.get(), header + done, sizeof header - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return cfb::LooksLikeCompoundFile(header, done);
}

} // namespace kestrix

namespace kestrix {

CompoundFiles& SystemCompoundFiles() {
    static NativeCompoundFiles files;
    return files;
}

} // namespace kestrix
