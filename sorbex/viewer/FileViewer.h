// The file viewer without its window: which file it shows, the texts it keeps while
// the user steps through that file's results, and where each passage is shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "search/ProfileSettings.h"
#include "search/SearchResultArray.h"
#include "text/TextConverterList.h"
#include "viewer/ViewerFont.h"
#include "viewer/ViewerText.h"
#include "viewer/ViewerUi.h"

namespace sorbex {

// The options of section "Options" that the viewer reads each time it shows a result.
CViewerOptions ReadViewerOptions(CProfileSettings& settings);

class CFileViewer {
public:
    // `converters` may be null; none of the three is owned.
    CFileViewer(kestrix::FileSystem& fileSystem, CProfileSettings& settings,
                CTextConverterList* converters)
        : fileSystem_(fileSystem), settings_(settings), converters_(converters) {}

    // Shows result `index` of `results`: a picture as a picture; otherwise the file is
    // loaded (unless it is the file shown already), every passage of the file marked
    // and this one selected and scrolled into view. A file that cannot be read leaves
    // the viewer as it was.
    void ShowResult(const CSearchResultArray& results, std::size_t index, CViewerUi& ui);

    // The font the control gets whenever it shows a file; given to it at once when it
    // shows one now.
    void SetFont(const CViewerFont& font, CViewerUi& ui);

    // Result `index` of `results` was written to its file, and the offsets of the file's
    // later results moved with it. When the viewer shows that file it is to read it
    // again: true when that became due now, and ReloadReplaced is to follow once the
    // walk has told of all the passages it wrote (a file with many replaced passages
    // is read once, not once per passage). Showing another file first makes it moot.
    bool ResultReplaced(const CSearchResultArray& results, std::size_t index, CViewerUi& ui);

    // Reads the replaced file again when that is still due and shows the new text where
    // the view was, with the passages still to replace marked and the last replaced one
    // selected. A file that cannot be read any more is let go of.
    void ReloadReplaced(CViewerUi& ui);
    bool reloadDue() const { return reloadResults_ != nullptr; }

    // Lets go of the shown file, so that the next result is loaded anew even from the
    // same file. For when the results the marks were made from are replaced or deleted.
    void Forget();
    // How the files' bytes are read as text: the choice the search used, so that the
    // shown text holds the passages where the search found them. A new choice reads
    // the shown file again when it is next shown.
    void SetEncoding(CEncodingChoice encoding);

    // The viewer shows a file ("&Open in registered Application" is possible).
    bool ShowsFile() const { return !shownPath_.empty(); }
    const std::string& shownPath() const { return shownPath_; }
    const CViewerTexts& texts() const { return texts_; }
    // The position in the control of each result of the shown file, in result order.
    const std::vector<std::int32_t>& positions() const { return positions_; }
    std::size_t firstResult() const { return firstResult_; }
    // The result shown last; -1 before the first.
    long current() const { return current_; }

private:
    void FillControl(const CSearchResultArray& results, std::size_t index, CViewerUi& ui);
    // The kept texts into the control, in the viewer's font, with the file's passages.
    void FillContent(const CSearchResultArray& results, std::size_t index, CViewerUi& ui);
    kestrix::OsError LoadTexts(const CSearchResult& result, const CViewerOptions& options);
    CViewerOptions Options();
    void MarkPassages(const CSearchResultArray& results, std::size_t index, CViewerUi& ui);
    bool HoldsResult(const CSearchResultArray& results, std::size_t index) const;
    // Selects result `index`'s passage when the control holds its file.
    void SelectIfHeld(const CSearchResultArray& results, std::size_t index, CViewerUi& ui) const;
    // The range of the file's passage `k` in the control, kept within its text.
    void PassageRange(const CSearchResult& result, std::size_t k, long& start, long& end) const;

    kestrix::FileSystem& fileSystem_;
    CProfileSettings& settings_;
    CTextConverterList* converters_;
    CViewerFont font_;
    CEncodingChoice encoding_ = CEncodingChoice::Auto;

    std::string shownPath_;     // directory + name of the shown file; empty for none
    bool showsPicture_ = false; // the control holds the picture of shownPath_
    CViewerTexts texts_;        // the shown file's texts, while it is shown as text
    std::size_t contentLength_ = 0;
    // The results the positions were mapped for: marks made for one page's results
    // do not fit another page's.
    const CSearchResultArray* mappedResults_ = nullptr;
    std::size_t firstResult_ = 0;
    std::vector<std::int32_t> positions_;
    long current_ = -1;
    // The results and the index of the last replaced passage of the shown file while
    // its reading is due; null when none is.
    const CSearchResultArray* reloadResults_ = nullptr;
    std::size_t reloadIndex_ = 0;
};

} // namespace sorbex
