// Builds and dumps compound-file trees written as one line of text.
#include "platform/testing/CompoundTreeText.h"
#include "platform/HexDigit.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace kestrix {
namespace testtree {

namespace {

constexpr unsigned kElementRW = StorageMode::kReadWrite | StorageMode::kShareExclusive;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (start < text.size()) {
        auto end = text.find(separator, start);
        if (end == std::string::npos)
            end = text.size();
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string Unescape(const std::string& text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
            kestrix::HexDigitValue(text[i + 2]) >= 0 && kestrix::HexDigitValue(text[i + 3]) >= 0) {
            bytes += static_cast<char>(kestrix::HexDigitValue(text[i + 2]) * 16 +
                                       kestrix::HexDigitValue(text[i + 3]));
            i += 3;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

std::string Escape(const std::string& bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != ';' && c != '\\') {
            text += static_cast<char>(c);
        } else {
            text += "\\x";
            text += kHex[c >> 4];
            text += kHex[c & 15];
        }
    }
    return text;
}

OsError BuildOne(Storage& storage, const std::vector<std::string>& parts, std::size_t index,
                 const std::string& value, bool isStorage) {
    const std::string& name = parts[index];
    const bool last = index + 1 == parts.size();
    if (last && !isStorage) {
        std::unique_ptr<StorageStream> stream;
        if (OsError e = storage.CreateStream(name, kElementRW | StorageMode::kCreate, stream))
            return e;
        return value.empty() ? OsError{} : stream->Write(value.data(), value.size());
    }
    std::unique_ptr<Storage> sub;
    if (storage.OpenStorage(name, kElementRW, sub))
        if (OsError e = storage.CreateStorage(name, kElementRW, sub))
            return e;
    if (!last)
        if (OsError e = BuildOne(*sub, parts, index + 1, value, isStorage))
            return e;
    return sub->Commit();
}

void DumpInto(Storage& storage, const std::string& prefix, const std::set<std::string>& closed,
              std::vector<std::string>& lines) {
    std::vector<StorageElement> elements;
    if (OsError e = storage.Enumerate(elements)) {
        lines.push_back(prefix + "<enumerate failed>");
        return;
    }
    for (const auto& element : elements) {
        const std::string path = prefix + element.name;
        if (element.isStorage) {
            const auto before = lines.size();
            std::unique_ptr<Storage> sub;
            if (closed.count(element.name) == 0) {
                if (storage.OpenStorage(element.name,
                                        StorageMode::kRead | StorageMode::kShareExclusive, sub))
                    lines.push_back(path + "/<open failed>");
                else
                    DumpInto(*sub, path + "/", {}, lines);
            }
            if (lines.size() == before)
                lines.push_back(path + "/");
            continue;
        }
        std::unique_ptr<StorageStream> stream;
        std::string bytes;
        if (storage.OpenStream(element.name, StorageMode::kRead | StorageMode::kShareExclusive,
                               stream)) {
            lines.push_back(path + "=<open failed>");
            continue;
        }
        char buffer[4096];
        std::size_t got = 0;
        while (!stream->Read(buffer, sizeof buffer, got) && got > 0)
            bytes.append(buffer, got);
        lines.push_back(path + "=" + Escape(bytes));
    }
}

} // namespace

OsError Build(Storage& storage, const std::string& tree) {
    for (const std::string& entry : Split(tree, ';')) {
        const auto equals = entry.find('=');
        const bool isStorage = equals == std::string::npos;
        std::string path = isStorage ? entry : entry.substr(0, equals);
        if (isStorage && !path.empty() && path.back() == '/')
            path.pop_back();
        const std::vector<std::string> parts = Split(path, '/');
        if (parts.empty())
            continue;
        const std::string value = isStorage ? std::string() : Unescape(entry.substr(equals + 1));
        if (OsError e = BuildOne(storage, parts, 0, value, isStorage))
            return e;
    }
    return {};
}

std::string Dump(Storage& storage, const std::set<std::string>& closed) {
    std::vector<std::string> lines;
    DumpInto(storage, "", closed, lines);
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const auto& line : lines)
        text += line + ";";
    return text;
}

} // namespace testtree
} // namespace kestrix
