// The add-in's string table: every user-visible text, addressed by number.
#pragma once

#include <string>

namespace keywright {

// Toolbar tooltips; the table that maps a button's command to its tooltip is in the
// toolbar code.
constexpr unsigned kStrTipSearch = 102;
constexpr unsigned kStrTipReplace = 103;
constexpr unsigned kStrTipDelete = 104;
constexpr unsigned kStrTipNewBookmark = 105;
constexpr unsigned kStrTipGoBack = 106;
constexpr unsigned kStrTipGoForward = 107;
constexpr unsigned kStrTipNewKey = 108;
constexpr unsigned kStrTipNewString = 109;
constexpr unsigned kStrTipNewDword = 110;
constexpr unsigned kStrTipNewBinary = 111;
constexpr unsigned kStrTipRefresh = 112;
constexpr unsigned kStrTipMailSubkey = 113;
constexpr unsigned kStrTipPreview = 114;
constexpr unsigned kStrTipOptions = 115;
constexpr unsigned kStrEncodeBufferTooSmall = 2094;
constexpr unsigned kStrOleInitializeFailed = 2097;
constexpr unsigned kStrAddinTitle = 2106;
constexpr unsigned kStrInvalidKey = 2300;
constexpr unsigned kStrKeyNotFound = 2301;
constexpr unsigned kStrValueNotFound = 2302;
constexpr unsigned kStrDefaultNotFound = 2303;
constexpr unsigned kStrSetValueFailed = 2304;
// Key operations and the registry search.
constexpr unsigned kStrDestroyKeyFailed = 2092;
constexpr unsigned kStrReplicateKeyFailed = 2093;
constexpr unsigned kStrValueDataError = 2144;
constexpr unsigned kStrMarkerNotRemoved = 2146;
constexpr unsigned kStrRemoteKeyError = 2147;
constexpr unsigned kStrNoSearchString = 2148;
constexpr unsigned kStrBadKeyName = 2400;
constexpr unsigned kStrCopyRemoved = 2401;
constexpr unsigned kStrCopyMergedPartly = 2402;
constexpr unsigned kStrCopyNotRemoved = 2403;
constexpr unsigned kStrDeleteLeftBoth = 2404;
constexpr unsigned kStrRemoteRootError = 2410;
constexpr unsigned kStrOpenKeyError = 2411;
constexpr unsigned kStrSearching = 2412;
constexpr unsigned kStrSearchCompleted = 2413;
constexpr unsigned kStrSearchInterrupted = 2414;
constexpr unsigned kStrKeysVisited = 2415;
constexpr unsigned kStrValuesVisited = 2416;
constexpr unsigned kStrDataVisited = 2417;
constexpr unsigned kStrKeysFound = 2418;
constexpr unsigned kStrValuesFound = 2419;
constexpr unsigned kStrDataFound = 2420;
constexpr unsigned kStrEnterSearchString = 2421;
// The search window's result columns and pages.
constexpr unsigned kStrColumnKey = 2430;
constexpr unsigned kStrColumnValue = 2431;
constexpr unsigned kStrColumnData = 2432;
constexpr unsigned kStrPageSearch = 2433;
constexpr unsigned kStrPageAdvanced = 2434;
constexpr unsigned kStrNotAvailableYet = 2990;
constexpr unsigned kStrAboutVersion = 2991; // "%d.%02d (build %d)": major, minor, build
constexpr unsigned kStrSplitterClassFailed = 2992;
// What the add-in says when a handler failed where nobody could handle it.
constexpr unsigned kStrOutOfMemory = 2993;
constexpr unsigned kStrInternalFault = 2994; // "%s": what failed
// Status bar texts of the add-in's menu commands share the commands' numbers.
constexpr unsigned kStrFirstMenuStatus = 3016;
constexpr unsigned kStrLastMenuStatus = 3024;

// The text of string `id`, or null when the table has no such string.
const char* KeywrightString(unsigned id);

// String `id` with its first "%s" replaced by `insert`. The insert is never read as
// a format, so texts from the registry or a location cannot inject one.
std::string KeywrightStringWith(unsigned id, const std::string& insert);

} // namespace keywright
