// The result document with its file: the pages of search results and the compound
// file (*.sbx) that keeps them.
#include "resultfile/TabDoc.h"

#include <vector>

#include "storage/ArchiveError.h"
#include "storage/ArchiveReader.h"
#include "storage/ArchiveWriter.h"
#include "storage/Compaction.h"
#include "resultfile/PageList.h"
#include "storage/StreamIo.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

namespace Mode = kestrix::StorageMode;
using kestrix::OsError;

constexpr unsigned kNewRoot =
    Mode::kDeleteOnRelease | Mode::kCreate | Mode::kShareExclusive | Mode::kReadWrite;
constexpr unsigned kOpenRoot = Mode::kTransacted | Mode::kShareDenyWrite | Mode::kReadWrite;
constexpr unsigned kConvertRoot = Mode::kConvert | kOpenRoot;
constexpr unsigned kConvertReadOnly = Mode::kConvert | Mode::kTransacted | Mode::kRead;
constexpr unsigned kSaveAsRoot =
    Mode::kTransacted | Mode::kCreate | Mode::kShareDenyWrite | Mode::kReadWrite;
constexpr unsigned kReadChild = Mode::kRead | Mode::kShareExclusive;
constexpr unsigned kOpenChild = Mode::kReadWrite | Mode::kShareExclusive;
constexpr unsigned kCreateChild = Mode::kCreate | Mode::kReadWrite | Mode::kShareExclusive;
constexpr const char* kIndexStream = "Index";

std::string StreamOf(const CFileFindDoc& page) {
    return page.streamName.empty() ? kEmptyPageStream : page.streamName;
}

// A page of 20,000 results takes megabytes: its archive goes into the stream as it is
// built rather than whole afterwards.
OsError WriteResultsStream(kestrix::StorageStream& stream, const CSearchResultArray& results) {
    return WriteArchiveStream(stream, [&](CArchiveWriter& archive) { results.Store(archive); });
}

} // namespace

std::string ResultFileFailureText(unsigned messageId, const std::string& path,
                                  const OsError& error) {
    // A failure nobody gave a code for still gets a reason rather than "success".
    const long code = error ? error.code : kestrix::StorageError::kInvalidFunction;
    return FormatSorbexString(IDS_RESULT_FILE_FAILURE,
                              {SorbexString(messageId), path, kestrix::OsErrorText(code)});
}

CTabDoc::CTabDoc(kestrix::FileSystem& fs, kestrix::CompoundFiles& files) : fs_(fs), files_(files) {}

CTabDoc::~CTabDoc() {
    CloseDocument();
}

void CTabDoc::CloseCurrentStream() {
    current_.reset();
    currentName_.clear();
}

void CTabDoc::CloseDocument() {
    CloseCurrentStream();
    root_.reset();
}

bool CTabDoc::NewDocument() {
    CloseDocument();
    while (size() > 0)
        RemovePage((*this)[size() - 1]);
    path_.clear();
    nextPageNumber_ = 0;
    modified_ = false;
    lastWriteError_ = files_.Create("", kNewRoot, root_);
    if (lastWriteError_)
        root_.reset();
    return root_ != nullptr;
}

bool CTabDoc::OpenDocument(const std::string& path, CStorageUi& ui) {
    std::unique_ptr<kestrix::Storage> root;
    OsError e;
    if (!files_.IsCompoundFile(path)) {
        e = files_.Open(path, kConvertRoot, root);
        if (e)
            e = files_.Open(path, kConvertReadOnly, root);
    } else {
        e = files_.Open(path, kOpenRoot, root);
    }
    CPageList list;
    if (!e) {
        std::unique_ptr<kestrix::StorageStream> index;
        std::vector<std::uint8_t> bytes;
        if (root->OpenStream(kIndexStream, kReadChild, index)) {
            // A read-only conversion cannot hold a new stream; its page list is empty
            // either way.
            root->CreateStream(kIndexStream, kCreateChild, index);
        } else if ((e = ReadWholeStream(*index, bytes))) {
        } else if (!bytes.empty() && !ReadPageList(bytes.data(), bytes.size(), list)) {
            // The list of pages does not hold together: the file is no result file.
            e = kestrix::MakeOsError("ReadPageList", path, kestrix::StorageError::kInvalidHeader);
        }
    }
    if (e) {
        ui.ShowError(ResultFileFailureText(IDS_FAILED_TO_OPEN_DOCUMENT, path, e));
        return false;
    }
    CloseDocument();
    while (size() > 0)
        RemovePage((*this)[size() - 1]);
    root_ = std::move(root);
    path_ = path;
    nextPageNumber_ = list.nextPageNumber;
    modified_ = false;
    for (const CPageListEntry& entry : list.pages)
        AddPage(entry.caption).streamName = entry.streamName;
    return true;
}

