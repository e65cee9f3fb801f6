// Reading mail addresses out of what the user typed: one entry ("Name <a@b>") and a
// whole To or Cc field of entries separated by semicolons.
#pragma once

#include "mail/MailMessage.h"

#include <functional>
#include <string>
#include <vector>

namespace keywright {

// Where the parser says why an entry was refused; the window shows it as a warning.
using MailWarning = std::function<void(const std::string& text)>;

enum class AddressParse { Valid, Invalid, Empty };

// True for the blanks that separate and surround addresses: space, tab, CR, LF, VT, FF.
bool IsMailBlank(char c);

// `text` without leading and trailing blanks.
std::string TrimMailBlanks(const std::string& text);

// Splits one entry into its bare address and its display name. An entry with no "@"
// outside double quotes is refused with a warning; one of blanks only is empty.
AddressParse ParseAddress(const std::string& entry, MailRecipient* recipient,
                          const MailWarning& warn);

// Appends the entries of a To or Cc field to `list`, in field order. A ";" inside
// double quotes does not separate; empty entries are skipped; a last entry left
// inside an unclosed quote is dropped. Returns false at the first refused entry.
bool ParseAddressField(const std::string& field, std::vector<MailRecipient>* list,
                       const MailWarning& warn);

} // namespace keywright
