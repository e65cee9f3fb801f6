// The converted-document cache: texts that converters produced, kept per file until
// the file changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/CompoundStorage.h"
#include "platform/FileSystem.h"
#include "storage/CacheIndex.h"
#include "storage/StorageUi.h"
#include "text/TextCache.h"

namespace sorbex {

constexpr const char* kCacheFileName = "sbxCache.tmp";
constexpr const char* kCacheCompactFileName = "cach~~14.tmp";

// One compound file, "sbxCache.tmp": a sub-storage per file-name hash holding an
// "Index" stream and one stream per entry. There is one instance per program, used
// only from the user-interface thread. Every call is harmless when the cache is not
// open; Lookup, Read and Store never show anything and report false on any error,
// so that the search goes on without the cache.
class CDocCache : public CTextCache {
public:
    CDocCache(kestrix::FileSystem& fs, kestrix::CompoundFiles& files);
    ~CDocCache() override;
    CDocCache(const CDocCache&) = delete;
    CDocCache& operator=(const CDocCache&) = delete;

    // Opens or creates "sbxCache.tmp" in the first of the file system's cache
    // directories where that works. The file is held exclusively, so a second
    // instance of the program finds it taken and runs without a cache (false).
    bool Open();
    // Opens or creates the cache at exactly `path`.
    bool OpenAt(const std::string& path);
    void Close();
    bool IsOpen() const { return root_ != nullptr; }
    // The cache file's path; empty when none was ever opened.
    const std::string& path() const { return path_; }

    // True when an entry for the file exists and its recorded size and times equal
    // the file's current ones; its stream is then open for Read.
    bool Lookup(const std::string& directory, const std::string& name);
    // Size of the stream Lookup left open: 0 means converters produce nothing for
    // this version of the file (a negative entry).
    std::uint64_t EntrySize() const { return entrySize_; }
    // The text of the stream Lookup left open.
    bool Read(std::string& text) override;
    // Lookup as the text loader asks it.
    bool Lookup(const std::string& directory, const std::string& name, bool& negative) override;

    // Records the file's current size and times with `text`; length 0 stores an
    // empty stream, the negative entry. An entry of the same file is reused with
    // its id.
    bool Store(const std::string& directory, const std::string& name, const char* text,
               std::size_t length) override;

    // The "Reorganize" command: drops the entries of files that are gone or changed,
    // and the sub-storages left empty, then compacts the file through
    // "cach~~14.tmp". Failures are shown (10060, 10061); false then.
    bool RemoveObsolete(CStorageUi& ui);

    // The "Delete" command: asks 10062; on Yes deletes the file and opens an empty
    // cache at the same path. False when the user said No or reopening failed.
    bool DeleteCache(CStorageUi& ui);

private:
    bool OpenSubStorage(const std::string& name, bool create);
    bool LoadIndex();
    bool SaveIndex();
    void CloseCurrent();
    bool StatusMatches(const CacheEntry& entry, const kestrix::FileStatus& status) const;

    kestrix::FileSystem& fs_;
    kestrix::CompoundFiles& files_;
    std::string path_;
    std::unique_ptr<kestrix::Storage> root_;
    std::unique_ptr<kestrix::Storage> sub_;
    std::unique_ptr<kestrix::StorageStream> entry_;
    std::uint64_t entrySize_ = 0;
    CacheIndex index_;
};

} // namespace sorbex
