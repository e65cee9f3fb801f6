// The command line's use of result files: adding a run's page to one, and showing one.
#pragma once

#include <ostream>
#include <string>
#include <utility>

#include "cli/CliArguments.h"
#include "cli/CliSearchUi.h"
#include "platform/CompoundStorage.h"
#include "platform/FileSystem.h"
#include "search/FileFindDoc.h"
#include "storage/StorageUi.h"

namespace sorbex {

// Messages go to standard error as "sorbex: TEXT"; there is nobody to ask, so every
// question is answered with `answer`.
class CCliStorageUi : public CStorageUi {
public:
    // `file`, when given, is the result file worked on: a message that does not name
    // it is told with its name in front.
    CCliStorageUi(std::ostream& err, bool answer, std::string file = std::string())
        : err_(err), answer_(answer), file_(std::move(file)) {}
    void BeginProgress(int, const std::string&) override {}
    void StepProgress() override {}
    void EndProgress() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    bool AskYesNo(const std::string&) override { return answer_; }
    void ShowError(const std::string& message) override {
        err_ << "sorbex: ";
        if (!file_.empty() && message.find(file_) == std::string::npos)
            err_ << file_ << ": ";
        err_ << message << "\n";
        shown_ = true;
    }
    bool errorShown() const { return shown_; }

private:
    std::ostream& err_;
    bool answer_;
    std::string file_;
    bool shown_ = false;
};

// Adds a copy of `page` as the last page of the result file `path`, creating the file
// when it does not exist; an existing file that is not a result file is refused.
// False after a message on `ui`.
bool SavePageToResultFile(const CFileFindDoc& page, const std::string& path,
                          kestrix::FileSystem& fs, kestrix::CompoundFiles& files,
                          CCliStorageUi& ui);

// `sorbex show FILE [--page N]`: the pages with their result counts, or the results of
// page N (from 1) as a search prints them. Returns the exit status.
int RunShow(const CliOptions& options, std::ostream& out, std::ostream& err,
            const CCliTerminal& terminal);

} // namespace sorbex
