// The replacement walk over a replace page's results, and its start from a chosen result.
#include "search/ReplacePassages.h"

#include <set>

#include "search/NameCase.h"
#include "search/PassageEdit.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

// Whether two results address the same file. Windows file names ignore case; on
// other systems two names that differ in case are two files, and shifting the offsets
// of the one by an edit of the other would aim later replacements at the wrong bytes.
bool SameNameText(const std::string& a, const std::string& b) {
#ifdef _WIN32
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerNameChar(static_cast<unsigned char>(a[i])) !=
            LowerNameChar(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
#else
    return a == b;
#endif
}

bool SameFile(const CSearchResult& a, const CSearchResult& b) {
    return SameNameText(a.name, b.name) && SameNameText(a.dir, b.dir);
}

std::string PassageText(const CSearchResult& result) {
    if (result.excerptStart < 0 || result.excerptEnd < result.excerptStart ||
        static_cast<std::size_t>(result.excerptStart) > result.excerpt.size())
        return std::string();
    return result.excerpt.substr(static_cast<std::size_t>(result.excerptStart),
                                 static_cast<std::size_t>(result.excerptEnd - result.excerptStart));
}

// Moves the passages after `index` in the same file by `delta`; the results of one
// file stand together, so the first result of another file ends the run of them.
void ShiftLaterPassages(CSearchResultArray& page, std::size_t index, int delta) {
    const CSearchResult& edited = page[index];
    for (std::size_t i = index + 1; i < page.size() && SameFile(page[i], edited); ++i) {
        page[i].start += delta;
        page[i].end += delta;
    }
}

} // namespace

CReplaceOutcome ReplacePassages(CSearchResultArray* page, std::size_t startIndex,
                                const std::string& replacement, CReplaceContext& context) {
    CReplaceOutcome outcome;
    if (page == nullptr || page->empty())
        return outcome;
    const std::size_t n = page->size();
    CReplaceUi& ui = context.ui;

    if (context.settings.GetInt("Options", "NoReplaceWarning", 0) == 0) {
        const bool noLonger = ui.ShowReplaceWarning();
        context.settings.WriteInt("Options", "NoReplaceWarning", noLonger ? 1 : 0);
    }

    bool replaceAll = false;
    bool refusalShown = false;
    // A file found changed keeps its remaining passages untouched, and each kind of
    // trouble is told once per file rather than once per passage.
    std::set<std::string> changedFiles;
    std::set<std::string> unwritableFiles;
    std::set<std::string> unencodableFiles;

    for (std::size_t k = 0; k < n && !context.state.quitRequested; ++k) {
        const std::size_t d = (k + startIndex) % n;
        CSearchResult& result = (*page)[d];
        const std::string path = result.dir + result.name;

        if ((result.flags & (kResultConverted | kResultExternal)) != 0) {
            ++outcome.refused;
            if (!refusalShown) {
                ui.ShowMessage(SorbexString(IDS_CONVERTED_NOT_REPLACEABLE));
                refusalShown = true;
            }
            continue;
        }
        if ((result.flags & kResultReplaced) != 0)
            continue;
        if (changedFiles.count(path) != 0) {
            ++outcome.changed;
            continue;
        }

        ui.ShowResult(d);
        ui.ProcessMessages();
        if (context.state.quitRequested)
            break;

        if (!replaceAll) {
            const CReplaceConfirmation answer = ui.ConfirmReplace(
                FormatSorbexString(IDS_CONFIRM_REPLACE, {PassageText(result), replacement}));
            if (answer.answer == CReplaceAnswer::Cancel) {
                context.state.quitRequested = true;
                break;
            }
            replaceAll = answer.replaceAll;
            if (answer.answer == CReplaceAnswer::No) {
                ++outcome.declined;
                continue;
            }
        }

        const CPassageEdit edit =
            ReplacePassageInFile(context.fs, result, replacement, context.encoding);
        switch (edit.status) {
        case CPassageEditStatus::Replaced:
            ++outcome.replaced;
            result.flags |= kResultReplaced;
            result.end += edit.delta;
            ShiftLaterPassages(*page, d, edit.delta);
            ui.ResultReplaced(d, edit.delta);
            break;
        case CPassageEditStatus::ReadFailed:
            ++outcome.readFailed;
            break;
        case CPassageEditStatus::Changed:
            ++outcome.changed;
            changedFiles.insert(path);
            ui.ShowMessage(FormatSorbexString(IDS_FILE_CHANGED_NOT_REPLACED, {path}));
            break;
        case CPassageEditStatus::WriteFailed:
            ++outcome.writeFailed;
            if (unwritableFiles.insert(path).second)
                ui.ShowMessage(FormatSorbexString(IDS_FILE_NOT_WRITTEN, {path}));
            break;
        case CPassageEditStatus::Unencodable:
            ++outcome.unencodable;
            if (unencodableFiles.insert(path).second)
                ui.ShowMessage(FormatSorbexString(IDS_REPLACEMENT_NOT_ENCODABLE, {path}));
            break;
        }
    }
    outcome.cancelled = context.state.quitRequested;
    return outcome;
}

bool StartReplacementAt(CSearchResultArray* page, std::size_t startIndex,
                        const std::string& replacement, CReplaceContext& context,
                        CReplaceOutcome* outcome) {
    CRunFlags& state = context.state;
    if (state.searching || state.replacing || page == nullptr)
        return false;
    state.replacing = true;
    state.quitRequested = false;
    const CReplaceOutcome walked = ReplacePassages(page, startIndex, replacement, context);
    state.replacing = false;
    context.ui.UpdateCommandStates();
    if (outcome != nullptr)
        *outcome = walked;
    return true;
}

} // namespace sorbex
