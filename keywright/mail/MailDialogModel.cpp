// The mail dialog's and the setup window's rules, apart from their windows.
#include "mail/MailDialogModel.h"

#include "mail/MailAddress.h"

namespace keywright {

std::string FromField(const std::string& fullName, const std::string& address) {
    if (fullName.empty())
        return address;
    return fullName + " <" + address + ">";
}

std::string UsableServerName(const std::string& typed) {
    std::string name = TrimMailBlanks(typed);
    return name.size() < 2 ? std::string() : name;
}

std::uint32_t ParsePortField(const std::string& text) {
    std::uint64_t value = 0;
    for (char c : TrimMailBlanks(text)) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 0xFFFFFFFFu)
            return 0;
    }
    return static_cast<std::uint32_t>(value);
}

std::uint16_t UsablePort(std::uint32_t stored) {
    return stored <= 0xFFFFu ? static_cast<std::uint16_t>(stored) : 0;
}

MailDialogLayout LayOutMailDialog(const MailDialogLayout& initial, int width, int height) {
    // The template's size is the smallest; nothing shrinks below it.
    if (width < initial.width)
        width = initial.width;
    if (height < initial.height)
        height = initial.height;
    const int dx = width - initial.width;
    const int dy = height - initial.height;
    MailDialogLayout layout = initial;
    layout.width = width;
    layout.height = height;
    for (int part : {kMailSend, kMailCancel, kMailSetup}) {
        layout.parts[part].left += dx;
        layout.parts[part].right += dx;
    }
    for (int part : {kMailFrom, kMailTo, kMailCc, kMailSubject, kMailAttachment})
        layout.parts[part].right += dx;
    layout.parts[kMailBody].right += dx;
    layout.parts[kMailBody].bottom += dy;
    return layout;
}

} // namespace keywright
