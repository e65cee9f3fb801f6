// The preview window as the add-in opens it: with the editor's instance, icons, root
// text and frame, the add-in's settings and its list of modeless windows.
#pragma once

#include "preview/win32/PreviewWindow.h"

namespace keywright {

PreviewHost AddinPreviewHost();

} // namespace keywright
