// `sorbex undo [--list]`: puts back the files of the last replacement from the undo journal.
#include "cli/UndoCommand.h"

#include "cli/Cp1252.h"
#include "cli/ResultLines.h"
#include "cli/SearchCommand.h"
#include "strings/SorbexStrings.h"
#include "undo/UndoRestore.h"

namespace sorbex {
namespace {

void ListPaths(std::ostream& out, const char* label, const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        out << "  " << label << ": " << EscapeControls(path) << "\n";
}

} // namespace

int RunUndoCommand(const CliOptions& options, std::ostream& out, std::ostream& err,
                   kestrix::FileSystem& fs, const std::string& folder) {
    CUndoReport report;
    if (const kestrix::OsError error = UndoLastWalk(fs, folder, options.undoList, report)) {
        err << "sorbex: the undo journal could not be read: " << error.Describe() << "\n";
        return kExitError;
    }
    if (!report.walkFound) {
        out << SorbexString(IDS_UNDO_NOTHING) << "\n";
        return kExitNothingFound;
    }
    const std::size_t files = report.walk.entries.size();
    if (options.undoList) {
        out << "Replacement of " << FormatDate(report.walk.record.started) << ", " << files
            << (files == 1 ? " file" : " files") << ":\n";
        ListPaths(out, "to put back", report.restored);
        ListPaths(out, "back already", report.alreadyBack);
        ListPaths(out, "changed since, left alone", report.changed);
        for (const auto& failed : report.failed)
            out << "  cannot be checked: " << EscapeControls(failed.first) << " ("
                << kestrix::OsErrorText(failed.second.code) << ")\n";
        return report.restored.empty() ? kExitNothingFound : kExitFound;
    }
    for (const std::string& path : report.restored)
        out << "Put back: " << EscapeControls(path) << "\n";
    out << FormatSorbexString(IDS_UNDO_RESTORED, {std::to_string(report.restored.size())})
        << "\n";
    for (const std::string& path : report.changed)
        err << "sorbex: " << FormatSorbexString(IDS_UNDO_FILE_CHANGED, {EscapeControls(path)})
            << "\n";
    for (const auto& failed : report.failed)
        err << "sorbex: "
            << FormatSorbexString(IDS_UNDO_FILE_FAILED,
                                  {EscapeControls(failed.first),
                                   kestrix::OsErrorText(failed.second.code)})
            << "\n";
    return report.changed.empty() && report.failed.empty() ? kExitFound : kExitError;
}

} // namespace sorbex
