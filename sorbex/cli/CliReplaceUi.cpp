// The replacement walk's user interface on a terminal, and a profile that lives in memory.
#include "cli/CliReplaceUi.h"

#include <cctype>

#include "cli/Cp1252.h"

namespace sorbex {
namespace {

std::string Normalized(const std::string& line) {
    std::string word;
    for (char c : line)
        if (!std::isspace(static_cast<unsigned char>(c)))
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word;
}

} // namespace

int CMemoryProfile::GetInt(const std::string& section, const std::string& key, int fallback) {
    const auto found = values_.find({section, key});
    return found == values_.end() ? fallback : found->second;
}

void CMemoryProfile::WriteInt(const std::string& section, const std::string& key, int value) {
    values_[{section, key}] = value;
}

void CCliReplaceUi::Attach(const CSearchResultArray& page, bool& quitRequested) {
    page_ = &page;
    quitRequested_ = &quitRequested;
}

bool CCliReplaceUi::ShowReplaceWarning() {
    err_ << kReplaceWarningCaption << ": ";
    for (const char* line : kReplaceWarningLines)
        err_ << line << "\n";
    // Nothing is kept between runs, so there is nothing to switch off.
    return false;
}

CReplaceConfirmation CCliReplaceUi::ConfirmReplace(const std::string& question) {
    CReplaceConfirmation confirmation;
    if (answerAll_) {
        confirmation.answer = CReplaceAnswer::Yes;
        confirmation.replaceAll = true;
        return confirmation;
    }
    std::string where;
    if (page_ != nullptr && shown_ < page_->size()) {
        const CSearchResult& result = (*page_)[shown_];
        where = EscapeControls(ForTerminal(result.dir + result.name)) + " (" + std::to_string(result.start) + "-" +
                std::to_string(result.end) + "): ";
    }
    err_ << where << ForTerminal(question) << "\n";
    for (;;) {
        err_ << "[y]es, [n]o, [a]ll, [c]ancel? " << std::flush;
        std::string line;
        // Ctrl+C at the question cancels at once: the answer typed after it counts no more.
        const bool buffered = terminal_.answers != nullptr && terminal_.answers->rdbuf() != nullptr &&
                              terminal_.answers->rdbuf()->in_avail() > 0;
        if ((!buffered && terminal_.waitForAnswer && !terminal_.waitForAnswer()) || Interrupted()) {
            err_ << "\n";
            return confirmation;
        }
        if (terminal_.answers == nullptr || !std::getline(*terminal_.answers, line)) {
            // The input ended: nobody is left to answer, so nothing more is changed.
            err_ << "\n";
            return confirmation;
        }
        if (Interrupted())
            return confirmation;
        const std::string word = Normalized(line);
        if (word == "y" || word == "yes") {
            confirmation.answer = CReplaceAnswer::Yes;
            return confirmation;
        }
        if (word == "n" || word == "no") {
            confirmation.answer = CReplaceAnswer::No;
            return confirmation;
        }
        if (word == "a" || word == "all") {
            confirmation.answer = CReplaceAnswer::Yes;
            confirmation.replaceAll = true;
            return confirmation;
        }
        if (word == "c" || word == "cancel") {
            userCancelled_ = true;
            return confirmation;
        }
        err_ << "Please answer y, n, a or c.\n";
    }
}

void CCliReplaceUi::ShowMessage(const std::string& text) {
    err_ << "sorbex: " << ForTerminal(text) << "\n";
    messageShown_ = true;
}

void CCliReplaceUi::ResultReplaced(std::size_t index, int) {
    if (page_ == nullptr || index >= page_->size())
        return;
    const CSearchResult& result = (*page_)[index];
    const std::string path = result.dir + result.name;
    for (auto& file : files_) {
        if (file.first == path) {
            ++file.second;
            return;
        }
    }
    files_.emplace_back(path, 1);
}

bool CCliReplaceUi::Interrupted() {
    if (!terminal_.cancelSignalled || !terminal_.cancelSignalled())
        return false;
    userCancelled_ = true;
    if (quitRequested_ != nullptr)
        *quitRequested_ = true;
    return true;
}

void CCliReplaceUi::ProcessMessages() {
    Interrupted();
}

std::string FormatReplaceReport(const std::vector<std::pair<std::string, int>>& files,
                                const CReplaceOutcome& outcome) {
    std::string text = "\n";
    for (const auto& file : files)
        text +=
            "Replaced in " + EscapeControls(ForTerminal(file.first)) + ": " + std::to_string(file.second) + "\n";
    if (outcome.cancelled)
        text += "REPLACING CANCELED\n";
    text += "Passages replaced: " + std::to_string(outcome.replaced) +
            " (declined: " + std::to_string(outcome.declined) +
            ", file changed: " + std::to_string(outcome.changed) +
            ", not written: " + std::to_string(outcome.writeFailed) +
            ", unreadable: " + std::to_string(outcome.readFailed) +
            (outcome.unencodable > 0 ? ", not encodable: " + std::to_string(outcome.unencodable)
                                     : std::string()) +
            ")\n";
    return text;
}

} // namespace sorbex
