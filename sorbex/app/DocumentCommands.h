// The result document's commands: New, Open, Save, Save As, the recent files, the
// document opened at start, and the question before a changed document is closed.
#pragma once

#include <string>

#include "app/RecentFiles.h"
#include "app/ResultPages.h"
#include "storage/StorageUi.h"
#include "resultfile/TabDoc.h"

namespace sorbex {

enum class CSaveAnswer { Yes, No, Cancel };

// What the commands ask of the user besides the storage's messages.
class CDocumentUi {
public:
    virtual ~CDocumentUi() = default;
    // "Save changes to %1?" with Yes, No and Cancel.
    virtual CSaveAnswer AskSaveChanges(const std::string& question) = 0;
    // The save and open dialogs of result files; "" when cancelled.
    virtual std::string ChooseSavePath(const std::string& current) = 0;
    virtual std::string ChooseOpenPath() = 0;
    // The document's title or its list of recent files changed.
    virtual void DocumentChanged() = 0;
};

class CDocumentCommands {
public:
    CDocumentCommands(CTabDoc& document, CResultPages& pages, CRecentFiles& recent,
                      CProfile& profile, CStorageUi& storageUi, CDocumentUi& ui);

    // At start: the file named on the command line; else, with "AutoLoad", the most
    // recently used file; else (or when opening fails) a new document.
    void Start(const std::string& commandLineFile, bool autoLoad);

    // Each asks first whether to save a changed document; false when the user
    // cancelled or the command failed.
    bool New();
    bool Open(const std::string& path);
    bool OpenChosen();
    bool OpenRecent(std::size_t index);
    bool Save();
    bool SaveAs();
    // Before the program ends or another document replaces this one.
    bool CanClose();

    // The file's name, or "Search Results" for a document without a file.
    std::string Title() const;

private:
    bool NewWithoutAsking();
    void Remember(const std::string& path);

    CTabDoc& document_;
    CResultPages& pages_;
    CRecentFiles& recent_;
    CProfile& profile_;
    CStorageUi& storageUi_;
    CDocumentUi& ui_;
};

} // namespace sorbex
