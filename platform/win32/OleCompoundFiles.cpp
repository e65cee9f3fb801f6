// OLE structured storage behind the compound-storage seam: names pass through the
// ANSI code page, every interface pointer sits in a holder, every HRESULT becomes
// an OsError.
#include "platform/win32/OleCompoundFiles.h"

#include "platform/compound/MemoryCompoundTree.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/ChunkLockBytes.h"

#include <objbase.h>
#include <windows.h>

namespace kestrix {

namespace {

// Holds one reference to a COM interface and releases it.
template <typename T> class ComRef {
public:
    ComRef() = default;
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    T** Receive() {
        Reset();
        return &ptr_;
    }
    void Reset() {
        if (ptr_)
            ptr_->Release();
        ptr_ = nullptr;
    }

private:
    T* ptr_ = nullptr;
};

// Frees a string the system allocated with the task allocator.
class TaskString {
public:
    explicit TaskString(wchar_t* text) : text_(text) {}
    ~TaskString() { CoTaskMemFree(text_); }
    TaskString(const TaskString&) = delete;
    TaskString& operator=(const TaskString&) = delete;
    const wchar_t* get() const { return text_ ? text_ : L""; }

private:
    wchar_t* text_;
};

OsError FromHresult(const char* function, const std::string& path, HRESULT hr) {
    OsError e;
    if (FAILED(hr)) {
        e.function = function;
        e.path = path;
        e.code = static_cast<long>(hr);
    }
    return e;
}

class OleStream final : public StorageStream {
public:
    OleStream(IStream* stream, std::string path) : path_(std::move(path)) {
        *stream_.Receive() = stream;
    }

    OsError Read(void* buffer, std::size_t size, std::size_t& got) override {
        got = 0;
        ULONG done = 0;
        // IStream counts in 32 bits; a larger request is served in pieces.
        auto* out = static_cast<unsigned char*>(buffer);
        while (size > 0) {
            const ULONG piece = size > 0x40000000u ? 0x40000000u : static_cast<ULONG>(size);
            HRESULT hr = stream_->Read(out, piece, &done);
            if (FAILED(hr))
                return FromHresult("IStream::Read", path_, hr);
            got += done;
            out += done;
            size -= done;
            if (done < piece)
                break;
        }
        return {};
    }

    OsError Write(const void* buffer, std::size_t size) override {
        const auto* in = static_cast<const unsigned char*>(buffer);
        while (size > 0) {
            const ULONG piece = size > 0x40000000u ? 0x40000000u : static_cast<ULONG>(size);
            ULONG done = 0;
            HRESULT hr = stream_->Write(in, piece, &done);
            if (FAILED(hr))
                return FromHresult("IStream::Write", path_, hr);
            if (done != piece)
                return FromHresult("IStream::Write", path_, STG_E_MEDIUMFULL);
            in += done;
            size -= done;
        }
        return {};
    }

    OsError Seek(std::int64_t offset, SeekOrigin origin, std::uint64_t* position) override {
        LARGE_INTEGER move;
        move.QuadPart = offset;
        ULARGE_INTEGER now;
        const DWORD from = origin == SeekOrigin::Begin     ? STREAM_SEEK_SET
                           : origin == SeekOrigin::Current ? STREAM_SEEK_CUR
                                                           : STREAM_SEEK_END;
        HRESULT hr = stream_->Seek(move, from, &now);
        if (FAILED(hr))
            return FromHresult("IStream::Seek", path_, hr);
        if (position)
            *position = now.QuadPart;
        return {};
    }

    OsError Size(std::uint64_t& size) override {
        size = 0;
        STATSTG stat = {};
        HRESULT hr = stream_->Stat(&stat, STATFLAG_NONAME);
        if (FAILED(hr))
            return FromHresult("IStream::Stat", path_, hr);
        size = stat.cbSize.QuadPart;
        return {};
    }

    OsError SetSize(std::uint64_t size) override {
        ULARGE_INTEGER value;
        value.QuadPart = size;
        return FromHresult("IStream::SetSize", path_, stream_->SetSize(value));
    }

private:
    ComRef<IStream> stream_;
    std::string path_;
};

class OleStorage final : public Storage {
public:
    OleStorage(IStorage* storage, std::string path) : path_(std::move(path)) {
        *storage_.Receive() = storage;
    }

    IStorage* get() const { return storage_.get(); }

    OsError OpenStream(const std::string& name, unsigned mode,
                       std::unique_ptr<StorageStream>& stream) override {
        stream.reset();
        if (OsError e = compound::CheckName("IStorage::OpenStream", name))
            return e;
        ComRef<IStream> s;
        HRESULT hr =
            storage_->OpenStream(WideFromAnsi(name).c_str(), nullptr, mode, 0, s.Receive());
        if (FAILED(hr))
            return FromHresult("IStorage::OpenStream", Child(name), hr);
        stream = std::make_unique<OleStream>(Take(s), Child(name));
        return {};
    }

