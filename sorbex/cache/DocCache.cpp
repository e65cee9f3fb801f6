// The converted-document cache: texts that converters produced, kept per file until
// the file changes.
#include "cache/DocCache.h"

#include <algorithm>
#include <vector>

#include "storage/Compaction.h"
#include "storage/PackedBlock.h"
#include "storage/StreamIo.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

using kestrix::OsError;
namespace Mode = kestrix::StorageMode;

constexpr unsigned kOpenRoot = Mode::kReadWrite | Mode::kShareExclusive;
constexpr unsigned kCreateRoot = Mode::kCreate | Mode::kReadWrite | Mode::kShareExclusive;
constexpr unsigned kOpenChild = Mode::kReadWrite | Mode::kShareExclusive;
constexpr unsigned kReadChild = Mode::kRead | Mode::kShareExclusive;
constexpr unsigned kCreateChild = Mode::kCreate | Mode::kReadWrite | Mode::kShareExclusive;
constexpr const char* kIndexStream = "Index";

// Another program (or instance) holds the file: creating it anew would destroy
// what that one is using.
bool IsHeldElsewhere(const OsError& e) {
    return e.code == kestrix::StorageError::kShareViolation ||
           e.code == kestrix::StorageError::kLockViolation ||
           e.code == kestrix::StorageError::kAccessDenied;
}

bool SameFile(kestrix::FileSystem& fs, const CacheEntry& entry, const std::string& directory,
              const std::string& name) {
    return fs.CompareNames(entry.directory, directory) == 0 &&
           fs.CompareNames(entry.name, name) == 0;
}

} // namespace

CDocCache::CDocCache(kestrix::FileSystem& fs, kestrix::CompoundFiles& files)
    : fs_(fs), files_(files) {}

CDocCache::~CDocCache() {
    Close();
}

bool CDocCache::Open() {
    for (const std::string& dir : fs_.CacheDirectories())
        if (OpenAt(dir + kCacheFileName))
            return true;
    return false;
}

bool CDocCache::OpenAt(const std::string& path) {
    Close();
    path_ = path;
    OsError e = files_.Open(path, kOpenRoot, root_);
    if (e && !IsHeldElsewhere(e))
        e = files_.Create(path, kCreateRoot, root_);
    if (e)
        root_.reset();
    return root_ != nullptr;
}

void CDocCache::CloseCurrent() {
    entry_.reset();
    entrySize_ = 0;
    if (sub_)
        sub_->Commit();
    sub_.reset();
    index_ = CacheIndex();
}

void CDocCache::Close() {
    CloseCurrent();
    if (root_)
        root_->Commit();
    root_.reset();
}

bool CDocCache::OpenSubStorage(const std::string& name, bool create) {
    CloseCurrent();
    if (!root_)
        return false;
    const std::string hash = std::to_string(CacheNameHash(name));
    if (!root_->OpenStorage(hash, kOpenChild, sub_))
        return true;
    sub_.reset();
    if (create && !root_->CreateStorage(hash, kCreateChild, sub_))
        return true;
    sub_.reset();
    return false;
}

bool CDocCache::LoadIndex() {
    index_ = CacheIndex();
    std::unique_ptr<kestrix::StorageStream> stream;
    if (sub_->OpenStream(kIndexStream, kReadChild, stream))
        return false;
    std::vector<std::uint8_t> bytes;
    if (ReadWholeStream(*stream, bytes))
        return false;
    return ReadCacheIndex(bytes.data(), bytes.size(), index_);
}

bool CDocCache::SaveIndex() {
    std::unique_ptr<kestrix::StorageStream> stream;
    if (sub_->CreateStream(kIndexStream, kCreateChild, stream))
        return false;
    const std::vector<std::uint8_t> bytes = WriteCacheIndex(index_);
    return !WriteWholeStream(*stream, bytes.data(), bytes.size());
}

bool CDocCache::StatusMatches(const CacheEntry& entry, const kestrix::FileStatus& status) const {
    return !status.isDirectory && entry.size == static_cast<std::uint32_t>(status.size) &&
           entry.creationTime == status.creationTime && entry.lastWriteTime == status.lastWriteTime;
}

bool CDocCache::Lookup(const std::string& directory, const std::string& name) {
    if (!OpenSubStorage(name, false) || !LoadIndex())
        return false;
    kestrix::FileStatus status;
    if (fs_.GetFileStatus(directory + name, status))
        return false;
    for (const CacheEntry& entry : index_.entries) {
        if (!SameFile(fs_, entry, directory, name) || !StatusMatches(entry, status))
            continue;
        if (sub_->OpenStream(std::to_string(entry.id), kOpenChild, entry_) ||
            entry_->Size(entrySize_)) {
            entry_.reset();
            entrySize_ = 0;
            return false;
        }
        return true;
    }
    return false;
}

bool CDocCache::Lookup(const std::string& directory, const std::string& name, bool& negative) {
    negative = false;
    if (!Lookup(directory, name))
        return false;
    negative = entrySize_ == 0;
    return true;
}

