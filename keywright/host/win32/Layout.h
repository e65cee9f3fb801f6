// Moving the toolbar, the editor's panes, the bookmark pane and the status bar into
// place for the main window's client size.
#pragma once

namespace keywright {

void LayOutEditorPanes(int clientWidth, int clientHeight);

// The same for the main window's current client size.
void LayOutEditorPanesNow();

} // namespace keywright