    OsError CreateStream(const std::string& name, unsigned mode,
                         std::unique_ptr<StorageStream>& stream) override {
        stream.reset();
        if (OsError e = compound::CheckName("IStorage::CreateStream", name))
            return e;
        ComRef<IStream> s;
        HRESULT hr = storage_->CreateStream(WideFromAnsi(name).c_str(), mode, 0, 0, s.Receive());
        if (FAILED(hr))
            return FromHresult("IStorage::CreateStream", Child(name), hr);
        stream = std::make_unique<OleStream>(Take(s), Child(name));
        return {};
    }

    OsError OpenStorage(const std::string& name, unsigned mode,
                        std::unique_ptr<Storage>& storage) override {
        storage.reset();
        if (OsError e = compound::CheckName("IStorage::OpenStorage", name))
            return e;
        ComRef<IStorage> s;
        HRESULT hr = storage_->OpenStorage(WideFromAnsi(name).c_str(), nullptr, mode, nullptr, 0,
                                           s.Receive());
        if (FAILED(hr))
            return FromHresult("IStorage::OpenStorage", Child(name), hr);
        storage = std::make_unique<OleStorage>(Take(s), Child(name));
        return {};
    }

    OsError CreateStorage(const std::string& name, unsigned mode,
                          std::unique_ptr<Storage>& storage) override {
        storage.reset();
        if (OsError e = compound::CheckName("IStorage::CreateStorage", name))
            return e;
        ComRef<IStorage> s;
        HRESULT hr = storage_->CreateStorage(WideFromAnsi(name).c_str(), mode, 0, 0, s.Receive());
        if (FAILED(hr))
            return FromHresult("IStorage::CreateStorage", Child(name), hr);
        storage = std::make_unique<OleStorage>(Take(s), Child(name));
        return {};
    }

    OsError DestroyElement(const std::string& name) override {
        if (OsError e = compound::CheckName("IStorage::DestroyElement", name))
            return e;
        return FromHresult("IStorage::DestroyElement", Child(name),
                           storage_->DestroyElement(WideFromAnsi(name).c_str()));
    }

    OsError Enumerate(std::vector<StorageElement>& elements) override {
        elements.clear();
        ComRef<IEnumSTATSTG> list;
        HRESULT hr = storage_->EnumElements(0, nullptr, 0, list.Receive());
        if (FAILED(hr))
            return FromHresult("IStorage::EnumElements", path_, hr);
        for (;;) {
            STATSTG stat = {};
            ULONG fetched = 0;
            hr = list->Next(1, &stat, &fetched);
            if (FAILED(hr))
                return FromHresult("IEnumSTATSTG::Next", path_, hr);
            if (hr != S_OK || fetched == 0)
                break;
            TaskString name(stat.pwcsName);
            StorageElement element;
            element.name = AnsiFromWide(name.get());
            element.isStorage = stat.type == STGTY_STORAGE;
            element.size = element.isStorage ? 0 : stat.cbSize.QuadPart;
            if (stat.type == STGTY_STORAGE || stat.type == STGTY_STREAM)
                elements.push_back(element);
        }
        return {};
    }

    OsError CopyTo(Storage& target) override {
        auto* ole = dynamic_cast<OleStorage*>(&target);
        if (!ole)
            return compound::CopyElements(*this, target);
        return FromHresult("IStorage::CopyTo", path_,
                           storage_->CopyTo(0, nullptr, nullptr, ole->get()));
    }

    OsError Commit() override {
        return FromHresult("IStorage::Commit", path_, storage_->Commit(STGC_DEFAULT));
    }

    OsError Revert() override { return FromHresult("IStorage::Revert", path_, storage_->Revert()); }

private:
    template <typename T> static T* Take(ComRef<T>& ref) {
        T* raw = ref.get();
        raw->AddRef();
        ref.Reset();
        return raw;
    }

    std::string Child(const std::string& name) const { return path_ + "\\" + name; }

    ComRef<IStorage> storage_;
    std::string path_;
};

std::unique_ptr<Storage> Wrap(ComRef<IStorage>& storage, const std::string& path) {
    IStorage* raw = storage.get();
    raw->AddRef();
    storage.Reset();
    return std::make_unique<OleStorage>(raw, path);
}

// Some versions answer a file they could not open with a bare E_FAIL; the file
// error behind it says what the caller needs to know.
HRESULT Specific(HRESULT hr) {
    if (hr != E_FAIL)
        return hr;
    switch (GetLastError()) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return STG_E_SHAREVIOLATION;
    case ERROR_ACCESS_DENIED:
        return STG_E_ACCESSDENIED;
    case ERROR_PATH_NOT_FOUND:
        return STG_E_PATHNOTFOUND;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return STG_E_FILEALREADYEXISTS;
    default:
        return hr;
    }
}

// The tree as a read-only image, so that it can be copied through the seam.
struct Snapshot final : compound::Image {
    explicit Snapshot(std::shared_ptr<compound::Node> tree) { root = std::move(tree); }
    OsError Persist() override { return {}; }
    void Released(unsigned) override {}
};

// A plain file opened with conversion: an empty tree in memory while the file stays
// open with the same sharing, and on commit a docfile written beside it that then
// replaces it. The system's own conversion would keep the old bytes in a stream;
// callers want an empty storage.
class ConvertedImage final : public compound::Image {
public:
    ConvertedImage(std::string path, HANDLE file) : path_(std::move(path)), file_(file) {}
    ~ConvertedImage() override { Close(); }

