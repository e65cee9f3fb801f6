// Line framing of the server's replies.
#include "mail/SmtpLineBuffer.h"

#include <cstring>

namespace keywright {

void SmtpLineBuffer::Commit(std::size_t count) {
    held_ += count < FreeSize() ? count : FreeSize();
    bytes_[held_] = '\0';
}

std::size_t SmtpLineBuffer::LineEnd() const {
    for (std::size_t i = 0; i + 1 < held_; ++i)
        if (bytes_[i] == '\r' && bytes_[i + 1] == '\n')
            return i + 2;
    return 0;
}

void SmtpLineBuffer::Drop(std::size_t count) {
    std::memmove(bytes_, bytes_ + count, held_ - count);
    held_ -= count;
    bytes_[held_] = '\0';
}

bool SmtpLineBuffer::NextLine(std::string* line) {
    for (;;) {
        const std::size_t end = LineEnd();
        if (end == 0) {
            if (skipping_ && held_ > 0) // keep a CR whose LF is still to come
                Drop(bytes_[held_ - 1] == '\r' ? held_ - 1 : held_);
            return false;
        }
        if (skipping_) {
            Drop(end);
            skipping_ = false;
            continue;
        }
        line->assign(bytes_, end);
        Drop(end);
        return true;
    }
}

std::string SmtpLineBuffer::TakeOverlong() {
    std::string start(bytes_, held_);
    // A CR at the very end may be the first half of the line end.
    Drop(held_ > 0 && bytes_[held_ - 1] == '\r' ? held_ - 1 : held_);
    skipping_ = true;
    return start;
}

void SmtpLineBuffer::Clear() {
    held_ = 0;
    bytes_[0] = '\0';
    skipping_ = false;
}

} // namespace keywright
