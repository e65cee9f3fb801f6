// Going to a location in the editor on a thread of its own, and Back / Forward.
#pragma once

#include <string>

namespace keywright {

// Starts the navigation; 0 when it was started, 1 when the location is empty or the
// add-in is not attached.
int GotoUrl(const std::string& location, const std::string& valueName);

// Handles the launcher's shared text: a location, or an empty text for the last one.
void GotoSharedText();

// Back and Forward, with the toolbar's two buttons brought up to date.
void GoBackInHistory();
void GoForwardInHistory();

// A navigation that Back or Forward started has ended (kMsgNavigationEnded).
void EndHistoryNavigation(unsigned navigation);

// The TVN_SELCHANGED side of the history.
void RecordTreeSelection(const std::string& fullKeyPath);

// Stores the current key in UrlMru for the next run.
void RememberCurrentLocation();

} // namespace keywright
