// The status window's texts and rows, and the socket error descriptions.
#include "mail/SmtpStatusModel.h"

#include "mail/SmtpProtocol.h"
#include "strings/KeywrightStrings.h"

#include <utility>

namespace keywright {

namespace {

struct SocketErrorEntry {
    int error;
    unsigned stringId;
};

constexpr SocketErrorEntry kSocketErrors[] = {
    {10013, 5000}, {10048, 5001}, {10049, 5002}, {10050, 5003}, {10051, 5004},
    {10052, 5005}, {10053, 5006}, {10054, 5007}, {10055, 5008}, {10056, 5009},
    {10057, 5010}, {10058, 5011}, {10060, 5012}, {10061, 5013}, {10064, 5014},
    {10065, 5015}, {11001, 5016}, {11003, 5017}, {11004, 5018}, {11002, 5019},
};

std::string StringOrEmpty(unsigned id) {
    const char* text = KeywrightString(id);
    return text ? text : "";
}

} // namespace

SmtpStatusModel::SmtpStatusModel(std::string showCaption) : showCaption_(std::move(showCaption)) {}

void SmtpStatusModel::SetStatus(unsigned stringId, bool openDetails) {
    status_ = StringOrEmpty(stringId);
    if (openDetails)
        detailsOpen_ = true;
}

void SmtpStatusModel::AddRow(bool own, const std::string& text) {
    rows_.push_back(StringOrEmpty(own ? kStrOwnRowPrefix : kStrServerRowPrefix) +
                    WithoutLineEnd(text));
}

std::string SmtpStatusModel::detailsCaption() const {
    return detailsOpen_ ? StringOrEmpty(kStrHideDetails) : showCaption_;
}

unsigned SocketErrorString(int error) {
    for (const SocketErrorEntry& e : kSocketErrors)
        if (e.error == error)
            return e.stringId;
    return 0;
}

SocketErrorReport DescribeSocketError(const std::string& text, int error) {
    SocketErrorReport report;
    report.text = text;
    report.number = std::to_string(error);
    if (unsigned id = SocketErrorString(error))
        report.description = StringOrEmpty(id);
    return report;
}

} // namespace keywright
