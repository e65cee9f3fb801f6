// Every section, key and default of the windowed program's profile, with typed access.
#include "app/AppSettings.h"

#include <algorithm>

#include "undo/UndoJournal.h"

namespace sorbex {
namespace {

constexpr CHistoryDefinition kHistories[] = {
    {"SearchExpression", 50, nullptr},
    {"FileName", 25, "*.htm | *.html"},
    {"Directory", 25, "C:\\"},
    {"ReplaceString", 50, nullptr},
};

} // namespace

const CHistoryDefinition& HistoryDefinition(CHistoryKind kind) {
    return kHistories[static_cast<std::size_t>(kind)];
}

int TabLimitFromProfile(int stored) {
    const auto limit = static_cast<unsigned>(stored);
    if (limit == 0)
        return 1;
    return limit > static_cast<unsigned>(kMaxTabLimit) ? kMaxTabLimit : static_cast<int>(limit);
}

int ClampTabLimitField(long field) {
    if (field <= 0)
        return 1;
    return field > kMaxTabLimit ? kMaxTabLimit : static_cast<int>(field);
}

int ClampUndoWalksField(long field) {
    return static_cast<int>(std::clamp<long>(field, kMinUndoWalks, kMaxUndoWalks));
}

int ClampUndoMegabytesField(long field) {
    return static_cast<int>(std::clamp<long>(field, kMinUndoMegabytes, kMaxUndoMegabytesField));
}

bool CAppSettings::Flag(const char* name, int fallback) {
    return profile_.GetInt(section::kOptions, name, fallback) != 0;
}

void CAppSettings::SetFlag(const char* name, bool on) {
    profile_.WriteInt(section::kOptions, name, on ? 1 : 0);
}

bool CAppSettings::DontUseFileViewer() {
    return Flag(key::kDontUseFileViewer, 0);
}
void CAppSettings::SetDontUseFileViewer(bool on) {
    SetFlag(key::kDontUseFileViewer, on);
}
bool CAppSettings::AutoLoad() {
    return Flag(key::kAutoLoad, 1);
}
void CAppSettings::SetAutoLoad(bool on) {
    SetFlag(key::kAutoLoad, on);
}
bool CAppSettings::LimitTabs() {
    return Flag(key::kLimitTabs, 1);
}
void CAppSettings::SetLimitTabs(bool on) {
    SetFlag(key::kLimitTabs, on);
}
int CAppSettings::TabLimit() {
    return TabLimitFromProfile(profile_.GetInt(section::kOptions, key::kTabLimit, 10));
}
void CAppSettings::SetTabLimit(int limit) {
    profile_.WriteInt(section::kOptions, key::kTabLimit, limit);
}
int CAppSettings::UndoWalks() {
    return ReadUndoLimits(profile_).walks;
}
void CAppSettings::SetUndoWalks(int walks) {
    profile_.WriteInt(section::kOptions, key::kUndoWalks, walks);
}
int CAppSettings::UndoMegabytes() {
    return static_cast<int>(ReadUndoLimits(profile_).bytes >> 20);
}
void CAppSettings::SetUndoMegabytes(int megabytes) {
    profile_.WriteInt(section::kOptions, key::kUndoMegabytes, megabytes);
}
std::optional<int> CAppSettings::PageLimit() {
    if (!LimitTabs())
        return std::nullopt;
    return TabLimit();
}
bool CAppSettings::UseInternalFilter() {
    return Flag(key::kUseInternalFilter, 1);
}
void CAppSettings::SetUseInternalFilter(bool on) {
    SetFlag(key::kUseInternalFilter, on);
}
bool CAppSettings::UseExternalFilter() {
    return Flag(key::kUseExternalFilter, 1);
}
void CAppSettings::SetUseExternalFilter(bool on) {
    SetFlag(key::kUseExternalFilter, on);
}
CEncodingChoice CAppSettings::Encoding() {
    CEncodingChoice choice = CEncodingChoice::Auto;
    const std::string stored = profile_.GetString(section::kOptions, key::kEncoding,
                                                  EncodingChoiceName(CEncodingChoice::Auto));
    return ParseEncodingChoice(stored, choice) ? choice : CEncodingChoice::Auto;
}
void CAppSettings::SetEncoding(CEncodingChoice choice) {
    profile_.WriteString(section::kOptions, key::kEncoding, EncodingChoiceName(choice));
}
bool CAppSettings::Gif() {
    return Flag(key::kGif, 0);
}

CSearchOptionValues CAppSettings::SearchOptions() {
    const CSearchOptionValues d;
    CSearchOptionValues v;
    v.withSubDirectories =
        profile_.GetInt(section::kSearchDialog, key::kWithSubDirectories, d.withSubDirectories);
    v.matchCase = profile_.GetInt(section::kSearchDialog, key::kMatchCase, d.matchCase);
    v.matchWholeWords =
        profile_.GetInt(section::kSearchDialog, key::kMatchWholeWords, d.matchWholeWords);
    v.searchMethod = profile_.GetInt(section::kSearchDialog, key::kSearchMethod, d.searchMethod);
    v.replaceTag = profile_.GetInt(section::kSearchDialog, key::kReplaceTag, d.replaceTag);
    return v;
}

void CAppSettings::SetSearchOptions(const CSearchOptionValues& v) {
    profile_.WriteInt(section::kSearchDialog, key::kWithSubDirectories, v.withSubDirectories);
    profile_.WriteInt(section::kSearchDialog, key::kMatchCase, v.matchCase);
    profile_.WriteInt(section::kSearchDialog, key::kMatchWholeWords, v.matchWholeWords);
    profile_.WriteInt(section::kSearchDialog, key::kSearchMethod, v.searchMethod);
    profile_.WriteInt(section::kSearchDialog, key::kReplaceTag, v.replaceTag);
}

std::vector<std::string> CAppSettings::History(CHistoryKind kind) {
    const CHistoryDefinition& definition = HistoryDefinition(kind);
    std::vector<std::string> list =
        profile_.GetTextList(section::kSearchDialog, definition.baseName);
    if (list.empty() && definition.whenEmpty)
        list.push_back(definition.whenEmpty);
    return list;
}

void CAppSettings::SetHistory(CHistoryKind kind, const std::vector<std::string>& list) {
    const CHistoryDefinition& definition = HistoryDefinition(kind);
    profile_.WriteTextList(section::kSearchDialog, definition.baseName, list, definition.maxStored,
                           false);
}

bool CAppSettings::MainWindowPlacement(CWindowPlacementValue& placement) {
    return profile_.GetPlacement(section::kSettings, key::kMainWindowPlacement, placement);
}

void CAppSettings::SetMainWindowPlacement(const CWindowPlacementValue& placement) {
    profile_.WritePlacement(section::kSettings, key::kMainWindowPlacement, placement);
}

int CAppSettings::PreviewPages() {
    return profile_.GetInt(section::kSettings, key::kPreviewPages, 1);
}

void CAppSettings::SetPreviewPages(int pages) {
    profile_.WriteInt(section::kSettings, key::kPreviewPages, pages);
}

bool CAppSettings::ViewerWindowPlacement(CWindowPlacementValue& placement) {
    return profile_.GetPlacement(section::kSettings, key::kViewerWindowPlacement, placement);
}

void CAppSettings::SetViewerWindowPlacement(const CWindowPlacementValue& placement) {
    profile_.WritePlacement(section::kSettings, key::kViewerWindowPlacement, placement);
}

double CAppSettings::SplitFactor() {
    return profile_.GetDouble(section::kBarState, key::kSplitFactor, kDefaultSplitFactor);
}

void CAppSettings::SetSplitFactor(double factor) {
    profile_.WriteDouble(section::kBarState, key::kSplitFactor, factor);
}

namespace {

std::string BarSection(int index) {
    return std::string(section::kBarState) + kBarSectionSuffix + std::to_string(index);
}

std::string BarSummarySection() { return std::string(section::kBarState) + kBarSummarySuffix; }

} // namespace

bool CAppSettings::BarVisible(int barId) {
    const int count = profile_.GetInt(BarSummarySection(), key::kBarCount, 0);
    for (int i = 0; i < count; ++i) {
        const std::string bar = BarSection(i);
        // No bar has the id 0, so a section without its id matches nothing.
        if (profile_.GetInt(bar, key::kBarId, 0) == barId)
            return profile_.GetInt(bar, key::kBarVisible, 1) != 0;
    }
    return true;
}

void CAppSettings::SetBarsShown(const std::vector<CBarShown>& bars) {
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const std::string bar = BarSection(static_cast<int>(i));
        profile_.WriteInt(bar, key::kBarId, bars[i].barId);
        profile_.WriteInt(bar, key::kBarVisible, bars[i].visible ? 1 : 0);
    }
    // The count last, so that a summary never names a bar whose section is not written.
    profile_.WriteInt(BarSummarySection(), key::kBarCount, static_cast<int>(bars.size()));
}

