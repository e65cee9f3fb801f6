// The replacement walk over a replace page's results, and its start from a chosen result.
#include "search/ReplacePassages.h"

#include <set>
#include <vector>

#include "search/NameCase.h"
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

} // namespace

namespace {

// One walk's state: the passages accepted in the file at hand, and the files that are
// done with for this walk.
class CReplaceWalk {
public:
    CReplaceWalk(CSearchResultArray& page, const std::string& replacement,
                 CReplaceContext& context, CReplaceOutcome& outcome)
        : page_(page), replacement_(replacement), context_(context), outcome_(outcome) {}

    // A file found changed keeps its remaining passages untouched, and one that could
    // not be read or written is not tried again: each kind of trouble is told once per
    // file.
    bool Skips(const std::string& path) {
        if (changedFiles_.count(path) != 0) {
            ++outcome_.changed;
            return true;
        }
        if (unwritableFiles_.count(path) != 0) {
            ++outcome_.writeFailed;
            return true;
        }
        if (unencodableFiles_.count(path) != 0) {
            ++outcome_.unencodable;
            return true;
        }
        if (unreadableFiles_.count(path) != 0) {
            ++outcome_.readFailed;
            return true;
        }
        return false;
    }

    void Accept(std::size_t index) { accepted_.push_back(index); }

    // Writes the passages accepted so far (all of one file) in one rewrite.
    void WriteAccepted();

private:
    CSearchResultArray& page_;
    const std::string& replacement_;
    CReplaceContext& context_;
    CReplaceOutcome& outcome_;
    std::vector<std::size_t> accepted_;
    std::set<std::string> changedFiles_;
    std::set<std::string> unwritableFiles_;
    std::set<std::string> unencodableFiles_;
    std::set<std::string> unreadableFiles_;
};

void CReplaceWalk::WriteAccepted() {
    if (accepted_.empty())
        return;
    std::vector<const CSearchResult*> passages;
    for (std::size_t index : accepted_)
        passages.push_back(&page_[index]);
    const std::string path = passages.front()->dir + passages.front()->name;
    const CFileEdit edit =
        ReplacePassagesInFile(context_.fs, passages, replacement_, context_.keepOldContent,
                              context_.encoding, context_.noteNewContent);
    CReplaceUi& ui = context_.ui;

    // The results move as replacing them one by one would have moved them: each
    // replaced passage moves the later ones of its file by its change in length. One
    // pass over the file's results does it; shifting the rest after each passage made
    // a file with many passages take time in their square.
    std::vector<int> deltas;
    deltas.reserve(edit.applied);
    int shift = 0;
    const std::size_t first = accepted_.front();
    for (std::size_t i = first, next = 0; i < page_.size() && SameFile(page_[i], page_[first]);
         ++i) {
        CSearchResult& result = page_[i];
        result.start += shift;
        result.end += shift;
        if (next < edit.applied && accepted_[next] == i) {
            const int delta =
                static_cast<int>(edit.replacementLength) - (result.end - result.start);
            result.end += delta;
            result.flags |= kResultReplaced;
            shift += delta;
            deltas.push_back(delta);
            ++next;
        }
    }
    for (std::size_t i = 0; i < deltas.size(); ++i) {
        ++outcome_.replaced;
        ui.ResultReplaced(accepted_[i], deltas[i]);
    }
    const auto left = static_cast<int>(accepted_.size() - edit.applied);
    accepted_.clear();
    switch (edit.status) {
    case CPassageEditStatus::Replaced:
        break;
    case CPassageEditStatus::ReadFailed:
        outcome_.readFailed += left;
        unreadableFiles_.insert(path);
        ui.ShowMessage(FormatSorbexString(IDS_FILE_NOT_READ,
                                          {path, kestrix::OsErrorText(edit.error.code)}));
        break;
    case CPassageEditStatus::Changed:
        outcome_.changed += left;
        changedFiles_.insert(path);
        ui.ShowMessage(FormatSorbexString(IDS_FILE_CHANGED_NOT_REPLACED, {path}));
        break;
    case CPassageEditStatus::WriteFailed:
        outcome_.writeFailed += left;
        unwritableFiles_.insert(path);
        ui.ShowMessage(FormatSorbexString(IDS_FILE_NOT_WRITTEN,
                                          {path, kestrix::OsErrorText(edit.error.code)}));
        break;
    case CPassageEditStatus::Unencodable:
        outcome_.unencodable += left;
        unencodableFiles_.insert(path);
        ui.ShowMessage(FormatSorbexString(IDS_REPLACEMENT_NOT_ENCODABLE, {path}));
        break;
    case CPassageEditStatus::TooLarge:
        outcome_.writeFailed += left;
        unwritableFiles_.insert(path);
        ui.ShowMessage(FormatSorbexString(IDS_FILE_WOULD_BE_TOO_LARGE, {path}));
        break;
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
    CReplaceWalk walk(*page, replacement, context, outcome);

    for (std::size_t k = 0; k < n && !context.state.quitRequested; ++k) {
        const std::size_t d = (k + startIndex) % n;
        CSearchResult& result = (*page)[d];
        const std::string path = result.dir + result.name;
        // The walk leaves the file after this result when the next one belongs to
        // another file or lies before it (the walk went round to the first result).
        const std::size_t next = (d + 1) % n;
        const bool lastOfFile = k + 1 == n || next == 0 || !SameFile((*page)[next], result);

        if ((result.flags & (kResultConverted | kResultExternal)) != 0) {
            ++outcome.refused;
            if (!refusalShown) {
                ui.ShowMessage(SorbexString(IDS_CONVERTED_NOT_REPLACEABLE));
                refusalShown = true;
            }
        } else if ((result.flags & kResultReplaced) == 0 && !walk.Skips(path)) {
            ui.ShowResult(d);
            ui.ProcessMessages();
            if (context.state.quitRequested)
                break;

            bool accepted = true;
            if (!replaceAll) {
                const CReplaceConfirmation answer = ui.ConfirmReplace(
                    FormatSorbexString(IDS_CONFIRM_REPLACE, {PassageText(result), replacement}));
                // An interrupt that came while the question waited is a cancel, whatever
                // the answer.
                if (answer.answer == CReplaceAnswer::Cancel || context.state.quitRequested) {
                    context.state.quitRequested = true;
                    break;
                }
                replaceAll = answer.replaceAll;
                if (answer.answer == CReplaceAnswer::No) {
                    ++outcome.declined;
                    accepted = false;
                }
            }
            if (accepted)
                walk.Accept(d);
        }
        if (lastOfFile)
            walk.WriteAccepted();
    }
    // What was accepted before a cancel stays accepted, as if each had been written at
    // once; nothing after it is.
    walk.WriteAccepted();
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
