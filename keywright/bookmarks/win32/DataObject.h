// CMDataObject: a dragged location as OLE data, offered as text, as a dropped bookmark
// file and in the add-in's private format.
#pragma once

#include "bookmarks/UrlFile.h"
#include "bookmarks/win32/ComObject.h"
#include "bookmarks/win32/TransferEnvironment.h"

#include <objidl.h>

#include <vector>

namespace keywright {

class CMDataObject : public ComObject<IDataObject> {
public:
    // A new data object with one reference that owns a block holding `list`; null when
    // memory is short.
    static IDataObject* Create(const LocationList& list, const TransferEnvironment& environment);

    // The three formats in the order they are offered.
    static std::vector<FORMATETC> Formats(UINT privateFormat);

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                                      DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** advises) override;

private:
    CMDataObject(HGLOBAL block, const TransferEnvironment& environment)
        : block_(block), environment_(environment) {}
    ~CMDataObject() override;

    HRESULT render_text(HGLOBAL* result);
    HRESULT render_drop(HGLOBAL* result);
    bool Offers(const FORMATETC* format) const;
    std::string ListBytes() const;

    HGLOBAL block_; // the location list, owned
    TransferEnvironment environment_;
};

} // namespace keywright
