// The result document's commands: New, Open, Save, Save As, the recent files, the
// document opened at start, and the question before a changed document is closed.
#include "app/DocumentCommands.h"

#include "search/NameCase.h"
#include "strings/SorbexStrings.h"

namespace sorbex {

CDocumentCommands::CDocumentCommands(CTabDoc& document, CResultPages& pages, CRecentFiles& recent,
                                     CProfile& profile, CStorageUi& storageUi, CDocumentUi& ui)
    : document_(document), pages_(pages), recent_(recent), profile_(profile), storageUi_(storageUi),
      ui_(ui) {}

void CDocumentCommands::Remember(const std::string& path) {
    recent_.Load(profile_);
    recent_.Add(path);
    recent_.Save(profile_);
}

bool CDocumentCommands::NewWithoutAsking() {
    if (!document_.NewDocument()) {
        storageUi_.ShowError(SorbexString(IDS_FAILED_TO_OPEN_DOCUMENT));
        return false;
    }
    // The new document's first page; it holds nothing, so the document is unchanged.
    document_.AddPage(SorbexString(IDS_NEW_PAGE_CAPTION));
    pages_.ShowDocument();
    ui_.DocumentChanged();
    return true;
}

void CDocumentCommands::Start(const std::string& commandLineFile, bool autoLoad) {
    recent_.Load(profile_);
    std::string file = commandLineFile;
    if (file.empty() && autoLoad)
        file = recent_.MostRecent();
    if (!file.empty() && Open(file))
        return;
    NewWithoutAsking();
}

bool CDocumentCommands::New() {
    return CanClose() && NewWithoutAsking();
}

bool CDocumentCommands::Open(const std::string& path) {
    // The file open now is held open: it is the document already.
    if (!document_.path().empty() && SameNameIgnoringCase(document_.path(), path))
        return true;
    if (!CanClose())
        return false;
    // The document stays as it was when the file cannot be opened (61697 is shown).
    if (!document_.OpenDocument(path, storageUi_)) {
        recent_.Load(profile_);
        recent_.Remove(path);
        recent_.Save(profile_);
        ui_.DocumentChanged();
        return false;
    }
    if (document_.size() > 0)
        document_.SetCurrentPage(0);
    Remember(path);
    pages_.ShowDocument();
    ui_.DocumentChanged();
    return true;
}

bool CDocumentCommands::OpenChosen() {
    const std::string path = ui_.ChooseOpenPath();
    return !path.empty() && Open(path);
}

bool CDocumentCommands::OpenRecent(std::size_t index) {
    recent_.Load(profile_);
    if (index >= recent_.entries().size())
        return false;
    // A copy: opening reads the list anew, which would pull the name from under it.
    const std::string path = recent_.entries()[index];
    return Open(path);
}

bool CDocumentCommands::Save() {
    if (document_.path().empty())
        return SaveAs();
    if (!document_.SaveDocument(document_.path(), storageUi_))
        return false;
    ui_.DocumentChanged();
    return true;
}

bool CDocumentCommands::SaveAs() {
    const std::string path = ui_.ChooseSavePath(document_.path());
    if (path.empty() || !document_.SaveDocument(path, storageUi_))
        return false;
    Remember(path);
    ui_.DocumentChanged();
    return true;
}

bool CDocumentCommands::CanClose() {
    if (!document_.IsOpen() || !document_.modified())
        return true;
    switch (ui_.AskSaveChanges(FormatSorbexString(IDS_ASK_SAVE_CHANGES, {Title()}))) {
    case CSaveAnswer::Yes:
        return Save();
    case CSaveAnswer::No:
        return true;
    case CSaveAnswer::Cancel:
        break;
    }
    return false;
}

std::string CDocumentCommands::Title() const {
    const std::string& path = document_.path();
    if (path.empty())
        return SorbexString(IDS_NEW_PAGE_CAPTION);
    std::size_t start = path.size();
    while (start > 0 && path[start - 1] != '\\' && path[start - 1] != '/')
        --start;
    return path.substr(start);
}

} // namespace sorbex
