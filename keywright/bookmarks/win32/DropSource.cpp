// The drop source and the drag itself. DoDragDrop runs its own modal loop on the
// editor's thread until the drag ends.
#include "bookmarks/win32/DropSource.h"

#include "bookmarks/win32/DataObject.h"
#include "strings/KeywrightStrings.h"

#include <cstdio>
#include <new>

namespace keywright {

IDropSource* CMDropSource::Create() {
    return new (std::nothrow) CMDropSource();
}

HRESULT CMDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    if (escapePressed)
        return DRAGDROP_S_CANCEL;
    if (!(keyState & MK_LBUTTON))
        return DRAGDROP_S_DROP;
    return S_OK;
}

HRESULT CMDropSource::GiveFeedback(DWORD) {
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

DragOutcome OutcomeOfDrag(HRESULT result, DWORD effect) {
    if (result == S_OK || result == DRAGDROP_S_DROP)
        return effect == DROPEFFECT_NONE ? DragOutcome::Cancelled : DragOutcome::Dropped;
    if (result == DRAGDROP_S_CANCEL)
        return DragOutcome::Cancelled;
    return DragOutcome::NotPossible;
}

DragOutcome StartDrag(const TransferEnvironment& environment, const LocationList& list) {
    if (!environment.oleInitialized) {
        environment.show(KeywrightString(kStrOleInitializeFailed));
        return DragOutcome::NotPossible;
    }
    ComPtr<IDataObject> data(CMDataObject::Create(list, environment));
    ComPtr<IDropSource> source(CMDropSource::Create());
    if (!data || !source)
        return DragOutcome::NotPossible;
    DWORD effect = DROPEFFECT_NONE;
    HRESULT result = DoDragDrop(data.get(), source.get(), DROPEFFECT_COPY, &effect);
    DragOutcome outcome = OutcomeOfDrag(result, effect);
    if (outcome == DragOutcome::NotPossible) {
        char code[16];
        std::snprintf(code, sizeof code, "%lx", static_cast<unsigned long>(result));
        environment.show(KeywrightStringWithAll(kStrDragResult, {code}));
    }
    return outcome;
}

} // namespace keywright