OsError CTabDoc::WriteIndex() {
    CPageList list;
    list.nextPageNumber = nextPageNumber_;
    for (std::size_t i = 0; i < size(); ++i)
        list.pages.push_back({(*this)[i].streamName, (*this)[i].caption});
    const std::vector<std::uint8_t> bytes = WritePageList(list);
    std::unique_ptr<kestrix::StorageStream> index;
    OsError e = root_->CreateStream(kIndexStream, kCreateChild, index);
    if (!e)
        e = WriteWholeStream(*index, bytes.data(), bytes.size());
    lastWriteError_ = e;
    return e;
}

bool CTabDoc::SaveDocument(const std::string& path, CStorageUi& ui) {
    // Without a root there is nothing to save: the document was never made.
    OsError e = root_ ? OsError() : kestrix::MakeOsError("SaveDocument", path,
                                                         kestrix::StorageError::kInvalidHandle);
    std::string full = path;
    fs_.FullPath(path, full);
    std::string current = path_;
    if (!path_.empty())
        fs_.FullPath(path_, current);
    if (!e && (path_.empty() || fs_.CompareNames(full, current) != 0)) {
        std::unique_ptr<kestrix::Storage> copy;
        e = files_.Create(path, kSaveAsRoot, copy);
        if (!e)
            e = root_->CopyTo(*copy);
        if (!e)
            e = copy->Commit();
        if (!e) {
            const std::string reopen = currentName_;
            CloseCurrentStream();
            root_ = std::move(copy); // the old root is released here
            path_ = path;
            if (!reopen.empty())
                OpenPageStream(reopen);
        }
    }
    if (!e)
        e = WriteIndex();
    if (!e)
        e = root_->Commit();
    if (e) {
        ui.ShowError(ResultFileFailureText(IDS_FAILED_TO_SAVE_DOCUMENT, full, e));
        return false;
    }
    modified_ = false;
    return true;
}

bool CTabDoc::OpenPageStream(const std::string& streamName) {
    CloseCurrentStream();
    if (!root_ || root_->OpenStream(streamName, kOpenChild, current_)) {
        current_.reset();
        return false;
    }
    currentName_ = streamName;
    return true;
}

bool CTabDoc::StorePageResults(CFileFindDoc& page) {
    if (!root_)
        return false;
    std::string name;
    if (!page.results.empty())
        name = PageStreamName(nextPageNumber_);
    const std::string stream = name.empty() ? std::string(kEmptyPageStream) : name;
    if (!WritePageStream(stream, page.results))
        return false;
    if (!name.empty())
        ++nextPageNumber_;
    page.streamName = name;
    modified_ = true;
    return true;
}

bool CTabDoc::RewritePageResults(CFileFindDoc& page) {
    if (!root_)
        return false;
    if (page.streamName.empty())
        return page.results.empty() || StorePageResults(page);
    if (!WritePageStream(page.streamName, page.results))
        return false;
    modified_ = true;
    return true;
}

bool CTabDoc::WritePageStream(const std::string& stream, const CSearchResultArray& results) {
    // The stream may be the one open now ("EMPTY" of another page).
    CloseCurrentStream();
    lastWriteError_ = root_->CreateStream(stream, kCreateChild, current_);
    if (!lastWriteError_)
        lastWriteError_ = WriteResultsStream(*current_, results);
    if (lastWriteError_) {
        current_.reset();
        return false;
    }
    currentName_ = stream;
    return true;
}

OsError CTabDoc::ReadStreamResults(kestrix::StorageStream& stream, CSearchResultArray& results) {
    std::vector<std::uint8_t> bytes;
    if (OsError e = ReadWholeStream(stream, bytes))
        return e;
    try {
        CArchiveReader archive(bytes);
        results.Load(archive);
    } catch (const CArchiveError&) {
        return kestrix::MakeOsError("ReadPageResults", std::string(),
                                    kestrix::StorageError::kInvalidFunction);
    }
    return OsError();
}

