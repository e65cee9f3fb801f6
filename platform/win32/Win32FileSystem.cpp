// The file-system seam on Windows, through the wide-character API.
#include "platform/win32/Win32FileSystem.h"

#include <memory>
#include <new>
#include <vector>

#include <windows.h>

#include "platform/win32/AnsiText.h"

namespace kestrix {
namespace {

// Closes a file or search handle on every path out of a function.
class HandleGuard {
public:
    HandleGuard(HANDLE handle, BOOL(WINAPI* close)(HANDLE)) : handle_(handle), close_(close) {}
    ~HandleGuard() { reset(); }
    HandleGuard(const HandleGuard&) = delete;
    HandleGuard& operator=(const HandleGuard&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Closes now and reports whether the system accepted it.
    bool reset() {
        bool ok = true;
        if (handle_ != INVALID_HANDLE_VALUE)
            ok = close_(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE handle_;
    BOOL(WINAPI* close_)(HANDLE);
};

std::int64_t UnixSeconds(const FILETIME& time) {
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return SecondsSince1970(ticks);
}

// Where short names are not generated, a long name has no alias either; only a name
// that fits the 8.3 form really is its own short name.
bool FitsShortForm(const std::wstring& name) {
    const std::size_t dot = name.find(L'.');
    const std::size_t base = dot == std::wstring::npos ? name.size() : dot;
    const std::size_t extension = dot == std::wstring::npos ? 0 : name.size() - dot - 1;
    if (base == 0 || base > 8 || extension > 3)
        return false;
    if (dot != std::wstring::npos && name.find(L'.', dot + 1) != std::wstring::npos)
        return false;
    for (wchar_t c : name)
        if (c <= L' ' || c == 0x7F || wcschr(L"\"*+,/:;<=>?[\\]|", c))
            return false;
    return true;
}

// The wide form of `path` for the system's calls. A name that ends in a dot or a blank
// exists (made through the extended form, or by another system) but loses that end on
// the way through the ordinary form, which then names another file or none; such a path
// goes in the extended form, which the system takes as it is. Paths with "." or ".."
// steps, and relative ones, keep the ordinary form that resolves them.
std::wstring SystemPath(const std::string& path) {
    std::wstring wide = WideFromAnsi(path);
    const bool drive = wide.size() >= 3 && wide[1] == L':' && (wide[2] == L'\\' || wide[2] == L'/');
    const bool share = wide.size() >= 3 && (wide[0] == L'\\' || wide[0] == L'/') &&
                       (wide[1] == L'\\' || wide[1] == L'/') && wide[2] != L'?' && wide[2] != L'.';
    if (!drive && !share)
        return wide;
    std::wstring extended = share ? L"\\\\?\\UNC" : L"\\\\?\\";
    bool needed = false;
    std::size_t start = share ? 2 : 0;
    while (start <= wide.size()) {
        std::size_t end = wide.find_first_of(L"\\/", start);
        if (end == std::wstring::npos)
            end = wide.size();
        const std::wstring step = wide.substr(start, end - start);
        if (step == L"." || step == L"..")
            return wide;
        if (!step.empty()) {
            if (step.back() == L'.' || step.back() == L' ')
                needed = true;
            if (!(extended.size() == 4 && !share))
                extended += L'\\';
            extended += step;
        }
        start = end + 1;
    }
    if (!wide.empty() && (wide.back() == L'\\' || wide.back() == L'/'))
        extended += L'\\';
    return needed ? extended : wide;
}

bool EndsInSeparator(const std::string& path) {
    return !path.empty() && IsPathSeparator(path.back());
}

OsError WriteAll(HANDLE file, const std::string& bytes, const std::string& path) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        const DWORD chunk = left > 0x100000 ? 0x100000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            return LastOsError("WriteFile", path);
        if (written == 0)
            return MakeOsError("WriteFile", path, ERROR_DISK_FULL);
        done += written;
    }
    return {};
}

// Reads the whole open file from its start.
OsError ReadAll(HANDLE file, std::string& bytes, const std::string& path) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
        return LastOsError("GetFileSizeEx", path);
    bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return LastOsError("SetFilePointerEx", path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        const DWORD chunk = left > 0x100000 ? 0x100000 : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!::ReadFile(file, &bytes[done], chunk, &got, nullptr))
            return LastOsError("ReadFile", path);
        if (got == 0)
            break;
        done += got;
    }
    bytes.resize(done);
    return {};
}

OsError SetLength(HANDLE file, std::uint64_t length, const std::string& path) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(length);
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !SetEndOfFile(file))
        return LastOsError("SetEndOfFile", path);
    return {};
}

