// What the "Email Status" window and the socket error window show, apart from their
// windows: the status line, the details state, the response rows, and the error
// window's three texts.
#pragma once

#include <string>
#include <vector>

namespace keywright {

class SmtpStatusModel {
public:
    // `showCaption` is the details button's caption in the template.
    explicit SmtpStatusModel(std::string showCaption);

    void SetStatus(unsigned stringId, bool openDetails);
    // Appends "Keywright: " or "Server: " and the text without its line end.
    void AddRow(bool own, const std::string& text);
    void ToggleDetails() { detailsOpen_ = !detailsOpen_; }

    const std::string& status() const { return status_; }
    bool detailsOpen() const { return detailsOpen_; }
    std::string detailsCaption() const;
    const std::vector<std::string>& rows() const { return rows_; }

private:
    std::string showCaption_;
    std::string status_;
    bool detailsOpen_ = false;
    std::vector<std::string> rows_;
};

// The error window's lines for an error text and a socket error number.
struct SocketErrorReport {
    std::string text;
    std::string number;      // decimal
    std::string description; // empty for numbers without one
};

SocketErrorReport DescribeSocketError(const std::string& text, int error);

// The string that describes a socket error number, or 0 for none.
unsigned SocketErrorString(int error);

} // namespace keywright
