// The file viewer without its window: which file it shows, the texts it keeps while
// the user steps through that file's results, and where each passage is shown.
#include "viewer/FileViewer.h"

#include <algorithm>

#include "viewer/PassageMapping.h"

namespace sorbex {

CViewerOptions ReadViewerOptions(CProfileSettings& settings) {
    CViewerOptions options;
    options.useInternalFilter = settings.GetInt("Options", "UseInternalFilter", 1) != 0;
    options.useExternalFilter = settings.GetInt("Options", "UseExternalFilter", 1) != 0;
    options.gifAsPicture = settings.GetInt("Options", "Gif", 0) != 0;
    return options;
}

void CFileViewer::ShowResult(const CSearchResultArray& results, std::size_t index, CViewerUi& ui) {
    if (index >= results.size())
        return;
    const CViewerOptions options = Options();
    const CSearchResult& result = results[index];
    const std::string path = result.dir + result.name;

    if (IsPictureName(result.name, options.gifAsPicture)) {
        ui.ActivateViewer(result.name);
        if ((path != shownPath_ || !showsPicture_) && ui.ShowPicture(path)) {
            Forget();
            shownPath_ = path;
            showsPicture_ = true;
        }
        current_ = static_cast<long>(index);
        return;
    }

    if (reloadResults_ && path == shownPath_ && !showsPicture_) {
        // The walk comes back to the file it rewrote before the reading was due.
        ReloadReplaced(ui);
    }
    if (path != shownPath_ || showsPicture_) {
        // A file that cannot be read leaves the shown one, its texts and its marks as
        // they were, so that stepping back to it still works.
        if (LoadTexts(result, options))
            return;
        shownPath_ = path;
        showsPicture_ = false;
        reloadResults_ = nullptr; // the rewritten file is no longer shown
        FillControl(results, index, ui);
    } else if (!HoldsResult(results, index)) {
        // The same file reached through other results (another page's): the kept texts
        // are shown again, with the marks of these results.
        FillControl(results, index, ui);
    }

    // Stepping within the file the control holds comes down to this.
    SelectIfHeld(results, index, ui);
    ui.SetRedraw(true);
    current_ = static_cast<long>(index);
}

CViewerOptions CFileViewer::Options() {
    CViewerOptions options = ReadViewerOptions(settings_);
    options.encoding = encoding_;
    return options;
}

void CFileViewer::SetEncoding(CEncodingChoice encoding) {
    if (encoding == encoding_)
        return;
    encoding_ = encoding;
    if (!showsPicture_)
        Forget();
}

kestrix::OsError CFileViewer::LoadTexts(const CSearchResult& result,
                                        const CViewerOptions& options) {
    CViewerSource source;
    source.flags = result.flags;
    source.hasPassage = result.start != 0 || result.end != 0;
    return LoadViewerTexts(fileSystem_, converters_, result.dir, result.name, source, options,
                           texts_);
}

bool CFileViewer::ResultReplaced(const CSearchResultArray& results, std::size_t index,
                                 CViewerUi&) {
    if (index >= results.size())
        return false;
    const CSearchResult& result = results[index];
    if (showsPicture_ || shownPath_.empty() || shownPath_ != result.dir + result.name)
        return false;
    const bool becameDue = reloadResults_ == nullptr;
    reloadResults_ = &results;
    reloadIndex_ = index;
    return becameDue;
}

void CFileViewer::ReloadReplaced(CViewerUi& ui) {
    if (!reloadResults_)
        return;
    const CSearchResultArray& results = *reloadResults_;
    const std::size_t index = reloadIndex_;
    reloadResults_ = nullptr;
    if (index >= results.size())
        return;
    if (LoadTexts(results[index], Options())) {
        // What the control holds no longer matches the file: the next result reads it.
        Forget();
        return;
    }
    ui.SetRedraw(false);
    const CViewPlace place = ui.Place();
    FillContent(results, index, ui);
    ui.SetPlace(place);
    SelectIfHeld(results, index, ui);
    ui.SetRedraw(true);
    current_ = static_cast<long>(index);
}

void CFileViewer::FillControl(const CSearchResultArray& results, std::size_t index, CViewerUi& ui) {
    ui.ActivateViewer(results[index].name);
    ui.SetRedraw(false);
    FillContent(results, index, ui);
}

void CFileViewer::FillContent(const CSearchResultArray& results, std::size_t index,
                              CViewerUi& ui) {
    ui.SetDefaultFont(ControlFontOf(font_));
    ui.SetContent(ControlContent(texts_), texts_.Formatted(), texts_.outside);
    MarkPassages(results, index, ui);
}

void CFileViewer::MarkPassages(const CSearchResultArray& results, std::size_t index,
                               CViewerUi& ui) {
    // The file's results begin at the nearest result before that starts a file.
    std::size_t first = index + 1;
    while (first > 0 && !(results[first - 1].flags & kResultFirstOfFile))
        --first;
    firstResult_ = first > 0 ? first - 1 : 0;
    // A count from a damaged result file must not reach past the page's results.
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(results[index].passageCount, 0)),
                              results.size() - firstResult_);

    std::vector<std::int32_t> starts(count);
    for (std::size_t k = 0; k < count; ++k)
        starts[k] = results[firstResult_ + k].start;
    positions_.assign(count, 0);
    mappedResults_ = &results;

    const std::string content = ui.ContentText();
    contentLength_ = content.size();
    if (!MapPassages(content, texts_.Searched(), starts.data(), count, positions_.data()))
        return; // marks at guessed places would mislead more than none
    for (std::size_t k = 0; k < count; ++k) {
        // A replaced passage holds the replacement now, no longer a found text.
        if (results[firstResult_ + k].flags & kResultReplaced)
            continue;
        long start = 0;
        long end = 0;
        PassageRange(results[firstResult_ + k], k, start, end);
        ui.MarkPassage(start, end);
    }
}

void CFileViewer::SelectIfHeld(const CSearchResultArray& results, std::size_t index,
                               CViewerUi& ui) const {
    if (!HoldsResult(results, index))
        return;
    long start = 0;
    long end = 0;
    PassageRange(results[index], index - firstResult_, start, end);
    ui.SelectPassage(start, end);
}

bool CFileViewer::HoldsResult(const CSearchResultArray& results, std::size_t index) const {
    return mappedResults_ == &results && index >= firstResult_ &&
           index - firstResult_ < positions_.size();
}

void CFileViewer::PassageRange(const CSearchResult& result, std::size_t k, long& start,
                               long& end) const {
    const auto limit = static_cast<std::int64_t>(contentLength_);
    const std::int64_t from = std::clamp<std::int64_t>(positions_[k], 0, limit);
    const std::int64_t length = std::int64_t{result.end} - result.start;
    start = static_cast<long>(from);
    end = static_cast<long>(
        std::clamp<std::int64_t>(from + std::max<std::int64_t>(length, 0), from, limit));
}

void CFileViewer::SetFont(const CViewerFont& font, CViewerUi& ui) {
    font_ = font;
    if (ShowsFile() && !showsPicture_)
        ui.SetDefaultFont(ControlFontOf(font_));
}

void CFileViewer::Forget() {
    reloadResults_ = nullptr;
    shownPath_.clear();
    showsPicture_ = false;
    texts_ = CViewerTexts();
    contentLength_ = 0;
    mappedResults_ = nullptr;
    firstResult_ = 0;
    positions_.clear();
}

} // namespace sorbex
