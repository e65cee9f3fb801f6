// The text replacement engine.
#include "registry/ReplaceAll.h"

#include "host/AsciiCase.h"

#include <cstring>
#include <string>

namespace keywright {

namespace {

std::string UpperCopy(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = AsciiUpper(c);
    return upper;
}

// Appends to the output unless that would pass the capacity.
class Output {
public:
    Output(char* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {}
    bool Append(std::string_view text) {
        if (text.size() > capacity_ - used_)
            return false;
        if (!text.empty())
            std::memcpy(buffer_ + used_, text.data(), text.size());
        used_ += text.size();
        return true;
    }
    void Terminate() { buffer_[used_] = '\0'; }

private:
    char* buffer_;
    std::size_t capacity_;
    std::size_t used_ = 0;
};

} // namespace

int ReplaceAll(char* output, std::size_t capacity, std::string_view source, std::string_view find,
               std::string_view replacement, bool matchCase, bool* replaced,
               const SegmentCallback& segment, bool showOld) {
    if (replaced)
        *replaced = false;
    std::string foldedSource, foldedFind;
    std::string_view haystack = source, needle = find;
    if (!matchCase) {
        foldedSource = UpperCopy(source);
        foldedFind = UpperCopy(find);
        haystack = foldedSource;
        needle = foldedFind;
    }
    Output out(output, capacity);
    std::size_t position = 0;
    while (!needle.empty()) {
        std::size_t at = haystack.find(needle, position);
        if (at == std::string_view::npos)
            break;
        if (replaced)
            *replaced = true;
        std::string_view before = source.substr(position, at - position);
        if (!out.Append(before) || !out.Append(replacement))
            return 0;
        if (segment) {
            segment(before, false);
            segment(showOld ? source.substr(at, find.size()) : replacement, true);
        }
        position = at + find.size();
    }
    std::string_view rest = source.substr(position);
    if (!out.Append(rest))
        return 0;
    out.Terminate();
    if (segment)
        segment(rest, false);
    return 1;
}

} // namespace keywright
