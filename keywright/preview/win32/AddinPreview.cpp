// The add-in's side of the preview window.
#include "preview/win32/AddinPreview.h"

#include "host/win32/AddinContext.h"

namespace keywright {

PreviewHost AddinPreviewHost() {
    AddinContext& context = Addin();
    PreviewHost host;
    host.ownInstance = context.ownInstance;
    host.editorInstance = context.editorInstance;
    host.editorFrame = context.editor.frame;
    host.rootText = context.rootText;
    host.icons = context.profile ? context.profile->previewIcons : nullptr;
    host.settings = &AddinSettings();
    host.previewWindow = &context.previewWindow;
    return host;
}

} // namespace keywright
