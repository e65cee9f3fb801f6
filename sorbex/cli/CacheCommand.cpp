// `sorbex cache compact` and `sorbex cache delete`: the converted-document cache's two
// commands, as the windowed program's Cache menu offers them.
#include "cli/CacheCommand.h"

#include <istream>
#include <string>

#include "cli/SearchCommand.h"
#include "cache/DocCache.h"

namespace sorbex {
namespace {

// Messages go to standard error; the question is asked there and answered from the
// terminal, or by --yes.
class CCacheCommandUi : public CStorageUi {
public:
    CCacheCommandUi(std::ostream& err, const CCliTerminal& terminal, bool yes)
        : err_(err), terminal_(terminal), yes_(yes) {}

    void BeginProgress(int, const std::string& text) override { err_ << "sorbex: " << text << "\n"; }
    void StepProgress() override {}
    void EndProgress() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    bool AskYesNo(const std::string& question) override {
        if (yes_)
            return true;
        err_ << question << " [y/N] ";
        err_.flush();
        std::string answer;
        if (!terminal_.answers || !std::getline(*terminal_.answers, answer))
            return false;
        return answer == "y" || answer == "Y" || answer == "yes";
    }
    void ShowError(const std::string& message) override {
        err_ << "sorbex: " << message << "\n";
        errorShown_ = true;
    }
    bool errorShown() const { return errorShown_; }

private:
    std::ostream& err_;
    const CCliTerminal& terminal_;
    bool yes_;
    bool errorShown_ = false;
};

std::uint64_t FileSize(kestrix::FileSystem& fs, const std::string& path) {
    kestrix::FileStatus status;
    return fs.GetFileStatus(path, status) ? 0 : status.size;
}

} // namespace

int RunCacheCommand(const CliOptions& options, std::ostream& out, std::ostream& err,
                    const CCliTerminal& terminal, kestrix::FileSystem& fs,
                    kestrix::CompoundFiles& files) {
    const bool deleting = options.cacheCommand == "delete";
    if (deleting && !options.yes && !terminal.answersInteractive) {
        err << "sorbex: standard input is not a terminal, so nobody can be asked; give --yes "
               "to delete the cache\n";
        return kExitError;
    }
    CDocCache cache(fs, files);
    if (!cache.Open()) {
        err << "sorbex: the cache could not be opened; another program (Sorbex itself?) may "
               "be using it\n";
        return kExitError;
    }
    const std::string path = cache.path();
    CCacheCommandUi ui(err, terminal, options.yes);
    if (deleting) {
        if (!cache.DeleteCache(ui))
            return ui.errorShown() ? kExitError : kExitNothingFound;
        out << path << ": deleted\n";
        return kExitFound;
    }
    const std::uint64_t before = FileSize(fs, path);
    if (!cache.RemoveObsolete(ui))
        return kExitError;
    cache.Close();
    out << path << ": " << before << " bytes before, " << FileSize(fs, path)
        << " bytes after reorganizing\n";
    return kExitFound;
}

} // namespace sorbex
