// The registry-file reader's character source: a file through a buffer of fixed size,
// or bytes in memory, read one character at a time with one character of push-back,
// counting bytes and lines and reporting progress.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace keywright {

// Called with the bytes consumed so far, the file's size and the caller's context.
using RE4ProgressFn = void (*)(std::uint32_t position, std::uint32_t size, void* context);

// 8-bit text, or UTF-16 little-endian (a file that begins with the byte-order mark).
enum class RE4Encoding { kBytes, kUtf16Le };

class RE4Input {
public:
    static constexpr int kEnd = -1;

    // With `step` 0 every check reports; otherwise a report needs an advance of at
    // least `step` percent of the file since the last one.
    RE4Input(std::size_t bufferSize, RE4ProgressFn progress, std::uint32_t step, void* context);
    ~RE4Input();
    RE4Input(const RE4Input&) = delete;
    RE4Input& operator=(const RE4Input&) = delete;

    // Opens the file for reading ("rb") and finds its size; false when it can't be
    // opened or buffered.
    bool OpenFile(const char* path);
    // Reads `size` bytes that the caller keeps alive for the whole parse.
    void OpenBytes(const void* data, std::size_t size);

    RE4Encoding Encoding() const { return encoding_; }
    // True when the text begins with the header of a version-5 file; the header is
    // then consumed. Asked once, before the first character is read.
    bool TakeVersion5Header();

    // The next character (a byte, or a UTF-16 code unit), or kEnd.
    int Get() {
        int c;
        if (pushed_ != kEnd) {
            c = pushed_;
            pushed_ = kEnd;
            position_ += unit_;
            return c;
        }
        if (encoding_ == RE4Encoding::kBytes) {
            if (next_ == end_ && !Fill(1))
                return kEnd;
            c = *next_++;
        } else {
            if (end_ - next_ < 2 && !Fill(2))
                return kEnd;
            c = next_[0] | next_[1] << 8;
            next_ += 2;
        }
        position_ += unit_;
        if (c == '\n') {
            ++line_;
            CheckProgress();
        }
        return c;
    }

    // Gives `c` back to be read again; a line feed given back is not counted twice.
    void Unget(int c);

    // Reports progress when the rules say so (see the constructor).
    void CheckProgress();

    std::uint32_t Line() const { return line_; }
    std::uint32_t Position() const { return position_; }
    std::uint32_t Size() const { return size_; }

private:
    // Makes at least `need` bytes available at next_; false when the source has fewer.
    bool Fill(std::size_t need);
    void DetectEncoding();

    std::vector<unsigned char> buffer_;
    std::FILE* file_ = nullptr;
    const unsigned char* next_ = nullptr;
    const unsigned char* end_ = nullptr;
    RE4Encoding encoding_ = RE4Encoding::kBytes;
    std::uint32_t unit_ = 1; // bytes per character
    int pushed_ = kEnd;
    std::uint32_t size_ = 0;
    std::uint32_t position_ = 0;
    std::uint32_t lastReported_ = 0;
    std::uint32_t line_ = 1;
    RE4ProgressFn progress_;
    std::uint32_t step_;
    void* context_;
};

} // namespace keywright