std::vector<long> CAppSettings::Margins() {
    std::vector<long> margins(4, kDefaultMargin);
    profile_.GetNumberList(section::kPageSetup, key::kMargin, margins);
    return margins;
}

int CAppSettings::Orientation() {
    return profile_.GetInt(section::kPageSetup, key::kOrientation, kDefaultOrientation);
}

int CAppSettings::PaperSize() {
    return profile_.GetInt(section::kPageSetup, key::kPaperSize, kDefaultPaperSize);
}

CPageSetup CAppSettings::PageSetup() {
    CPageSetup setup;
    const std::vector<long> margins = Margins();
    std::copy(margins.begin(), margins.end(), setup.margins.begin());
    setup.orientation = Orientation();
    setup.paperSize = PaperSize();
    return setup;
}

void CAppSettings::SetPageSetup(const CPageSetup& setup) {
    profile_.WriteNumberList(section::kPageSetup, key::kMargin,
                             std::vector<long>(setup.margins.begin(), setup.margins.end()));
    profile_.WriteInt(section::kPageSetup, key::kOrientation, setup.orientation);
    profile_.WriteInt(section::kPageSetup, key::kPaperSize, setup.paperSize);
}

CViewerFont CAppSettings::ViewerFont() {
    return profile_.GetFont(section::kViewerFont);
}

void CAppSettings::SetViewerFont(const CViewerFont& font) {
    profile_.WriteFont(section::kViewerFont, font);
}

} // namespace sorbex
