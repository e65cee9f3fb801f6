// The byte array under a temporary compound file kept in memory, in chunks rather than
// one growing block (see compound/ChunkedBytes.h).
#pragma once

#include <objidl.h>

namespace kestrix {

// A new, empty byte array with one reference for the caller; E_OUTOFMEMORY when none
// could be made.
HRESULT CreateChunkLockBytes(ILockBytes** bytes);

} // namespace kestrix
