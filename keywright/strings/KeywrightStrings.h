// The add-in's string table: every user-visible text, addressed by number.
#pragma once

#include <initializer_list>
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
// The preview of registry files.
constexpr unsigned kStrPreviewColumnName = 100;
constexpr unsigned kStrPreviewColumnData = 101;
constexpr unsigned kStrPreviewFileFilter = 2104; // its first character separates the parts
constexpr unsigned kStrPreviewDialogTitle = 2110;
constexpr unsigned kStrPreviewInitialFile = 2111;
constexpr unsigned kStrInvalidFileFormat = 2600; // "%u": the line
constexpr unsigned kStrFileFilterMissing = 2601;
constexpr unsigned kStrDefaultValueName = 2602;
constexpr unsigned kStrValueNotSet = 2603;
// Bookmarks and drag and drop.
constexpr unsigned kStrMyBookmarks = 3;
constexpr unsigned kStrNewFolder = 4;
constexpr unsigned kStrConfirmFolderDelete = 5;
constexpr unsigned kStrEmptyName = 6;
constexpr unsigned kStrForbiddenNameCharacters = 7;
constexpr unsigned kStrCannotRemoveDirectory = 2091;
constexpr unsigned kStrCannotReadFile = 2098;
constexpr unsigned kStrCannotOpenFile = 2099; // "%s": the path
constexpr unsigned kStrCannotRenameFolder = 2100; // "%s" twice: old and new path
constexpr unsigned kStrCannotCreateFolder = 2101;
constexpr unsigned kStrCannotCreateUrlFile = 2700; // path, then the error code in hex
constexpr unsigned kStrCannotWriteUrlFile = 2701;  // path, then the error code in hex
constexpr unsigned kStrCannotDeleteFile = 2702;
constexpr unsigned kStrDragResult = 2703;          // an unexpected drag result in hex
constexpr unsigned kStrCreateSubfolderItem = 2704;
constexpr unsigned kStrDeleteFolderItem = 2705;    // the folder's name
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
// Mail: the system's mail interface, the message builder, the SMTP client and its
// windows.
constexpr unsigned kStrMapiAttachmentsMissing = 500;
constexpr unsigned kStrMapiAttachmentWrite = 501;
constexpr unsigned kStrMapiUnspecified = 502;
constexpr unsigned kStrMapiLogonFailure = 503;
constexpr unsigned kStrMapiCancelled = 504;
constexpr unsigned kStrMapiNoMemory = 506;
constexpr unsigned kStrMapiFunctionMissing = 2095;
constexpr unsigned kStrMapiNotLoaded = 2096;
constexpr unsigned kStrExportFailed = 2102;
constexpr unsigned kStrCannotExportKey = 2103;
constexpr unsigned kStrAttachmentName = 2111;
constexpr unsigned kStrNoAtSign = 2112; // "%s": the entry
constexpr unsigned kStrNoRecipient = 2113;
constexpr unsigned kStrFromInvalid = 2114;
constexpr unsigned kStrSocketOpenFailed = 2115;
constexpr unsigned kStrHostNotResolved = 2116;
constexpr unsigned kStrAsyncSelectFailed = 2117;
constexpr unsigned kStrCannotConnect = 2118; // "%s": the server
constexpr unsigned kStrConnectionDropped = 2119;
constexpr unsigned kStrReceiveFailed = 2120;
constexpr unsigned kStrConnectingTo = 2122; // "%s": the server
constexpr unsigned kStrConnecting = 2123;
constexpr unsigned kStrHideDetails = 2125;
constexpr unsigned kStrSending = 2126;
constexpr unsigned kStrReceiving = 2127;
constexpr unsigned kStrOnlineError = 2128;
constexpr unsigned kStrMessageAccepted = 2129;
constexpr unsigned kStrResponsesColumn = 2130;
constexpr unsigned kStrWinSockLookupFailed = 2200;
constexpr unsigned kStrWinSockNotLoaded = 2201;
constexpr unsigned kStrSendFailed = 2220;
constexpr unsigned kStrServerMissing = 2221;
constexpr unsigned kStrServerBlank = 2222;
constexpr unsigned kStrClosedBeforeAccepted = 2223;
constexpr unsigned kStrSentBytes = 2224; // "%d": the bytes of one send
constexpr unsigned kStrSendingBody = 2225;
constexpr unsigned kStrOwnRowPrefix = 2226;
constexpr unsigned kStrServerRowPrefix = 2227;
constexpr unsigned kStrReplyTooLong = 2228;
constexpr unsigned kStrMapiOtherError = 2229; // "%s": the result number
constexpr unsigned kStrPortInvalid = 2230;    // "%s": the stored port
constexpr unsigned kStrExportEmpty = 2231;    // "%s": the key
constexpr unsigned kStrFirstSocketError = 5000; // to 5019, the socket error descriptions
constexpr unsigned kStrLastSocketError = 5019;
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

// String `id` with its conversions ("%s", "%d", "%u", "%x") replaced in order by
// `inserts`, which the caller has already formatted; conversions beyond the inserts
// stay as they are. "%%" stays too. The inserts are never read as formats.
std::string KeywrightStringWithAll(unsigned id, std::initializer_list<std::string> inserts);

} // namespace keywright