bool CTabDoc::ChangePageResults(std::size_t index,
                                const std::function<bool(CSearchResultArray&)>& change) {
    if (!root_ || index >= size())
        return false;
    CFileFindDoc& page = (*this)[index];
    if (CurrentPage() == &page)
        return !change(page.results) || RewritePageResults(page);
    if (page.streamName.empty())
        return true;
    // Another page's stream is opened beside the one shown, which stays open.
    CSearchResultArray results;
    {
        std::unique_ptr<kestrix::StorageStream> stream;
        lastWriteError_ = root_->OpenStream(page.streamName, kReadChild, stream);
        if (!lastWriteError_)
            lastWriteError_ = ReadStreamResults(*stream, results);
        if (lastWriteError_)
            return false;
    }
    if (!change(results))
        return true;
    std::unique_ptr<kestrix::StorageStream> stream;
    lastWriteError_ = root_->CreateStream(page.streamName, kCreateChild, stream);
    if (!lastWriteError_)
        lastWriteError_ = WriteResultsStream(*stream, results);
    if (lastWriteError_)
        return false;
    modified_ = true;
    return true;
}

bool CTabDoc::ShowPage(std::size_t index) {
    if (index >= size())
        return false;
    SetCurrentPage(index);
    CFileFindDoc& page = (*this)[index];
    page.results.RemoveAll();
    if (!OpenPageStream(StreamOf(page)))
        return false;
    return !ReadStreamResults(*current_, page.results);
}

bool CTabDoc::DeletePage(std::size_t index) {
    if (index >= size())
        return false;
    CFileFindDoc& page = (*this)[index];
    if (!page.streamName.empty()) {
        if (currentName_ == page.streamName)
            CloseCurrentStream();
        if (root_)
            root_->DestroyElement(page.streamName);
    }
    RemovePage(page);
    modified_ = true;
    return true;
}

bool CTabDoc::Measure(const std::string& name, std::uint64_t& total) {
    std::uint64_t size = 0;
    if (name == currentName_ && current_) {
        if (current_->Size(size))
            return false;
    } else if (StreamSize(*root_, name, size)) {
        return false;
    }
    total += size;
    return true;
}

bool CTabDoc::Reorganize(CStorageUi& ui) {
    if (!root_ || path_.empty())
        return false;
    ui.BeginWaitCursor();
    const std::string temp = DirectoryOf(path_) + kResultCompactFileName;
    // The copy is the document as it stands, so its page list must match its streams.
    bool ok = !WriteIndex();
    std::uint64_t free = 0;
    std::uint64_t needed = 0;
    ok = ok && !fs_.FreeSpace(path_, free) && Measure(kIndexStream, needed);
    for (std::size_t i = 0; ok && i < size(); ++i)
        if (!(*this)[i].streamName.empty())
            ok = Measure((*this)[i].streamName, needed);
    if (ok && !HasRoomForCopy(free, needed)) {
        ui.EndWaitCursor();
        ui.ShowError(SorbexString(IDS_RESULTS_REORGANIZE_NO_SPACE));
        return false;
    }
    if (ok) {
        const std::string reopen = currentName_;
        const std::string path = path_;
        const CompactResult result =
            CompactCompoundFile(fs_, files_, *root_, path, temp, [this] { CloseDocument(); });
        if (result == CompactResult::kCopyFailed) {
            ok = false;
        } else {
            const bool replaceFailed = result == CompactResult::kReplaceFailed;
            // On any failure the document goes on with whichever file holds it.
            const std::string& from =
                replaceFailed ? (files_.IsCompoundFile(path_) ? path_ : temp) : path_;
            if (files_.Open(from, kOpenRoot, root_)) {
                root_.reset();
                ok = false;
            } else {
                path_ = from;
                if (!reopen.empty())
                    OpenPageStream(reopen);
                ok = !replaceFailed;
                if (ok)
                    modified_ = false;
            }
        }
    }
    ui.EndWaitCursor();
    if (!ok)
        ui.ShowError(SorbexString(IDS_RESULTS_REORGANIZE_FAILED));
    return ok;
}

} // namespace sorbex
