// The format enumerator. Its formats carry no target device, so they are copied as
// they are.
#include "bookmarks/win32/FormatEnumerator.h"

#include <new>

namespace keywright {

IEnumFORMATETC* CMEnumFormatEtc::Create(std::vector<FORMATETC> formats, std::size_t position) {
    return new (std::nothrow) CMEnumFormatEtc(std::move(formats), position);
}

HRESULT CMEnumFormatEtc::Next(ULONG count, FORMATETC* formats, ULONG* fetched) {
    if (!formats || (count != 1 && !fetched))
        return E_INVALIDARG;
    ULONG done = 0;
    while (done < count && position_ < formats_.size())
        formats[done++] = formats_[position_++];
    if (fetched)
        *fetched = done;
    return done == count ? S_OK : S_FALSE;
}

HRESULT CMEnumFormatEtc::Skip(ULONG count) {
    std::size_t left = formats_.size() - position_;
    position_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
}

HRESULT CMEnumFormatEtc::Reset() {
    position_ = 0;
    return S_OK;
}

HRESULT CMEnumFormatEtc::Clone(IEnumFORMATETC** clone) {
    if (!clone)
        return E_POINTER;
    *clone = Create(formats_, position_);
    return *clone ? S_OK : E_OUTOFMEMORY;
}

} // namespace keywright