    OsError Persist() override {
        const std::string temp = path_ + ".~cv";
        const std::wstring wideTemp = WideFromAnsi(temp);
        ComRef<IStorage> storage;
        SetLastError(0);
        HRESULT hr =
            StgCreateDocfile(wideTemp.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                             0, storage.Receive());
        if (FAILED(hr))
            return FromHresult("StgCreateDocfile", temp, Specific(hr));
        OsError e;
        {
            std::unique_ptr<Storage> target = Wrap(storage, temp);
            std::unique_ptr<Storage> source =
                compound::OpenRoot(std::make_shared<Snapshot>(root),
                                   StorageMode::kRead | StorageMode::kShareDenyWrite, path_);
            e = source->CopyTo(*target);
            if (!e)
                e = target->Commit();
        }
        if (!e) {
            Close(); // the file cannot be replaced while we hold it open
            if (!MoveFileExW(wideTemp.c_str(), WideFromAnsi(path_).c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                e = FromHresult("MoveFileEx", path_, HRESULT_FROM_WIN32(GetLastError()));
        }
        if (e)
            DeleteFileW(wideTemp.c_str());
        return e;
    }

    void Released(unsigned) override { Close(); }

private:
    void Close() {
        if (file_ != INVALID_HANDLE_VALUE)
            CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }

    std::string path_;
    HANDLE file_;
};

OsError OpenConverted(const std::string& path, unsigned mode, std::unique_ptr<Storage>& root) {
    if (OsError e = compound::CheckRootMode("StgOpenStorage", path, mode))
        return e;
    const unsigned deny = mode & 0x70u;
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    if (deny == StorageMode::kShareExclusive)
        share = 0;
    else if (deny == StorageMode::kShareDenyWrite)
        share = FILE_SHARE_READ;
    else if (deny == StorageMode::kShareDenyRead)
        share = FILE_SHARE_WRITE;
    const bool writes = compound::ModeWrites(mode);
    HANDLE file =
        CreateFileW(WideFromAnsi(path).c_str(), GENERIC_READ | (writes ? GENERIC_WRITE : 0), share,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return FromHresult("CreateFile", path,
                           error == ERROR_SHARING_VIOLATION ? STG_E_SHAREVIOLATION
                           : error == ERROR_ACCESS_DENIED   ? STG_E_ACCESSDENIED
                                                            : HRESULT_FROM_WIN32(error));
    }
    root = compound::OpenRoot(std::make_shared<ConvertedImage>(path, file), mode, path);
    return {};
}

} // namespace

OsError OleCompoundFiles::Open(const std::string& path, unsigned mode,
                               std::unique_ptr<Storage>& root) {
    root.reset();
    const std::wstring wide = WideFromAnsi(path);
    ComRef<IStorage> storage;
    if ((mode & StorageMode::kConvert) &&
        GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES &&
        StgIsStorageFile(wide.c_str()) != S_OK)
        return OpenConverted(path, mode, root);
    HRESULT hr = StgOpenStorage(wide.c_str(), nullptr, mode & ~StorageMode::kConvert, nullptr, 0,
                                storage.Receive());
    if (FAILED(hr))
        return FromHresult("StgOpenStorage", path, hr);
    root = Wrap(storage, path);
    return {};
}

OsError OleCompoundFiles::Create(const std::string& path, unsigned mode,
                                 std::unique_ptr<Storage>& root) {
    root.reset();
    const std::wstring wide = WideFromAnsi(path);
    ComRef<IStorage> storage;
    SetLastError(0);
    HRESULT hr = S_OK;
    if (path.empty() && (mode & StorageMode::kDeleteOnRelease)) {
        // A temporary root lives in memory: the system's own temporary file takes each
        // sector and each link of its chains as a write of its own, which makes a stream
        // of a few megabytes cost a good part of a second. A save copies it into a file.
        // The memory comes in chunks, so a large root needs no single free block.
        ComRef<ILockBytes> bytes;
        hr = CreateChunkLockBytes(bytes.Receive());
        if (SUCCEEDED(hr))
            hr = StgCreateDocfileOnILockBytes(bytes.get(), mode & ~StorageMode::kDeleteOnRelease,
                                              0, storage.Receive());
    } else {
        hr = StgCreateDocfile(path.empty() ? nullptr : wide.c_str(), mode, 0, storage.Receive());
    }
    if (FAILED(hr))
        return FromHresult("StgCreateDocfile", path, Specific(hr));
    root = Wrap(storage, path);
    return {};
}

bool OleCompoundFiles::IsCompoundFile(const std::string& path) {
    return StgIsStorageFile(WideFromAnsi(path).c_str()) == S_OK;
}

CompoundFiles& SystemCompoundFiles() {
    static OleCompoundFiles files;
    return files;
}

} // namespace kestrix
