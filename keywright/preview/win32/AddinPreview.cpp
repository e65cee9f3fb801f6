// The add-in's side of the preview window.
#include "preview/win32/AddinPreview.h"

#include "host/win32/AddinContext.h"
#include "host/win32/AddinModule.h"
#include "host/win32/AddinSettings.h"
#include "host/win32/HookProcedure.h"

namespace keywright {

namespace {

// The one preview window while it exists; it clears this itself when it goes.
HWND g_previewWindow = nullptr;

} // namespace

PreviewHost AddinPreviewHost() {
    const AddinContext& context = Addin();
    PreviewHost host;
    host.ownInstance = OwnInstance();
    host.editorInstance = context.editorInstance;
    host.editorFrame = context.editor.frame;
    host.rootText = context.rootText;
    host.icons = context.profile ? context.profile->previewIcons : nullptr;
    host.modeless = &ModelessWindows();
    host.settings = &AddinSettings();
    host.previewWindow = &g_previewWindow;
    return host;
}

} // namespace keywright
