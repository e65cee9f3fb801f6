// Where navigation steps are logged, with the nesting indentation of the debug window.
#pragma once

#include <string>

namespace keywright {

class DebugLog {
public:
    virtual ~DebugLog() = default;
    // Appends `text` at the current indentation, ending the line when asked.
    virtual void Write(const std::string& text, bool endLine) = 0;
    virtual void Indent(int delta) = 0;
};

// Raises the indentation by 3 for as long as it lives; a null log is ignored.
class DebugIndent {
public:
    explicit DebugIndent(DebugLog* log) : log_(log) {
        if (log_)
            log_->Indent(3);
    }
    ~DebugIndent() {
        if (log_)
            log_->Indent(-3);
    }
    DebugIndent(const DebugIndent&) = delete;
    DebugIndent& operator=(const DebugIndent&) = delete;

private:
    DebugLog* log_;
};

inline void LogLine(DebugLog* log, const std::string& text) {
    if (log)
        log->Write(text, true);
}

} // namespace keywright
