// The command line's use of result files: adding a run's page to one, and showing one.
#include "cli/ResultFileCommands.h"

#include <memory>

#include "cli/Cp1252.h"
#include "cli/ResultLines.h"
#include "cli/SearchCommand.h"
#include "resultfile/TabDoc.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
bool SavePageToResultFile(const CFileFindDoc& page, const std::string& path,
                          kestrix::FileSystem& fs, kestrix::CompoundFiles& files,
                          CCliStorageUi& ui) {
    CTabDoc doc(fs, files);
    kestrix::FileStatus status;
    const bool exists = !fs.GetFileStatus(path, status);
    // Saving into a file that is not a result file would replace whatever it holds.
    if (exists && !files.IsCompoundFile(path)) {
        ui.ShowError(path + " is not a result file; it was left as it was.");
        return false;
    }
    if (exists ? !doc.OpenDocument(path, ui) : !doc.NewDocument()) {
        if (!exists)
            ui.ShowError(
                ResultFileFailureText(IDS_FAILED_TO_SAVE_DOCUMENT, path, doc.lastWriteError()));
        return false;
    }
    CFileFindDoc& copy = doc.AddPage(page.caption);
    for (std::size_t i = 0; i < page.results.size(); ++i)
        copy.results.Add(std::make_unique<CSearchResult>(page.results[i]));
    if (!doc.StorePageResults(copy)) {
        ui.ShowError(
            ResultFileFailureText(IDS_FAILED_TO_SAVE_DOCUMENT, path, doc.lastWriteError()));
        return false;
    }
    return doc.SaveDocument(path, ui);
}

int RunShow(const CliOptions& options, std::ostream& out, std::ostream& err,
            const CCliTerminal& terminal) {
    const std::unique_ptr<kestrix::FileSystem> fs = kestrix::MakeSystemFileSystem();
    CCliStorageUi ui(err, false, options.resultFile);
    kestrix::FileStatus status;
    if (fs->GetFileStatus(options.resultFile, status) || status.isDirectory) {
        err << "sorbex: " << options.resultFile << ": no such result file\n";
        return kExitError;
    }
    // Opened in the window, such a file is an empty document that a save replaces;
    // here there is nothing to show, and an empty list would look like one.
    if (!kestrix::SystemCompoundFiles().IsCompoundFile(options.resultFile)) {
        err << "sorbex: " << options.resultFile << " is not a result file\n";
        return kExitError;
    }
    CTabDoc doc(*fs, kestrix::SystemCompoundFiles());
    if (!doc.OpenDocument(options.resultFile, ui))
        return kExitError;
    if (options.page == 0) {
        for (std::size_t i = 0; i < doc.size(); ++i) {
            const bool read = doc.ShowPage(i);
            const std::size_t count = doc[i].results.size();
            out << "Page " << i + 1 << ": " << EscapeControls(ForTerminal(doc[i].caption)) << "  ("
                << (read ? std::to_string(count) + (count == 1 ? " result" : " results")
                         : std::string("results unreadable"))
                << ")\n";
        }
        return doc.size() > 0 ? kExitFound : kExitNothingFound;
    }
    if (options.page > doc.size()) {
        err << "sorbex: " << options.resultFile << " has " << doc.size() << " page"
            << (doc.size() == 1 ? "" : "s") << ", not " << options.page << "\n";
        return kExitError;
    }
    const std::size_t index = options.page - 1;
    if (!doc.ShowPage(index)) {
        err << "sorbex: the results of page " << options.page << " cannot be read\n";
        return kExitError;
    }
    const CSearchResultArray& results = doc[index].results;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const CSearchResult& r = results[i];
        const bool isDirectory = (r.flags & kResultDirectory) != 0;
        const bool passage = !(r.start == 0 && r.end == 0);
        if ((r.flags & kResultFirstOfFile) || isDirectory || !passage) {
            kestrix::FileStatus file;
            if (fs->GetFileStatus(r.dir + r.name, file))
                out << EscapeControls(ForTerminal(r.name + "  (gone)  " + r.dir)) << "\n";
            else
                out << ForTerminal(FormatFileLine(r.name, r.dir, isDirectory, file.size,
                                                  kestrix::SecondsSince1970(file.lastWriteTime)))
                    << "\n";
        }
        if (passage)
            out << ForTerminal(FormatPassageLine(r, terminal.colour ? CHighlight::Colour
                                                                    : CHighlight::Brackets))
                << "\n";
    }
    return results.empty() ? kExitNothingFound : kExitFound;
}

} // namespace sorbex