// Writes `bytes` over the open file from its start and cuts it to their length.
OsError Overwrite(HANDLE file, const std::string& bytes, const std::string& path) {
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return LastOsError("SetFilePointerEx", path);
    if (OsError e = WriteAll(file, bytes, path))
        return e;
    if (OsError e = SetLength(file, bytes.size(), path))
        return e;
    if (!FlushFileBuffers(file))
        return LastOsError("FlushFileBuffers", path);
    return {};
}

// Overwrites a file that must stay the same file (several hard links). The old content
// is read first and written back when the rewrite fails half way; the room a longer
// content needs is taken before anything is overwritten.
OsError RewriteInPlace(HANDLE file, const std::string& path, const std::string& bytes) {
    std::string old;
    if (OsError e = ReadAll(file, old, path))
        return e;
    if (bytes.size() > old.size()) {
        if (OsError e = SetLength(file, bytes.size(), path)) {
            SetLength(file, old.size(), path);
            return e;
        }
    }
    OsError error = Overwrite(file, bytes, path);
    if (error)
        Overwrite(file, old, path); // best effort: the first failure is the one reported
    return error;
}

std::uint64_t Ticks(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::string WithSeparator(std::string dir) {
    if (!EndsInSeparator(dir))
        dir += '\\';
    return dir;
}

} // namespace

FileFailure ClassifyFailure(const OsError& error) {
    switch (error.code) {
    case 0:
        return FileFailure::None;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
        return FileFailure::NotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileFailure::Locked;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return FileFailure::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
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
        return ERROR_FILE_NOT_FOUND;
    case FileFailure::Locked:
        return ERROR_SHARING_VIOLATION;
    case FileFailure::AccessDenied:
        return ERROR_ACCESS_DENIED;
    case FileFailure::NoSpace:
        return ERROR_DISK_FULL;
    case FileFailure::Other:
        break;
    }
    return ERROR_GEN_FAILURE;
}

namespace {

// One entry as both ways of listing deliver it. `shortName` is empty where the system
// made no short name.
DirEntry EntryOf(const std::wstring& name, const std::wstring& shortName, DWORD attributes,
                 std::uint64_t size, const FILETIME& lastWrite) {
    DirEntry entry;
    bool lossless = true;
    entry.name = AnsiFromWide(name, &lossless);
    entry.isShortName = shortName.empty() && FitsShortForm(name);
    // A long name with characters outside the code page could never be opened
    // again under its 8-bit form; its short name can.
    if (!lossless && !entry.isShortName) {
        entry.name = AnsiFromWide(shortName);
        entry.isShortName = true;
    }
    entry.attributes = attributes;
    entry.isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.isLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entry.size = entry.isDirectory ? 0 : size;
    entry.modified = UnixSeconds(lastWrite);
    return entry;
}

bool IsDotOrDotDot(const std::wstring& name) {
    return name == L"." || name == L"..";
}

// The record the system fills when it lists a directory together with each entry's
// file index. Declared here because the headers offer it only to programs that need
// Vista or later, while this one still starts on XP.
struct IdBothDirInfo {
    DWORD NextEntryOffset;
    DWORD FileIndex;
    LARGE_INTEGER CreationTime;
    LARGE_INTEGER LastAccessTime;
    LARGE_INTEGER LastWriteTime;
    LARGE_INTEGER ChangeTime;
    LARGE_INTEGER EndOfFile;
    LARGE_INTEGER AllocationSize;
    DWORD FileAttributes;
    DWORD FileNameLength; // bytes
    DWORD EaSize;
    CCHAR ShortNameLength; // bytes
    WCHAR ShortName[12];
    LARGE_INTEGER FileId;
    WCHAR FileName[1];
};

constexpr int kIdBothDirectoryInfo = 10; // FILE_INFO_BY_HANDLE_CLASS
// Large enough that a folder of a few hundred entries comes in one call.
constexpr std::size_t kListingBufferBytes = 64 * 1024;

using InfoByHandleFunction = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

InfoByHandleFunction InfoByHandle() {
    static const InfoByHandleFunction function = reinterpret_cast<InfoByHandleFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"),
                                               "GetFileInformationByHandleEx")));
    return function;
}