bool CDocCache::Read(std::string& text) {
    text.clear();
    if (!entry_)
        return false;
    std::vector<std::uint8_t> block;
    if (ReadWholeStream(*entry_, block))
        return false;
    return UnpackBlock(block.data(), block.size(), text);
}

bool CDocCache::Store(const std::string& directory, const std::string& name, const char* text,
                      std::size_t length) {
    if (!FitsCacheEntry(directory, name))
        return false;
    // Packed before anything is touched: a text that cannot be packed must not turn
    // into an empty stream, which would read as "converters produce nothing".
    std::vector<std::uint8_t> block;
    if (length > 0 && !PackBlock(text, length, true, block))
        return false;
    if (!OpenSubStorage(name, true))
        return false;
    kestrix::FileStatus status;
    if (fs_.GetFileStatus(directory + name, status) || status.isDirectory)
        return false;
    if (!LoadIndex())
        index_ = CacheIndex();

    auto found =
        std::find_if(index_.entries.begin(), index_.entries.end(),
                     [&](const CacheEntry& e) { return SameFile(fs_, e, directory, name); });
    if (found == index_.entries.end()) {
        // A damaged next id must not hand out an id that another entry's stream has.
        for (const CacheEntry& e : index_.entries)
            if (e.id >= index_.nextId)
                index_.nextId = e.id + 1;
        CacheEntry entry;
        entry.directory = directory;
        entry.name = name;
        entry.id = index_.nextId++;
        index_.entries.push_back(entry);
        found = index_.entries.end() - 1;
    }
    found->size = static_cast<std::uint32_t>(status.size);
    found->creationTime = status.creationTime;
    found->lastWriteTime = status.lastWriteTime;

    std::unique_ptr<kestrix::StorageStream> stream;
    if (sub_->CreateStream(std::to_string(found->id), kCreateChild, stream))
        return false;
    if (!block.empty() && stream->Write(block.data(), block.size()))
        return false;
    stream.reset();
    const bool saved = SaveIndex();
    CloseCurrent();
    return saved;
}

bool CDocCache::RemoveObsolete(CStorageUi& ui) {
    if (!root_)
        return false;
    CloseCurrent();
    std::vector<kestrix::StorageElement> elements;
    if (root_->Enumerate(elements)) {
        ui.ShowError(SorbexString(IDS_CACHE_REORGANIZE_FAILED));
        return false;
    }
    ui.BeginProgress(static_cast<int>(elements.size()), SorbexString(IDS_CACHE_REORGANIZING));
    ui.BeginWaitCursor();
    bool ok = true;
    for (const kestrix::StorageElement& element : elements) {
        ui.StepProgress();
        if (!element.isStorage)
            continue;
        if (root_->OpenStorage(element.name, kOpenChild, sub_)) {
            sub_.reset();
            continue; // not ours to judge
        }
        const bool readable = LoadIndex();
        bool removed = false;
        if (readable) {
            auto& entries = index_.entries;
            for (auto it = entries.begin(); it != entries.end();) {
                kestrix::FileStatus status;
                if (!fs_.GetFileStatus(it->directory + it->name, status) &&
                    StatusMatches(*it, status)) {
                    ++it;
                    continue;
                }
                // A stream that is already gone is as good as destroyed.
                sub_->DestroyElement(std::to_string(it->id));
                it = entries.erase(it);
                removed = true;
            }
            if (removed && !entries.empty() && !SaveIndex())
                ok = false;
        }
        const bool empty = !readable || index_.entries.empty();
        CloseCurrent();
        if (empty && root_->DestroyElement(element.name))
            ok = false;
        if (!ok)
            break;
    }

    if (ok) {
        // Compaction: a copy holds only live streams, giving back the space of the
        // removed ones.
        const std::string temp = DirectoryOf(path_) + kCacheCompactFileName;
        kestrix::FileStatus status;
        std::uint64_t free = 0;
        if (fs_.GetFileStatus(path_, status) || fs_.FreeSpace(path_, free)) {
            ok = false;
        } else if (!HasRoomForCopy(free, status.size)) {
            ui.EndWaitCursor();
            ui.ShowError(SorbexString(IDS_CACHE_REORGANIZE_NO_SPACE));
            ui.BeginWaitCursor();
            ok = false;
        } else {
            const std::string path = path_;
            const CompactResult result =
                CompactCompoundFile(fs_, files_, *root_, path, temp, [this] { Close(); });
            if (result != CompactResult::kReplaced)
                ok = false;
            // Once the cache was let go, whatever happened, the program goes on with a
            // cache if one opens.
            if (result != CompactResult::kCopyFailed)
                OpenAt(path);
        }
    }
    ui.EndWaitCursor();
    ui.EndProgress();
    if (!ok)
        ui.ShowError(SorbexString(IDS_CACHE_REORGANIZE_FAILED));
    return ok;
}

bool CDocCache::DeleteCache(CStorageUi& ui) {
    if (path_.empty() || !ui.AskYesNo(SorbexString(IDS_CACHE_CONFIRM_DELETE)))
        return false;
    const std::string path = path_;
    Close();
    fs_.RemoveFile(path);
    return OpenAt(path);
}

} // namespace sorbex
