// For tests: the status window as the session sees it, kept as the model of its
// texts and rows, the error windows it would show and how it ended.
#pragma once

#include "mail/SmtpSession.h"
#include "mail/SmtpStatusModel.h"

#include <string>
#include <vector>

namespace keywright {

class RecordingSessionUi : public SmtpSessionUi {
public:
    SmtpStatusModel model{"&Show Details"};
    std::vector<SocketErrorReport> errors;
    int finished = 0; // 1 accepted, -1 ended without

    void AddResponse(bool own, const std::string& text) override { model.AddRow(own, text); }
    void SetStatus(unsigned id, bool open) override { model.SetStatus(id, open); }
    void ShowSocketError(const std::string& text, int error) override {
        errors.push_back(DescribeSocketError(text, error));
    }
    void Finish(bool accepted) override { finished = accepted ? 1 : -1; }
    void Trace(const std::string&) override {}
};

} // namespace keywright
