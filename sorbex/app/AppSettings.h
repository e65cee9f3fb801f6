// Every section, key and default of the windowed program's profile, with typed access.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/Profile.h"
#include "text/TextEncoding.h"
#include "viewer/PageSetup.h"

namespace sorbex {

namespace section {
constexpr const char* kOptions = "Options";
constexpr const char* kSearchDialog = "SearchDialog";
constexpr const char* kSettings = "Settings";
constexpr const char* kBarState = "StdBarState1";
constexpr const char* kPageSetup = "PageSetup";
constexpr const char* kViewerFont = "SearchOptions";
constexpr const char* kRecentFiles = "Recent File List";
} // namespace section

namespace key {
constexpr const char* kDontUseFileViewer = "DontUseFileViewer";
constexpr const char* kAutoLoad = "AutoLoad";
constexpr const char* kLimitTabs = "LimitTabs";
constexpr const char* kTabLimit = "TabLimit";
constexpr const char* kUseInternalFilter = "UseInternalFilter";
constexpr const char* kUseExternalFilter = "UseExternalFilter";
constexpr const char* kNoReplaceWarning = "NoReplaceWarning";
constexpr const char* kEncoding = "Encoding"; // how text files' bytes are read
constexpr const char* kUndoWalks = "UndoWalks";
constexpr const char* kUndoMegabytes = "UndoMegabytes";
constexpr const char* kGif = "Gif";
constexpr const char* kWithSubDirectories = "WithSubDirectories";
constexpr const char* kMatchCase = "MatchCase";
constexpr const char* kMatchWholeWords = "MatchWholeWords";
constexpr const char* kSearchMethod = "SearchMethod";
constexpr const char* kReplaceTag = "ReplaceTag";
constexpr const char* kMainWindowPlacement = "MainWindowPlacement";
constexpr const char* kPreviewPages = "PreviewPages";
constexpr const char* kViewerWindowPlacement = "ViewerWindowPlacement";
constexpr const char* kSplitFactor = "SearchReplaceSplitFactor";
constexpr const char* kMargin = "Margin";
constexpr const char* kOrientation = "Orientation";
constexpr const char* kPaperSize = "PaperSize";
constexpr const char* kRecentFile = "File"; // File1 to File4
constexpr const char* kBarCount = "Bars";   // in the bar state's summary
constexpr const char* kBarId = "BarID";     // in each bar's own section
constexpr const char* kBarVisible = "Visible";
} // namespace key

// The sections of the bars' state: the bar state's name followed by a suffix, one for
// the summary and one for each bar.
constexpr const char* kBarSummarySuffix = "-Summary";
constexpr const char* kBarSectionSuffix = "-Bar"; // -Bar0, -Bar1, ...

// Whether a bar of the main window shows, by the bar's window id.
struct CBarShown {
    int barId;
    bool visible;
};

// The four history lists of the definition pages.
enum class CHistoryKind { SearchExpression, FileName, Directory, ReplaceString };

struct CHistoryDefinition {
    const char* baseName;  // key prefix: base1, base2, ...
    std::size_t maxStored; // entries written when the pages close
    const char* whenEmpty; // offered when the profile holds none; null: nothing
};

const CHistoryDefinition& HistoryDefinition(CHistoryKind kind);

// The defaults of the definition pages' options.
struct CSearchOptionValues {
    int withSubDirectories = 1;
    int matchCase = 0;
    int matchWholeWords = 0;
    int searchMethod = 0; // 0 standard, 1 phonetic
    int replaceTag = 0;   // 0 the whole expression, 1 to 5 that subexpression
};

constexpr int kMaxTabLimit = 999;
constexpr double kDefaultSplitFactor = 0.38;
constexpr long kDefaultMargin = 1134; // twips: 2 cm
constexpr int kDefaultOrientation = 1;
constexpr int kDefaultPaperSize = 9;
constexpr std::size_t kRecentFileCount = 4;

// "TabLimit" as stored: 0 counts as 1, and anything above 999 read as unsigned (so
// every negative value) as 999.
int TabLimitFromProfile(int stored);
// The number field of the options page: 0 or less is 1, 1000 or more is 999.
int ClampTabLimitField(long field);

// The undo journal's numbers on the options page: "UndoWalks" 0 (no journal) to 99,
// "UndoMegabytes" 1 to the field's limit.
constexpr int kMinUndoWalks = 0;
constexpr int kMinUndoMegabytes = 1;
constexpr int kMaxUndoMegabytesField = 999999;
int ClampUndoWalksField(long field);
int ClampUndoMegabytesField(long field);

// The windowed program's settings, each read from the profile when asked and
// written at once.
class CAppSettings {
public:
    explicit CAppSettings(CProfile& profile) : profile_(profile) {}

    bool DontUseFileViewer();
    void SetDontUseFileViewer(bool on);
    bool AutoLoad();
    void SetAutoLoad(bool on);
    bool LimitTabs();
    void SetLimitTabs(bool on);
    // The stored limit after the rule above.
    int TabLimit();
    void SetTabLimit(int limit);
    // The undo journal's limits as a walk reads them ("UndoWalks", "UndoMegabytes").
    int UndoWalks();
    void SetUndoWalks(int walks);
    int UndoMegabytes();
    void SetUndoMegabytes(int megabytes);
    // The limit in force when the options page is closed; nullopt: no limit.
    std::optional<int> PageLimit();
    bool UseInternalFilter();
    void SetUseInternalFilter(bool on);
    bool UseExternalFilter();
    void SetUseExternalFilter(bool on);
    // "auto", "ansi", "utf-8", "utf-16le" or "utf-16be"; anything else is "auto".
    CEncodingChoice Encoding();
    void SetEncoding(CEncodingChoice choice);
    bool Gif();

    CSearchOptionValues SearchOptions();
    void SetSearchOptions(const CSearchOptionValues& values);

    // The stored history, or the list of one default entry when it is empty.
    std::vector<std::string> History(CHistoryKind kind);
    // Writes at most the kind's limit, leaving higher entries in the profile.
    void SetHistory(CHistoryKind kind, const std::vector<std::string>& list);

    bool MainWindowPlacement(CWindowPlacementValue& placement);
    void SetMainWindowPlacement(const CWindowPlacementValue& placement);
    bool ViewerWindowPlacement(CWindowPlacementValue& placement);
    void SetViewerWindowPlacement(const CWindowPlacementValue& placement);

    double SplitFactor();
    void SetSplitFactor(double factor);
    // Whether the bar with this id showed when the window last closed; true when the
    // profile does not say (a bar shows until the user hides it).
    bool BarVisible(int barId);
    // Writes the summary and one section per bar, in the order given.
    void SetBarsShown(const std::vector<CBarShown>& bars);

    // Left, top, right, bottom in twips.
    std::vector<long> Margins();
    int Orientation();
    int PaperSize();
    // The three together, for printing; written back when the page setup is confirmed.
    CPageSetup PageSetup();
    void SetPageSetup(const CPageSetup& setup);

    // How many pages the print preview shows at once.
    int PreviewPages();
    void SetPreviewPages(int pages);

    CViewerFont ViewerFont();
    void SetViewerFont(const CViewerFont& font);

    CProfile& profile() { return profile_; }

private:
    bool Flag(const char* name, int fallback);
    void SetFlag(const char* name, bool on);

    CProfile& profile_;
};

} // namespace sorbex
