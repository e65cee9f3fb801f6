// The undo journal of replacement walks: one folder per walk beside the cache, holding each
// rewritten file's old content and how the walk left the file.
#include "undo/UndoJournal.h"

#include <algorithm>
#include <set>

#include "strings/SorbexStrings.h"
#include "undo/ContentHash.h"

namespace sorbex {
namespace {

constexpr const char* kJournalFolderName = "sbxUndo";
constexpr const char* kWalkRecordName = "walk.txt";
constexpr char kWalkPrefix = 'W';
constexpr char kEntryPrefix = 'F';
constexpr std::size_t kWalkDigits = 10;
constexpr std::size_t kEntryDigits = 6;
constexpr const char* kKeptSuffix = ".rec";
constexpr const char* kOldSuffix = ".old";
constexpr const char* kLeftSuffix = ".new";

std::string Numbered(char prefix, std::uint64_t number, std::size_t digits) {
    std::string text = std::to_string(number);
    if (text.size() < digits)
        text.insert(0, digits - text.size(), '0');
    return prefix + text;
}

// The number of a name "<prefix><digits><suffix>", or false.
bool NumberOf(const std::string& name, char prefix, const std::string& suffix,
              std::uint64_t& number) {
    if (name.size() <= suffix.size() + 1 || name[0] != prefix ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::string digits = name.substr(1, name.size() - 1 - suffix.size());
    if (digits.empty() || digits.size() > 18 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    number = std::stoull(digits);
    return true;
}

// No journal can be kept: told as a full disk, which is what a limit stands for.
kestrix::OsError Refused(const std::string& path) {
    return kestrix::MakeOsError("CUndoRecorder", path,
                                kestrix::NativeCodeFor(kestrix::FileFailure::NoSpace));
}

kestrix::OsError WriteNew(kestrix::FileSystem& fs, const std::string& path,
                          const std::string& bytes) {
    bool created = false;
    return fs.WriteWholeFile(path, bytes, created);
}

kestrix::OsError ReadWalk(kestrix::FileSystem& fs, const std::string& folder, CUndoWalk& walk) {
    walk.folder = folder;
    std::string text;
    if (kestrix::OsError error = fs.ReadFile(folder + kWalkRecordName, text))
        return error;
    if (!ParseWalkRecord(text, walk.record))
        return kestrix::MakeOsError("ReadFile", folder + kWalkRecordName,
                                    kestrix::NativeCodeFor(kestrix::FileFailure::Other));
    std::set<std::uint64_t> numbers;
    const kestrix::OsError listed = fs.ListDirectory(
        folder, kestrix::EntryDetail::SizeAndTime, [&](const kestrix::DirEntry& entry) {
            walk.bytes += entry.size;
            std::uint64_t number = 0;
            if (!entry.isDirectory && NumberOf(entry.name, kEntryPrefix, kKeptSuffix, number))
                numbers.insert(number);
            return true;
        });
    if (listed)
        return listed;
    for (const std::uint64_t number : numbers) {
        CUndoEntry entry;
        entry.stem = folder + Numbered(kEntryPrefix, number, kEntryDigits);
        std::string record;
        entry.readable = !fs.ReadFile(entry.stem + kKeptSuffix, record) &&
                         ParseKept(record, entry.kept);
        entry.left = !fs.ReadFile(entry.stem + kLeftSuffix, record) &&
                     ParseLeft(record, entry.leftAs);
        walk.entries.push_back(std::move(entry));
    }
    return {};
}

// Whole units, rounded down, so that "more than" stays true; a unit is taken from ten
// of it up, so that the figures keep at least two digits.
std::string ShortSize(std::uint64_t bytes) {
    constexpr std::uint64_t kKilo = 1024;
    if (bytes >= 10 * kKilo * kKilo)
        return FormatSorbexString(IDS_SIZE_MEGABYTES, {std::to_string(bytes / (kKilo * kKilo))});
    if (bytes >= 10 * kKilo)
        return FormatSorbexString(IDS_SIZE_KILOBYTES, {std::to_string(bytes / kKilo)});
    return FormatSorbexString(IDS_SIZE_BYTES, {std::to_string(bytes)});
}

} // namespace

CUndoLimits ReadUndoLimits(CProfileSettings& settings) {
    CUndoLimits limits;
    limits.walks = std::clamp(settings.GetInt("Options", "UndoWalks", kDefaultUndoWalks), 0,
                              kMaxUndoWalks);
    const int megabytes = std::max(1, settings.GetInt("Options", "UndoMegabytes",
                                                      kDefaultUndoMegabytes));
    limits.bytes = static_cast<std::uint64_t>(megabytes) << 20;
    return limits;
}

std::string DefaultUndoFolder(kestrix::FileSystem& fs) {
    for (const std::string& dir : fs.CacheDirectories()) {
        const std::string folder = dir + kJournalFolderName;
        if (!fs.CheckDirectory(folder) || !fs.MakeDirectory(folder))
            return folder + kestrix::kPathSeparator;
    }
    return std::string();
}

std::uint64_t BytesToKeep(kestrix::FileSystem& fs, const CSearchResultArray& page) {
    std::set<std::string> counted;
    std::uint64_t bytes = 0;
    for (std::size_t i = 0; i < page.size(); ++i) {
        const CSearchResult& result = page[i];
        if ((result.flags & (kResultReplaced | kResultConverted | kResultExternal |
                             kResultDirectory)) != 0)
            continue;
        const std::string path = result.dir + result.name;
        if (!counted.insert(path).second)
            continue;
        kestrix::FileStatus status;
        if (!fs.GetFileStatus(path, status))
            bytes += status.size;
    }
    return bytes;
}

kestrix::OsError ListUndoWalks(kestrix::FileSystem& fs, const std::string& folder,
                               std::vector<CUndoWalk>& walks) {
    walks.clear();
    std::vector<std::uint64_t> numbers;
    const kestrix::OsError listed = fs.ListDirectory(
        folder, kestrix::EntryDetail::TypesOnly, [&](const kestrix::DirEntry& entry) {
            std::uint64_t number = 0;
            if (entry.isDirectory && !entry.isLink && NumberOf(entry.name, kWalkPrefix, "", number))
                numbers.push_back(number);
            return true;
        });
    if (listed)
        return listed;
    std::sort(numbers.begin(), numbers.end());
    for (const std::uint64_t number : numbers) {
        CUndoWalk walk;
        walk.number = number;
        // A folder without a readable walk record is one being made right now, or one
        // of another version: neither is ours to show or to undo.
        if (!ReadWalk(fs, folder + Numbered(kWalkPrefix, number, kWalkDigits) +
                              kestrix::kPathSeparator,
                      walk))
            walks.push_back(std::move(walk));
    }
    return {};
}

kestrix::OsError RemoveUndoWalk(kestrix::FileSystem& fs, const CUndoWalk& walk) {
    // The walk record goes first, so that a removal cut off half way leaves a folder
    // that nobody takes for a walk, and the next pruning removes it.
    kestrix::OsError error = fs.RemoveFile(walk.folder + kWalkRecordName);
    std::vector<std::string> names;
    fs.ListDirectory(walk.folder, kestrix::EntryDetail::TypesOnly,
                     [&](const kestrix::DirEntry& entry) {
                         if (!entry.isDirectory)
                             names.push_back(entry.name);
                         return true;
                     });
    for (const std::string& name : names) {
        if (kestrix::OsError removed = fs.RemoveFile(walk.folder + name); removed && !error)
            error = removed;
    }
    std::string folder = walk.folder;
    if (!folder.empty() && kestrix::IsPathSeparator(folder.back()))
        folder.pop_back();
    if (kestrix::OsError removed = fs.RemoveEmptyDirectory(folder); removed && !error)
        error = removed;
    return error;
}

CUndoRecorder::CUndoRecorder(kestrix::FileSystem& fs, std::string folder, CUndoLimits limits,
                             std::int64_t now)
    : fs_(fs), folder_(std::move(folder)), limits_(limits), now_(now) {}

kestrix::OsError CUndoRecorder::Begin(std::uint64_t expected) {
    if (folder_.empty() || limits_.walks <= 0 || expected > limits_.bytes)
        return Refused(folder_);
    std::vector<CUndoWalk> walks;
    if (kestrix::OsError error = ListUndoWalks(fs_, folder_, walks))
        return error;
    // Leftovers of removals cut off half way (folders without a walk record) go too.
    std::uint64_t total = 0;
    for (const CUndoWalk& walk : walks)
        total += walk.bytes;
    std::size_t oldest = 0;
    while (oldest < walks.size() &&
           (walks.size() - oldest >= static_cast<std::size_t>(limits_.walks) ||
            total + expected > limits_.bytes)) {
        if (kestrix::OsError error = RemoveUndoWalk(fs_, walks[oldest]))
            return error;
        total -= walks[oldest].bytes;
        ++oldest;
    }
    const std::uint64_t number = walks.empty() ? 1 : walks.back().number + 1;
    // Another instance may make the same folder at the same moment: the next number then.
    for (std::uint64_t n = number; n < number + 100; ++n) {
        const std::string walkFolder =
            folder_ + Numbered(kWalkPrefix, n, kWalkDigits) + kestrix::kPathSeparator;
        if (fs_.MakeDirectory(walkFolder.substr(0, walkFolder.size() - 1)))
            continue;
        CUndoWalkRecord record;
        record.started = now_;
        if (kestrix::OsError error = WriteNew(fs_, walkFolder + kWalkRecordName,
                                              FormatWalkRecord(record))) {
            fs_.RemoveEmptyDirectory(walkFolder.substr(0, walkFolder.size() - 1));
            return error;
        }
        walkFolder_ = walkFolder;
        return {};
    }
    return Refused(folder_);
}

kestrix::OsError CUndoRecorder::KeepOldContent(const std::string& path,
                                               const std::string& oldBytes) {
    DropPending();
    if (walkFolder_.empty())
        return Refused(path);
    CUndoKept kept;
    kept.path = path;
    kept.oldSize = oldBytes.size();
    kept.oldHash = ContentHash(oldBytes);
    kestrix::FileStatus status;
    if (kestrix::OsError error = fs_.GetFileStatus(path, status))
        return error;
    kept.attributes = status.attributes;
    const std::string stem = walkFolder_ + Numbered(kEntryPrefix, ++entries_, kEntryDigits);
    // The content first: a record names only content that is there in full.
    if (kestrix::OsError error = WriteNew(fs_, stem + kOldSuffix, oldBytes))
        return error;
    if (kestrix::OsError error = WriteNew(fs_, stem + kKeptSuffix, FormatKept(kept))) {
        fs_.RemoveFile(stem + kOldSuffix);
        return error;
    }
    ++kept_;
    pendingStem_ = stem;
    pendingPath_ = path;
    return {};
}

void CUndoRecorder::NoteNewContent(const std::string& path, const std::string& newBytes) {
    if (pendingStem_.empty() || path != pendingPath_)
        return;
    CUndoLeft left;
    left.size = newBytes.size();
    left.hash = ContentHash(newBytes);
    kestrix::FileStatus status;
    if (!fs_.GetFileStatus(path, status))
        left.writeTime = status.lastWriteTime;
    if (WriteNew(fs_, pendingStem_ + kLeftSuffix, FormatLeft(left)))
        ++unconfirmed_;
    pendingStem_.clear();
}

void CUndoRecorder::DropPending() {
    // A kept file that was not confirmed by the time the walk moves on was not rewritten:
    // its rewrite failed, and the file holds its old content still.
    if (pendingStem_.empty())
        return;
    fs_.RemoveFile(pendingStem_ + kKeptSuffix);
    fs_.RemoveFile(pendingStem_ + kOldSuffix);
    pendingStem_.clear();
    --kept_;
}

void CUndoRecorder::End() {
    DropPending();
    if (walkFolder_.empty())
        return;
    std::vector<CUndoWalk> walks;
    if (kept_ == 0 && !ListUndoWalks(fs_, folder_, walks)) {
        for (const CUndoWalk& walk : walks) {
            if (walk.folder == walkFolder_)
                RemoveUndoWalk(fs_, walk);
        }
    }
    walkFolder_.clear();
}

void AttachUndoRecorder(CReplaceContext& context, CUndoRecorder& recorder) {
    context.keepOldContent = [&recorder](const std::string& path, const std::string& old) {
        return recorder.KeepOldContent(path, old);
    };
    context.noteNewContent = [&recorder](const std::string& path, const std::string& bytes) {
        recorder.NoteNewContent(path, bytes);
    };
}

std::string PrepareUndoJournal(kestrix::FileSystem& fs, const std::string& folder,
                               const CUndoLimits& limits, const CSearchResultArray& page,
                               std::int64_t now, std::unique_ptr<CUndoRecorder>& recorder) {
    recorder.reset();
    if (limits.walks <= 0)
        return std::string();
    const std::uint64_t expected = BytesToKeep(fs, page);
    if (expected > limits.bytes)
        return FormatSorbexString(IDS_UNDO_LIMIT_EXCEEDED,
                                  {ShortSize(expected), ShortSize(limits.bytes)});
    auto made = std::make_unique<CUndoRecorder>(fs, folder, limits, now);
    if (const kestrix::OsError error = made->Begin(expected))
        return FormatSorbexString(IDS_UNDO_NOT_KEPT,
                                  {folder.empty() ? kestrix::OsErrorText(error.code)
                                                  : error.Describe()});
    recorder = std::move(made);
    return std::string();
}

} // namespace sorbex