enum class IndexedListing { Done, Stopped, Unavailable };

// Lists `dir` through one handle that delivers each entry's file index with its name,
// so that a walk need not open every folder again to learn where it leads. Unavailable
// (before anything was visited) where the call does not exist or the folder cannot be
// opened this way: the caller then lists it the classic way, which reports the failure.
IndexedListing ListWithIndexes(const std::string& dir,
                               const std::function<bool(const DirEntry&)>& visit) {
    const InfoByHandleFunction query = InfoByHandle();
    if (query == nullptr)
        return IndexedListing::Unavailable;
    HandleGuard folder(CreateFileW(SystemPath(WithSeparator(dir)).c_str(),
                                   FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr),
                       CloseHandle);
    if (!folder.valid())
        return IndexedListing::Unavailable;
    // Eight-byte aligned, as the records' 64-bit fields need; not zeroed first.
    const std::unique_ptr<std::uint64_t[]> buffer(
        new std::uint64_t[kListingBufferBytes / sizeof(std::uint64_t)]);
    bool first = true;
    while (true) {
        if (!query(folder.get(), kIdBothDirectoryInfo, buffer.get(),
                   static_cast<DWORD>(kListingBufferBytes))) {
            const DWORD error = GetLastError();
            // An empty drive root has not even "." to deliver.
            if (error == ERROR_NO_MORE_FILES || (first && error == ERROR_FILE_NOT_FOUND))
                return IndexedListing::Done;
            return first ? IndexedListing::Unavailable : IndexedListing::Done;
        }
        first = false;
        const char* at = reinterpret_cast<const char*>(buffer.get());
        while (true) {
            const IdBothDirInfo& info = *reinterpret_cast<const IdBothDirInfo*>(at);
            const std::wstring name(info.FileName, info.FileNameLength / sizeof(WCHAR));
            if (!IsDotOrDotDot(name)) {
                const std::wstring shortName(info.ShortName,
                                             static_cast<std::size_t>(info.ShortNameLength) /
                                                 sizeof(WCHAR));
                FILETIME lastWrite;
                lastWrite.dwLowDateTime = info.LastWriteTime.LowPart;
                lastWrite.dwHighDateTime = static_cast<DWORD>(info.LastWriteTime.HighPart);
                DirEntry entry =
                    EntryOf(name, shortName, info.FileAttributes,
                            static_cast<std::uint64_t>(info.EndOfFile.QuadPart), lastWrite);
                // Some file systems have no indexes and give 0 for every entry.
                entry.index = static_cast<std::uint64_t>(info.FileId.QuadPart);
                entry.indexKnown = entry.index != 0;
                if (!visit(entry))
                    return IndexedListing::Stopped;
            }
            if (info.NextEntryOffset == 0)
                break;
            at += info.NextEntryOffset;
        }
    }
}

} // namespace

