// The mail command: export the key selected in the editor's tree to a temporary file
// and send it, through the system's mail program or the add-in's own mail dialog.
#pragma once

#include <cstdint>
#include <string>

namespace keywright {

// What the command needs of the editor and the system.
class MailCommandHost {
public:
    virtual ~MailCommandHost() = default;
    // The full path of the tree's selected item, beginning with the root item's name;
    // false when nothing is selected.
    virtual bool SelectedKeyPath(std::string* path) = 0;
    // Creates an empty temporary file with a unique name; false with the system's
    // reason in `error`.
    virtual bool MakeTemporaryFile(std::string* path, std::string* error) = 0;
    // Runs the editor program with `parameters` and waits until it has ended; false
    // when it could not be started.
    virtual bool RunExport(const std::string& parameters) = 0;
    // True when the file at `path` holds at least one byte.
    virtual bool HoldsData(const std::string& path) = 0;
    // The "Delivery" setting: nonzero for the system's mail program.
    virtual std::uint32_t Delivery() = 0;
    virtual bool SendByMapi(const std::string& attachmentName, const std::string& path) = 0;
    virtual bool OpenMailDialog(const std::string& attachmentName, const std::string& path) = 0;
    virtual void DeleteTemporaryFile(const std::string& path) = 0;
    // A message with an exclamation icon, owned by the editor's main window.
    virtual void Warn(const std::string& text) = 0;
};

enum class MailCommandResult { NoSelection, RootRefused, NoTemporaryFile, ExportFailed,
                               Sent, NotSent };

MailCommandResult RunMailCommand(MailCommandHost& host);

// The key path the editor's export takes: the tree path without its root item's
// name. Empty when the root item itself is selected.
std::string ExportKeyPath(const std::string& treePath);

// The export's parameters: "/E", the file and the key, each quoted as the system's
// command-line parser reads it back.
std::string ExportParameters(const std::string& file, const std::string& key);

// `text` as one argument of a command line: in double quotes, with quotes and the
// backslashes in front of them escaped.
std::string QuoteArgument(const std::string& text);

// The string that explains a result of the system's mail call, or 0 for none.
unsigned MapiResultString(unsigned long result);

// What the user is told about a result of the system's mail call: its string, or for
// a failure without one the number; empty for success.
std::string MapiResultMessage(unsigned long result);

} // namespace keywright
