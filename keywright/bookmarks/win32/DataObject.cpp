// The data object of a drag. The receiver owns every block it is given; the object
// keeps its own block until its last reference goes.
#include "bookmarks/win32/DataObject.h"

#include "bookmarks/BookmarkFiles.h"
#include "bookmarks/win32/FormatEnumerator.h"

#include <shlobj.h>

#include <cstring>
#include <new>

namespace keywright {

namespace {

// The file list of a DROPFILES block begins right after its header.
constexpr DWORD kDropFilesHeader = sizeof(DROPFILES);
static_assert(sizeof(DROPFILES) == 20, "the block layout receivers expect");

FORMATETC Format(CLIPFORMAT format) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// A block the receiver owns and may hand to another process.
HGLOBAL AllocateForReceiver(SIZE_T size, const void* bytes, SIZE_T count) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size);
    if (!block)
        return nullptr;
    if (count) {
        void* data = GlobalLock(block);
        if (!data) {
            GlobalFree(block);
            return nullptr;
        }
        std::memcpy(data, bytes, count);
        GlobalUnlock(block);
    }
    return block;
}

} // namespace

IDataObject* CMDataObject::Create(const LocationList& list,
                                  const TransferEnvironment& environment) {
    std::string bytes = EncodeLocationList(list);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size());
    if (!block)
        return nullptr;
    if (void* data = GlobalLock(block)) {
        std::memcpy(data, bytes.data(), bytes.size());
        GlobalUnlock(block);
    } else {
        GlobalFree(block);
        return nullptr;
    }
    auto* object = new (std::nothrow) CMDataObject(block, environment);
    if (!object)
        GlobalFree(block);
    return object;
}

CMDataObject::~CMDataObject() {
    GlobalFree(block_);
}

std::vector<FORMATETC> CMDataObject::Formats(UINT privateFormat) {
    return {Format(CF_TEXT), Format(CF_HDROP), Format(static_cast<CLIPFORMAT>(privateFormat))};
}

bool CMDataObject::Offers(const FORMATETC* format) const {
    if (!format || !(format->dwAspect & DVASPECT_CONTENT) || !(format->tymed & TYMED_HGLOBAL))
        return false;
    return format->cfFormat == CF_TEXT || format->cfFormat == CF_HDROP ||
           (environment_.privateFormat && format->cfFormat == environment_.privateFormat);
}

std::string CMDataObject::ListBytes() const {
    std::string bytes;
    if (const void* data = GlobalLock(block_)) {
        bytes.assign(static_cast<const char*>(data), GlobalSize(block_));
        GlobalUnlock(block_);
    }
    return bytes;
}

HRESULT CMDataObject::render_text(HGLOBAL* result) {
    Trace(environment_, "In CMDataObject::render_text\r\n");
    std::string bytes = ListBytes();
    *result = AllocateForReceiver(bytes.size(), bytes.data(), bytes.size());
    return *result ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT CMDataObject::render_drop(HGLOBAL* result) {
    Trace(environment_, "In CMDataObject::render_drop\r\n");
    std::string bytes = ListBytes();
    std::optional<LocationList> list = DecodeLocationList(bytes.data(), bytes.size());
    if (!list || !environment_.fs)
        return E_FAIL;
    std::string written;
    if (CreateURLFile(*environment_.fs, *list, environment_.temporaryFolder, written,
                      environment_.show) != kUrlFileWritten)
        return E_FAIL;
    if (environment_.temporaryFiles)
        environment_.temporaryFiles->Add(written);
    // The header, the path and the two NULs that end the list (the block comes zeroed).
    SIZE_T size = written.size() + kDropFilesHeader + 2;
    DROPFILES header{};
    header.pFiles = kDropFilesHeader;
    *result = AllocateForReceiver(size, &header, sizeof header);
    if (!*result)
        return STG_E_MEDIUMFULL;
    auto* data = static_cast<char*>(GlobalLock(*result));
    std::memcpy(data + kDropFilesHeader, written.data(), written.size());
    GlobalUnlock(*result);
    return S_OK;
}

HRESULT CMDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    Trace(environment_, "In CMDataObject::GetData\r\n");
    if (!medium)
        return E_INVALIDARG;
    if (!Offers(format))
        return DV_E_FORMATETC;
    HGLOBAL block = nullptr;
    HRESULT result = format->cfFormat == CF_HDROP ? render_drop(&block) : render_text(&block);
    if (FAILED(result))
        return result;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT CMDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) {
    Trace(environment_, "In CMDataObject::GetDataHere\r\n");
    return DV_E_FORMATETC;
}

HRESULT CMDataObject::QueryGetData(FORMATETC* format) {
    Trace(environment_, "In CMDataObject::QueryGetData\r\n");
    return Offers(format) ? S_OK : DV_E_FORMATETC;
}

HRESULT CMDataObject::GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) {
    Trace(environment_, "In CMDataObject::GetCanonicalFormatEtc\r\n");
    if (!in || !out)
        return E_INVALIDARG;
    *out = *in;
    out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

HRESULT CMDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL) {
    Trace(environment_, "In CMDataObject::SetData\r\n");
    return DV_E_FORMATETC;
}

HRESULT CMDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) {
    Trace(environment_, "In CMDataObject::EnumFormatEtc\r\n");
    if (!formats)
        return E_POINTER;
    *formats = nullptr;
    if (direction != DATADIR_GET)
        return E_FAIL;
    *formats = CMEnumFormatEtc::Create(Formats(environment_.privateFormat));
    return *formats ? S_OK : E_OUTOFMEMORY;
}

HRESULT CMDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) {
    Trace(environment_, "In CMDataObject::DAdvise\r\n");
    return E_NOTIMPL;
}

HRESULT CMDataObject::DUnadvise(DWORD) {
    Trace(environment_, "In CMDataObject::DUnadvise\r\n");
    return E_NOTIMPL;
}

HRESULT CMDataObject::EnumDAdvise(IEnumSTATDATA**) {
    Trace(environment_, "In CMDataObject::EnumDAdvise\r\n");
    return E_NOTIMPL;
}

} // namespace keywright
