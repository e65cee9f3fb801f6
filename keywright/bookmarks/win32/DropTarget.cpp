// The pane's drop target.
#include "bookmarks/win32/DropTarget.h"

#include <new>

namespace keywright {

namespace {

POINT ScreenPoint(POINTL point) {
    return POINT{point.x, point.y};
}

// Moving is what a plain drop means, copying what a drop with Ctrl means; an effect
// the source does not allow is not offered.
DWORD EffectFor(DWORD keyState, DWORD allowed) {
    DWORD wanted = (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    if (allowed & wanted)
        return wanted;
    return allowed & DROPEFFECT_COPY;
}

} // namespace

IDropTarget* CMDropTarget::Create(DropTargetHost& host, UINT privateFormat) {
    return new (std::nothrow) CMDropTarget(host, privateFormat);
}

FORMATETC CMDropTarget::PrivateFormat() const {
    return FORMATETC{static_cast<CLIPFORMAT>(privateFormat_), nullptr, DVASPECT_CONTENT, -1,
                     TYMED_HGLOBAL};
}

bool CMDropTarget::Acceptable(IDataObject* data) const {
    FORMATETC format = PrivateFormat();
    return data && privateFormat_ && data->QueryGetData(&format) == S_OK;
}

HRESULT CMDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    accepted_ = Acceptable(data);
    *effect = accepted_ ? EffectFor(keyState, *effect) : DROPEFFECT_NONE;
    if (accepted_)
        host_.HighlightAt(ScreenPoint(point));
    return S_OK;
}

HRESULT CMDropTarget::DragOver(DWORD, POINTL point, DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    *effect = accepted_ ? (*effect & DROPEFFECT_COPY) : DROPEFFECT_NONE;
    if (accepted_)
        host_.HighlightAt(ScreenPoint(point));
    return S_OK;
}

HRESULT CMDropTarget::DragLeave() {
    accepted_ = false;
    host_.ClearHighlight();
    return S_OK;
}

HRESULT CMDropTarget::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    bool stored = false;
    if (Acceptable(data)) {
        host_.HighlightAt(ScreenPoint(point));
        FORMATETC format = PrivateFormat();
        STGMEDIUM medium{};
        if (data->GetData(&format, &medium) == S_OK) {
            if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
                if (const void* bytes = GlobalLock(medium.hGlobal)) {
                    std::optional<LocationList> list = DecodeLocationList(
                        static_cast<const char*>(bytes), GlobalSize(medium.hGlobal));
                    GlobalUnlock(medium.hGlobal);
                    stored = list && host_.DropOnHighlight(*list);
                }
            }
            ReleaseStgMedium(&medium);
        }
    }
    accepted_ = false;
    host_.ClearHighlight();
    *effect = stored ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return stored ? S_OK : E_FAIL;
}

} // namespace keywright