OsError Win32FileSystem::ListDirectory(const std::string& dir, EntryDetail,
                                       const std::function<bool(const DirEntry&)>& visit) {
    if (ListWithIndexes(dir, visit) != IndexedListing::Unavailable)
        return {};
    std::string pattern = dir;
    if (!EndsInSeparator(pattern))
        pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAW data;
    HandleGuard find(FindFirstFileW(SystemPath(pattern).c_str(), &data), FindClose);
    if (!find.valid()) {
        // An empty drive root has not even "." to deliver.
        if (GetLastError() == ERROR_FILE_NOT_FOUND)
            return {};
        return LastOsError("FindFirstFileW", dir);
    }
    do {
        const std::wstring name = data.cFileName;
        if (IsDotOrDotDot(name))
            continue;
        const std::uint64_t size =
            (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (!visit(EntryOf(name, data.cAlternateFileName, data.dwFileAttributes, size,
                           data.ftLastWriteTime)))
            break;
    } while (FindNextFileW(find.get(), &data));
    return {};
}

OsError Win32FileSystem::FullPath(const std::string& path, std::string& full) {
    const std::wstring wide = WideFromAnsi(path);
    std::vector<wchar_t> buffer(MAX_PATH);
    while (true) {
        const DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(buffer.size()),
                                         buffer.data(), nullptr);
        if (n == 0)
            return LastOsError("GetFullPathNameW", path);
        if (n < buffer.size()) {
            full = AnsiFromWide(std::wstring(buffer.data(), n));
            return {};
        }
        buffer.resize(n + 1);
    }
}

std::string Win32FileSystem::RootOf(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, 2) + "\\";
    if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
        // \\server\share\ : the root ends after the second component.
        std::size_t pos = 2;
        for (int component = 0; component < 2 && pos < path.size(); ++component) {
            while (pos < path.size() && !IsPathSeparator(path[pos]))
                ++pos;
            if (pos < path.size())
                ++pos;
        }
        std::string root = path.substr(0, pos);
        if (!EndsInSeparator(root))
            root += '\\';
        return root;
    }
    wchar_t current[MAX_PATH];
    const DWORD n = GetCurrentDirectoryW(MAX_PATH, current);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    return RootOf(AnsiFromWide(std::wstring(current, n)));
}

DriveType Win32FileSystem::DriveTypeOf(const std::string& root) {
    switch (GetDriveTypeW(WideFromAnsi(root).c_str())) {
    case DRIVE_FIXED:
    case DRIVE_RAMDISK:
        return DriveType::Fixed;
    case DRIVE_REMOVABLE:
        return DriveType::Removable;
    case DRIVE_CDROM:
        return DriveType::CdRom;
    case DRIVE_REMOTE:
        return DriveType::Remote;
    default:
        return DriveType::Unknown;
    }
}

OsError Win32FileSystem::CheckDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return LastOsError("GetFileAttributesW", path);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return MakeOsError("GetFileAttributesW", path, ERROR_DIRECTORY);
    return {};
}

namespace {

HANDLE OpenForReading(const std::string& path) {
    return CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// Reads the open file as far as the `size` it had when it was looked up (less if it
// shrank since). The buffer keeps its old length until the read overwrites it: a
// buffer reused from file to file is zero-filled only where it grows, not anew for
// every file.
OsError ReadOpenFile(HANDLE file, std::uint64_t size, const std::string& path,
                     std::string& bytes) {
    if (size >= bytes.max_size()) {
        bytes.clear();
        return MakeOsError("ReadFile", path, ERROR_NOT_ENOUGH_MEMORY);
    }
    try {
        const auto length = static_cast<std::size_t>(size);
        if (length > bytes.capacity())
            bytes.clear(); // nothing of the old text is worth copying into a larger block
        bytes.resize(length);
    } catch (const std::bad_alloc&) {
        bytes.clear();
        return MakeOsError("ReadFile", path, ERROR_NOT_ENOUGH_MEMORY);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        const DWORD chunk = left > 0x100000 ? 0x100000 : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!::ReadFile(file, &bytes[done], chunk, &got, nullptr)) {
            OsError e = LastOsError("ReadFile", path);
            bytes.clear();
            return e;
        }
        if (got == 0)
            break; // the file shrank while it was read
        done += got;
    }
    bytes.resize(done);
    return {};
}

} // namespace

