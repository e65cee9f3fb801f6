// The result document with its file: the pages of search results and the compound
// file (*.sbx) that keeps them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/CompoundStorage.h"
#include "platform/FileSystem.h"
#include "search/ResultDocument.h"
#include "storage/StorageUi.h"

namespace sorbex {

constexpr const char* kResultFileExtension = ".sbx";
constexpr const char* kResultCompactFileName = "tmp~~142.sbx";
constexpr const char* kEmptyPageStream = "EMPTY";

// The page list in memory is CResultDocument's; this class adds where the pages'
// results live. The file is opened transacted: page streams are written while the
// user works and become permanent only on save. A page's results are read when the
// page is shown; the stream of the page shown stays open until another one is.
class CTabDoc : public CResultDocument {
public:
    CTabDoc(kestrix::FileSystem& fs, kestrix::CompoundFiles& files);
    ~CTabDoc();
    CTabDoc(const CTabDoc&) = delete;
    CTabDoc& operator=(const CTabDoc&) = delete;

    // A temporary file without a name that disappears when released; lastWriteError
    // says why it could not be made.
    bool NewDocument();
    // Opens an *.sbx file and reads its page list; pages' results are read when
    // shown. A file that is not a compound file gives an empty document that replaces
    // it on save. Failures show 61697 with the path and the system's reason.
    bool OpenDocument(const std::string& path, CStorageUi& ui);
    // Writes the page list and commits; to another path, the whole file is copied
    // first and the document goes on there. Failures show 61698 with the path and the
    // system's reason, and keep the document on its old file.
    bool SaveDocument(const std::string& path, CStorageUi& ui);

    // Writes the page's results into a new stream "P%lx" (or "EMPTY" for a page
    // without results) and makes it the open stream.
    bool StorePageResults(CFileFindDoc& page);
    // Why the last write of a page's results or of the page list failed.
    const kestrix::OsError& lastWriteError() const { return lastWriteError_; }
    // Writes the page's results again into the stream they came from, so that what a
    // replacement changed in them (replaced marks, moved offsets) is what the page
    // shows when it is read again. A page without a stream of its own is stored anew.
    bool RewritePageResults(CFileFindDoc& page);
    // Lets `change` alter the results of page `index` and, when it says it changed them,
    // writes them back into the page's stream. The page shown stays shown with its stream
    // open; another page is read into a copy, so its results in memory are left as they
    // are (showing it reads them again). A page without results of its own is left alone.
    bool ChangePageResults(std::size_t index,
                           const std::function<bool(CSearchResultArray&)>& change);
    // Makes page `index` current and reads its results from its stream.
    bool ShowPage(std::size_t index);
    // Removes the page and its stream.
    bool DeletePage(std::size_t index);

    // Compacts the file through "tmp~~142.sbx" in its directory (10057 when the disk
    // is too full, 10058 on failure). The compacted file holds the document as it is
    // now, page list included.
    bool Reorganize(CStorageUi& ui);

    bool IsOpen() const { return root_ != nullptr; }
    const std::string& path() const { return path_; }
    bool modified() const { return modified_; }
    // A caption or the order of the pages changed.
    void MarkModified() { modified_ = true; }
    std::uint32_t nextPageNumber() const { return nextPageNumber_; }

private:
    void CloseDocument();
    void CloseCurrentStream();
    bool OpenPageStream(const std::string& streamName);
    // Creates (replaces) the stream with the results and leaves it open as the current one.
    bool WritePageStream(const std::string& stream, const CSearchResultArray& results);
    kestrix::OsError ReadStreamResults(kestrix::StorageStream& stream, CSearchResultArray& results);
    kestrix::OsError WriteIndex();
    bool Measure(const std::string& name, std::uint64_t& total);

    kestrix::FileSystem& fs_;
    kestrix::CompoundFiles& files_;
    std::unique_ptr<kestrix::Storage> root_;
    std::unique_ptr<kestrix::StorageStream> current_;
    std::string currentName_; // stream name of current_, "EMPTY" for an empty page
    std::string path_;
    std::uint32_t nextPageNumber_ = 0;
    bool modified_ = false;
    kestrix::OsError lastWriteError_;
};

// The text of a failed open (61697) or save (61698) of the result file at `path`: the
// message, the path and the system's reason.
std::string ResultFileFailureText(unsigned messageId, const std::string& path,
                                  const kestrix::OsError& error);

} // namespace sorbex
