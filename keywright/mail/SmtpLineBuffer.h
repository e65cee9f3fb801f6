// The SMTP client's receive buffer: bytes from the socket in, CR LF lines out.
#pragma once

#include <cstddef>
#include <string>

namespace keywright {

class SmtpLineBuffer {
public:
    static constexpr std::size_t kCapacity = 2048;

    // Where the next received bytes go, and how many fit.
    char* FreeSpace() { return bytes_ + held_; }
    std::size_t FreeSize() const { return kCapacity - held_; }
    // Takes `count` bytes just received into FreeSpace().
    void Commit(std::size_t count);

    // Cuts off the first complete line, CR LF included. The rest of a line that was
    // too long is skipped up to its line end, never handed out as a line.
    bool NextLine(std::string* line);

    // True when the buffer is full without a line end: the line cannot be completed.
    // The caller takes what is held with TakeOverlong(), and the rest of that line
    // is skipped as it arrives.
    bool Overlong() const { return held_ == kCapacity && !skipping_; }
    std::string TakeOverlong();

    std::size_t held() const { return held_; }
    void Clear();

private:
    // The offset just past the first CR LF, or 0 for none.
    std::size_t LineEnd() const;
    void Drop(std::size_t count);

    char bytes_[kCapacity + 1] = {};
    std::size_t held_ = 0;
    bool skipping_ = false;
};

} // namespace keywright