// One way to read a file: a limit no file reaches, and the status learnt on the way.
OsError Win32FileSystem::ReadFile(const std::string& path, std::string& bytes) {
    ReadWithin within;
    return ReadFileWithin(path, bytes, within);
}

// The status comes from the open file: one lookup of the path instead of two, and the
// size the limit is held against is the size that is read.
OsError Win32FileSystem::ReadFileWithin(const std::string& path, std::string& bytes,
                                        ReadWithin& within) {
    within.tooLarge = false;
    within.statusKnown = false;
    HandleGuard file(OpenForReading(path), CloseHandle);
    if (!file.valid()) {
        bytes.clear();
        return LastOsError("CreateFileW", path);
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.get(), &info)) {
        OsError e = LastOsError("GetFileInformationByHandle", path);
        bytes.clear();
        return e;
    }
    FileStatus& status = within.status;
    status = FileStatus();
    status.isDirectory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.attributes = info.dwFileAttributes;
    status.size = status.isDirectory
                      ? 0
                      : (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    status.creationTime = Ticks(info.ftCreationTime);
    status.lastWriteTime = Ticks(info.ftLastWriteTime);
    within.statusKnown = true;
    if (status.size > within.limit) {
        within.tooLarge = true;
        bytes.clear();
        return {};
    }
    if (testing_.sizeLooked)
        testing_.sizeLooked(path);
    return ReadOpenFile(file.get(), status.size, path, bytes);
}

std::wstring DosPathFromFinalName(const std::wstring& finalName) {
    const std::wstring unc = L"\\\\?\\UNC\\";
    const std::wstring local = L"\\\\?\\";
    if (finalName.compare(0, unc.size(), unc) == 0)
        return L"\\\\" + finalName.substr(unc.size());
    if (finalName.compare(0, local.size(), local) == 0)
        return finalName.substr(local.size());
    return finalName;
}

