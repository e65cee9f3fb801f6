// The registry-file reader's character source.
#include "preview/RE4Input.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace keywright {

namespace {

// The header of the files the system's editor writes today. It stands where
// "REGEDIT4" stands in the older format and is compared without regard to case, as
// that word is.
constexpr char kVersion5Header[] = "Windows Registry Editor Version 5.00";
constexpr std::size_t kVersion5HeaderLength = sizeof kVersion5Header - 1;

// Large enough to look at the byte-order mark and the whole version-5 header at once.
constexpr std::size_t kMinimumBuffer = 2 + 2 * kVersion5HeaderLength;

int Upper(int c) {
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

} // namespace

RE4Input::RE4Input(std::size_t bufferSize, RE4ProgressFn progress, std::uint32_t step,
                   void* context)
    : buffer_(std::max(bufferSize, kMinimumBuffer)), progress_(progress), step_(step),
      context_(context) {}

RE4Input::~RE4Input() {
    if (file_)
        std::fclose(file_);
}

bool RE4Input::OpenFile(const char* path) {
    file_ = std::fopen(path, "rb");
    if (!file_)
        return false;
    // The stream's own buffer would only copy what Fill reads in blocks of the same size.
    if (std::setvbuf(file_, nullptr, _IONBF, 0) != 0)
        return false;
    // A size that can't be found, or that the 32-bit counters can't hold, turns
    // progress off rather than reporting nonsense.
    size_ = 0;
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        const long size = std::ftell(file_);
        if (size > 0 &&
            static_cast<unsigned long>(size) <= std::numeric_limits<std::uint32_t>::max())
            size_ = static_cast<std::uint32_t>(size);
    }
    if (std::fseek(file_, 0, SEEK_SET) != 0)
        return false;
    next_ = end_ = buffer_.data();
    DetectEncoding();
    return true;
}

void RE4Input::OpenBytes(const void* data, std::size_t size) {
    next_ = static_cast<const unsigned char*>(data);
    end_ = next_ + size;
    size_ =
        size <= std::numeric_limits<std::uint32_t>::max() ? static_cast<std::uint32_t>(size) : 0;
    DetectEncoding();
}

bool RE4Input::Fill(std::size_t need) {
    if (static_cast<std::size_t>(end_ - next_) >= need)
        return true;
    if (!file_)
        return false;
    // The few bytes left (half a UTF-16 unit, or part of the header) move to the front.
    const std::size_t left = static_cast<std::size_t>(end_ - next_);
    std::memmove(buffer_.data(), next_, left);
    std::size_t have = left;
    while (have < need) {
        const std::size_t got = std::fread(buffer_.data() + have, 1, buffer_.size() - have, file_);
        if (got == 0)
            break;
        have += got;
    }
    next_ = buffer_.data();
    end_ = next_ + have;
    return have >= need;
}

void RE4Input::DetectEncoding() {
    if (Fill(2) && next_[0] == 0xFF && next_[1] == 0xFE) {
        encoding_ = RE4Encoding::kUtf16Le;
        unit_ = 2;
        next_ += 2;
        position_ += 2;
    }
}

bool RE4Input::TakeVersion5Header() {
    const std::size_t bytes = kVersion5HeaderLength * unit_;
    if (!Fill(bytes))
        return false;
    for (std::size_t i = 0; i < kVersion5HeaderLength; ++i) {
        const int c = unit_ == 1 ? next_[i] : next_[2 * i] | next_[2 * i + 1] << 8;
        if (Upper(c) != Upper(kVersion5Header[i]))
            return false;
    }
    next_ += bytes;
    position_ += static_cast<std::uint32_t>(bytes);
    return true;
}

void RE4Input::Unget(int c) {
    if (c == kEnd)
        return;
    pushed_ = c;
    position_ -= unit_;
    CheckProgress();
}

void RE4Input::CheckProgress() {
    if (!progress_ || size_ == 0)
        return;
    // Unsigned 32-bit arithmetic throughout: the difference of the two products is
    // the advance times 100 even when a product wraps.
    if (position_ != size_ && (position_ * 100u - lastReported_ * 100u) / size_ < step_)
        return;
    lastReported_ = position_;
    progress_(position_, size_, context_);
}

} // namespace keywright
