// The mail command's steps, in the order the user meets them.
#include "mail/MailCommand.h"

#include "strings/KeywrightStrings.h"

namespace keywright {

namespace {

struct MapiResultEntry {
    unsigned long result;
    unsigned stringId;
};

constexpr MapiResultEntry kMapiResults[] = {
    {1, kStrMapiCancelled},       {2, kStrMapiUnspecified},     {3, kStrMapiLogonFailure},
    {5, kStrMapiNoMemory},        {12, kStrMapiAttachmentsMissing}, {13, kStrMapiAttachmentWrite},
};

} // namespace

std::string ExportKeyPath(const std::string& treePath) {
    const std::size_t slash = treePath.find('\\');
    return slash == std::string::npos ? std::string() : treePath.substr(slash + 1);
}

std::string QuoteArgument(const std::string& text) {
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count double only in front of a quote.
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    out += '"';
    return out;
}

std::string ExportParameters(const std::string& file, const std::string& key) {
    return "/E " + QuoteArgument(file) + " " + QuoteArgument(key);
}

unsigned MapiResultString(unsigned long result) {
    for (const MapiResultEntry& e : kMapiResults)
        if (e.result == result)
            return e.stringId;
    return 0;
}

std::string MapiResultMessage(unsigned long result) {
    if (result == 0)
        return std::string();
    if (unsigned id = MapiResultString(result))
        return KeywrightString(id);
    // A failure is never silent, even one the table does not know.
    return KeywrightStringWith(kStrMapiOtherError, std::to_string(result));
}

MailCommandResult RunMailCommand(MailCommandHost& host) {
    std::string treePath;
    if (!host.SelectedKeyPath(&treePath))
        return MailCommandResult::NoSelection;
    const std::string key = ExportKeyPath(treePath);
    if (key.empty()) {
        host.Warn(KeywrightString(kStrCannotExportKey));
        return MailCommandResult::RootRefused;
    }
    // The key is checked before the temporary file is made, so that a refused key
    // leaves no file behind.
    std::string file, error;
    if (!host.MakeTemporaryFile(&file, &error)) {
        host.Warn(error);
        return MailCommandResult::NoTemporaryFile;
    }
    MailCommandResult result = MailCommandResult::ExportFailed;
    if (!host.RunExport(ExportParameters(file, key))) {
        host.Warn(KeywrightString(kStrExportFailed));
    } else if (!host.HoldsData(file)) {
        // The temporary file exists from the start, so an export that wrote nothing
        // (the key gone meanwhile, a name the editor could not read) would otherwise
        // go out as an empty attachment.
        host.Warn(KeywrightStringWith(kStrExportEmpty, key));
    } else {
        const std::string name = KeywrightString(kStrAttachmentName);
        const bool sent = host.Delivery() != 0 ? host.SendByMapi(name, file)
                                               : host.OpenMailDialog(name, file);
        result = sent ? MailCommandResult::Sent : MailCommandResult::NotSent;
    }
    host.DeleteTemporaryFile(file);
    return result;
}

} // namespace keywright