namespace {

// The name of the file a symbolic link leads to, through the link's open handle; the
// call exists from Vista on, and is looked up so that the program still starts on XP.
OsError LinkTargetOf(const std::string& path, std::string& target) {
    using FinalPathFunction = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    const auto finalPath = reinterpret_cast<FinalPathFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
    if (finalPath == nullptr)
        return MakeOsError("GetFinalPathNameByHandleW", path, ERROR_NOT_SUPPORTED);
    HandleGuard file(CreateFileW(WideFromAnsi(path).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                     CloseHandle);
    if (!file.valid())
        return LastOsError("CreateFileW", path);
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = finalPath(file.get(), &name[0], static_cast<DWORD>(name.size()), 0);
    if (length >= name.size()) {
        name.resize(length + 1);
        length = finalPath(file.get(), &name[0], static_cast<DWORD>(name.size()), 0);
    }
    if (length == 0 || length >= name.size())
        return LastOsError("GetFinalPathNameByHandleW", path);
    name.resize(length);
    bool lossless = true;
    target = AnsiFromWide(DosPathFromFinalName(name), &lossless);
    // A target the code page cannot spell could not be opened by that spelling.
    if (!lossless)
        return MakeOsError("GetFinalPathNameByHandleW", path, ERROR_INVALID_NAME);
    return {};
}

} // namespace

OsError Win32FileSystem::ReplaceFileContent(const std::string& path, const std::string& bytes) {
    const std::wstring target = SystemPath(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return LastOsError("GetFileAttributesW", path);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return MakeOsError("GetFileAttributesW", path, ERROR_ACCESS_DENIED);
    // A symbolic link stays a link: the file it leads to is the one rewritten, in its
    // own folder and with its own attributes. Putting the new file in place of the
    // link's name would turn the link into a copy and leave the target as it was.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        std::string linked;
        if (const OsError error = LinkTargetOf(path, linked))
            return error;
        const DWORD linkedAttributes = GetFileAttributesW(WideFromAnsi(linked).c_str());
        if (linkedAttributes == INVALID_FILE_ATTRIBUTES)
            return LastOsError("GetFileAttributesW", linked);
        // A final name that is a reparse point still is no file to write (nor to loop on).
        if (linkedAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            return MakeOsError("GetFinalPathNameByHandleW", path, ERROR_CANT_RESOLVE_FILENAME);
        return ReplaceFileContent(linked, bytes);
    }

    // The read-only attribute is the user's own "do not change"; the move that puts a
    // new file in place would not ask for it.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return MakeOsError("CreateFileW", path, ERROR_ACCESS_DENIED);
    // Opening for writing asks the file's access rights, and fails for a file another
    // program holds without sharing; both are found out before anything is written.
    {
        HandleGuard probe(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                          CloseHandle);
        if (!probe.valid())
            return LastOsError("CreateFileW", path);
        // A file with several names stays one file: it is overwritten where it is.
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileInformationByHandle(probe.get(), &info) && info.nNumberOfLinks > 1)
            return RewriteInPlace(probe.get(), path, bytes);
    }

    // The new file lives beside the old one: only a move within one volume is one step.
    std::string dir = path;
    while (!dir.empty() && !IsPathSeparator(dir.back()) && dir.back() != ':')
        dir.pop_back();
    if (dir.empty())
        dir = ".";
    wchar_t tempName[MAX_PATH];
    if (!GetTempFileNameW(WideFromAnsi(dir).c_str(), L"sbx", 0, tempName))
        return LastOsError("GetTempFileNameW", path);
    const std::string tempPath = AnsiFromWide(tempName);

    OsError error;
    {
        HandleGuard file(CreateFileW(tempName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr),
                         CloseHandle);
        if (!file.valid())
            error = LastOsError("CreateFileW", tempPath);
        if (!error)
            error = WriteAll(file.get(), bytes, tempPath);
        if (!error && !FlushFileBuffers(file.get()))
            error = LastOsError("FlushFileBuffers", tempPath);
        if (!error && !file.reset())
            error = LastOsError("CloseHandle", tempPath);
    }
    if (!error && !ReplaceFileW(target.c_str(), tempName, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                nullptr, nullptr)) {
        error = LastOsError("ReplaceFileW", path);
        // Where the volume cannot merge attributes and security, a plain move over the
        // old file still replaces it in one step; the attributes are carried by hand.
        if (error.code != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 &&
            SetFileAttributesW(tempName, attributes & ~FILE_ATTRIBUTE_READONLY) &&
            MoveFileExW(tempName, target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            SetFileAttributesW(target.c_str(), attributes);
            error = OsError();
        }
    }
    if (error) {
        DeleteFileW(tempName);
        return error;
    }
    // Not every implementation of the call carries the attributes over; the content is
    // in place either way, so a failure here is not the caller's concern.
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                       FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if ((GetFileAttributesW(target.c_str()) & kept) != (attributes & kept))
        SetFileAttributesW(target.c_str(),
                           (attributes & kept) ? (attributes & kept) : FILE_ATTRIBUTE_NORMAL);
    return {};
}

OsError Win32FileSystem::GetFileStatus(const std::string& path, FileStatus& status) {
    status = FileStatus();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data))
        return LastOsError("GetFileAttributesExW", path);
    status.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.attributes = data.dwFileAttributes;
    status.size = status.isDirectory
                      ? 0
                      : (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    status.creationTime = Ticks(data.ftCreationTime);
    status.lastWriteTime = Ticks(data.ftLastWriteTime);
    return {};
}

OsError Win32FileSystem::GetFileIdentity(const std::string& path, FileIdentity& identity) {
    identity = FileIdentity();
    // Opening for no access at all works on folders too, whoever holds them.
    HandleGuard file(CreateFileW(SystemPath(path).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr),
                     CloseHandle);
    if (!file.valid())
        return LastOsError("CreateFileW", path);
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.get(), &info))
        return LastOsError("GetFileInformationByHandle", path);
    identity.volume = info.dwVolumeSerialNumber;
    identity.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return {};
}

