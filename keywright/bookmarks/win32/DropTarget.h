// The bookmark pane's drop target: it takes only the add-in's own format and leaves
// where the dragged location goes to the pane.
#pragma once

#include "bookmarks/UrlFile.h"
#include "bookmarks/win32/ComObject.h"

#include <ole2.h>

namespace keywright {

// What the drop target asks of the pane.
class DropTargetHost {
public:
    virtual ~DropTargetHost() = default;
    // Highlights the item under the screen point as drop target, or the top item.
    virtual void HighlightAt(POINT screen) = 0;
    virtual void ClearHighlight() = 0;
    // Stores `list` in the highlighted folder (or the folder of the highlighted
    // bookmark); true when it is there (a bookmark dropped back into its own folder
    // is there already).
    virtual bool DropOnHighlight(const LocationList& list) = 0;
};

class CMDropTarget : public ComObject<IDropTarget> {
public:
    // `host` must outlive the registration; `privateFormat` is the add-in's format.
    static IDropTarget* Create(DropTargetHost& host, UINT privateFormat);

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point,
                                   DWORD* effect) override;

private:
    CMDropTarget(DropTargetHost& host, UINT privateFormat)
        : host_(host), privateFormat_(privateFormat) {}
    bool Acceptable(IDataObject* data) const;
    FORMATETC PrivateFormat() const;

    DropTargetHost& host_;
    UINT privateFormat_;
    bool accepted_ = false; // the data of the drag in progress offers our format
};

} // namespace keywright
