// Address entries and fields as the user types them into the mail dialog.
#include "mail/MailAddress.h"

#include "strings/KeywrightStrings.h"

namespace keywright {

bool IsMailBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string TrimMailBlanks(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsMailBlank(text[begin]))
        ++begin;
    while (end > begin && IsMailBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

AddressParse ParseAddress(const std::string& entry, MailRecipient* recipient,
                          const MailWarning& warn) {
    recipient->address.clear();
    recipient->name.clear();
    const std::string text = TrimMailBlanks(entry);
    if (text.empty())
        return AddressParse::Empty;

    std::size_t at = std::string::npos;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size() && at == std::string::npos; ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == '@' && !quoted)
            at = i;
    }
    if (at == std::string::npos) {
        if (warn)
            warn(KeywrightStringWith(kStrNoAtSign, text));
        return AddressParse::Invalid;
    }

    // [begin, end) is the address; the characters just outside it, if any, bound it.
    std::size_t begin = at;
    while (begin > 0 && !IsMailBlank(text[begin - 1]) && text[begin - 1] != '<')
        --begin;
    std::size_t end = at + 1;
    while (end < text.size() && !IsMailBlank(text[end]) && text[end] != '>')
        ++end;
    std::string address = text.substr(begin, end - begin);
    if (!address.empty() && address.front() == '<')
        address.erase(0, 1);
    if (!address.empty() && address.back() == '>')
        address.pop_back();

    const std::string before = begin > 0 ? text.substr(0, begin - 1) : std::string();
    const std::string after = end < text.size() ? text.substr(end + 1) : std::string();
    recipient->address = address;
    recipient->name = TrimMailBlanks(before + after);
    return AddressParse::Valid;
}

bool ParseAddressField(const std::string& field, std::vector<MailRecipient>* list,
                       const MailWarning& warn) {
    std::vector<std::string> pieces;
    std::string piece;
    bool quoted = false;
    for (char c : field) {
        if (c == '"')
            quoted = !quoted;
        if (c == ';' && !quoted) {
            pieces.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    // A piece cut off inside an open quote is incomplete; it is not guessed at.
    if (!quoted)
        pieces.push_back(piece);

    for (const std::string& p : pieces) {
        MailRecipient recipient;
        switch (ParseAddress(p, &recipient, warn)) {
        case AddressParse::Valid:
            list->push_back(recipient);
            break;
        case AddressParse::Empty:
            break;
        case AddressParse::Invalid:
            return false;
        }
    }
    return true;
}

} // namespace keywright
