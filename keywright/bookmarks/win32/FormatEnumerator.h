// CMEnumFormatEtc: the enumerator over the formats a data object offers.
#pragma once

#include "bookmarks/win32/ComObject.h"

#include <objidl.h>

#include <vector>

namespace keywright {

class CMEnumFormatEtc : public ComObject<IEnumFORMATETC> {
public:
    // A new enumerator with one reference, positioned at `position`.
    static IEnumFORMATETC* Create(std::vector<FORMATETC> formats, std::size_t position = 0);

    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** clone) override;

private:
    CMEnumFormatEtc(std::vector<FORMATETC> formats, std::size_t position)
        : formats_(std::move(formats)), position_(position) {}

    std::vector<FORMATETC> formats_; // none holds a target device
    std::size_t position_;
};

} // namespace keywright
