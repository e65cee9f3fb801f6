// The replacement walk's user interface on a terminal, and a profile that lives in memory.
#pragma once

#include <istream>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliSearchUi.h"
#include "search/ProfileSettings.h"
#include "search/ReplacePassages.h"
#include "search/SearchResultArray.h"

namespace sorbex {

// The command line keeps no profile; the values last as long as the command.
class CMemoryProfile : public CProfileSettings {
public:
    int GetInt(const std::string& section, const std::string& key, int fallback) override;
    void WriteInt(const std::string& section, const std::string& key, int value) override;

private:
    std::map<std::pair<std::string, std::string>, int> values_;
};

// Asks on `err`, reads the answers from the terminal's answer stream, and counts what
// was written to each file.
class CCliReplaceUi : public CReplaceUi {
public:
    CCliReplaceUi(std::ostream& err, const CCliTerminal& terminal)
        : err_(err), terminal_(terminal) {}

    // The page walked and the run's quit flag, which Ctrl+C raises between passages.
    void Attach(const CSearchResultArray& page, bool& quitRequested);
    // Answers the first question with "all" without asking, as --all asks for.
    void AnswerAll() { answerAll_ = true; }

    bool ShowReplaceWarning() override;
    CReplaceConfirmation ConfirmReplace(const std::string& question) override;
    void ShowMessage(const std::string& text) override;
    void ShowResult(std::size_t index) override { shown_ = index; }
    void ResultReplaced(std::size_t index, int delta) override;
    void ProcessMessages() override;
    void UpdateCommandStates() override {}

    // Every file written, in the order of its first replacement, with its count.
    const std::vector<std::pair<std::string, int>>& replacedFiles() const { return files_; }
    bool messageShown() const { return messageShown_; }
    // The user cancelled (answered cancel, or Ctrl+C), as opposed to the answers ending.
    bool userCancelled() const { return userCancelled_; }

private:
    std::ostream& err_;
    CCliTerminal terminal_;
    const CSearchResultArray* page_ = nullptr;
    bool* quitRequested_ = nullptr;
    std::size_t shown_ = 0;
    std::vector<std::pair<std::string, int>> files_;
    bool messageShown_ = false;
    bool answerAll_ = false;
    bool userCancelled_ = false;

    bool Interrupted();
};

// The lines that end a replacement: each file with its count, then the counters.
std::string FormatReplaceReport(const std::vector<std::pair<std::string, int>>& files,
                                const CReplaceOutcome& outcome);

} // namespace sorbex
