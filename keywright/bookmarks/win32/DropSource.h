// The drop source and the start of a drag of one location.
#pragma once

#include "bookmarks/UrlFile.h"
#include "bookmarks/win32/ComObject.h"
#include "bookmarks/win32/TransferEnvironment.h"

#include <ole2.h>

namespace keywright {

class CMDropSource : public ComObject<IDropSource> {
public:
    static IDropSource* Create();
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

private:
    CMDropSource() = default;
};

// How a drag ended; the numbers are those callers have always seen.
enum class DragOutcome { Dropped = 0, Cancelled = 1, NotPossible = 2 };

// What a drag's result means. A drop that the receiver refused (the system reports a
// drop, but with no effect) did not take anything, so it counts as cancelled.
DragOutcome OutcomeOfDrag(HRESULT result, DWORD effect);

// Drags `list` with copying as the only allowed effect. Without OLE, message 2097 and
// NotPossible; a result the system should never give is shown as "hr = 0x...".
DragOutcome StartDrag(const TransferEnvironment& environment, const LocationList& list);

} // namespace keywright
