// The byte array under a temporary compound file kept in memory: the system's storage
// reads and writes it through ILockBytes, and the bytes live in fixed-size chunks.
#include "platform/win32/ChunkLockBytes.h"

#include <atomic>
#include <new>

#include "platform/compound/ChunkedBytes.h"

namespace kestrix {
namespace {

class ChunkLockBytes final : public ILockBytes {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_ILockBytes)) {
            *object = static_cast<ILockBytes*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }

    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        // COM's rule: the last reference ends the object.
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE ReadAt(ULARGE_INTEGER offset, void* out, ULONG count,
                                     ULONG* read) override {
        if (!out && count > 0)
            return STG_E_INVALIDPOINTER;
        const std::size_t got = bytes_.ReadAt(offset.QuadPart, out, count);
        if (read)
            *read = static_cast<ULONG>(got);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE WriteAt(ULARGE_INTEGER offset, const void* data, ULONG count,
                                      ULONG* written) override {
        if (written)
            *written = 0;
        if (!data && count > 0)
            return STG_E_INVALIDPOINTER;
        // Out of memory is a full medium to the storage above, as a full disk would be.
        if (!bytes_.WriteAt(offset.QuadPart, data, count))
            return STG_E_MEDIUMFULL;
        if (written)
            *written = count;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Flush() override { return S_OK; }

    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override {
        return bytes_.SetSize(size.QuadPart) ? S_OK : STG_E_MEDIUMFULL;
    }

    // Nothing else reaches this memory: there are no regions to lock.
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }

    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
        if (!stat)
            return STG_E_INVALIDPOINTER;
        *stat = STATSTG{};
        stat->type = STGTY_LOCKBYTES;
        stat->cbSize.QuadPart = bytes_.size();
        return S_OK;
    }

private:
    ~ChunkLockBytes() = default;

    std::atomic<ULONG> references_{1};
    compound::ChunkedBytes bytes_;
};

} // namespace

HRESULT CreateChunkLockBytes(ILockBytes** bytes) {
    if (!bytes)
        return E_POINTER;
    *bytes = new (std::nothrow) ChunkLockBytes();
    return *bytes ? S_OK : E_OUTOFMEMORY;
}

} // namespace kestrix