OsError Win32FileSystem::FreeSpace(const std::string& path, std::uint64_t& bytes) {
    bytes = 0;
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExW(WideFromAnsi(RootOf(path)).c_str(), &available, nullptr, nullptr))
        return LastOsError("GetDiskFreeSpaceExW", path);
    bytes = available.QuadPart;
    return {};
}

OsError Win32FileSystem::RemoveFile(const std::string& path) {
    if (!DeleteFileW(SystemPath(path).c_str()))
        return LastOsError("DeleteFileW", path);
    return {};
}

OsError Win32FileSystem::RenameFile(const std::string& from, const std::string& to) {
    if (!MoveFileW(SystemPath(from).c_str(), SystemPath(to).c_str()))
        return LastOsError("MoveFileW", from);
    return {};
}

OsError Win32FileSystem::WriteWholeFile(const std::string& path, const std::string& bytes,
                                        bool& created) {
    created = false;
    const std::wstring target = SystemPath(path);
    OsError error;
    {
        HandleGuard file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr),
                         CloseHandle);
        if (!file.valid())
            return LastOsError("CreateFileW", path);
        created = true;
        error = WriteAll(file.get(), bytes, path);
        if (!error && !file.reset())
            error = LastOsError("CloseHandle", path);
    }
    if (error)
        DeleteFileW(target.c_str());
    return error;
}

OsError Win32FileSystem::MakeDirectory(const std::string& path) {
    if (!CreateDirectoryW(SystemPath(path).c_str(), nullptr))
        return LastOsError("CreateDirectoryW", path);
    return {};
}

OsError Win32FileSystem::RemoveEmptyDirectory(const std::string& path) {
    if (!RemoveDirectoryW(SystemPath(path).c_str()))
        return LastOsError("RemoveDirectoryW", path);
    return {};
}

OsError Win32FileSystem::OpenExclusively(const std::string& path) {
    HandleGuard file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                     CloseHandle);
    if (!file.valid())
        return LastOsError("CreateFileW", path);
    return {};
}

std::string Win32FileSystem::ProgramDirectory() {
    std::vector<wchar_t> buffer(MAX_PATH);
    while (true) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return ".\\";
        if (n < buffer.size()) {
            std::string path = AnsiFromWide(std::wstring(buffer.data(), n));
            while (!path.empty() && !IsPathSeparator(path.back()))
                path.pop_back();
            return path;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<std::string> Win32FileSystem::CacheDirectories() {
    std::vector<std::string> dirs{ProgramDirectory()};
    wchar_t windows[MAX_PATH];
    const UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
    if (n > 0 && n < MAX_PATH)
        dirs.push_back(WithSeparator(AnsiFromWide(std::wstring(windows, n))));
    return dirs;
}

int Win32FileSystem::CompareNames(const std::string& a, const std::string& b) {
    const int result =
        CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                       b.data(), static_cast<int>(b.size()));
    if (result != 0)
        return result - CSTR_EQUAL;
    const int bytes = a.compare(b);
    return bytes < 0 ? -1 : (bytes > 0 ? 1 : 0);
}

std::unique_ptr<FileSystem> MakeSystemFileSystem() {
    return std::make_unique<Win32FileSystem>();
}

} // namespace kestrix
