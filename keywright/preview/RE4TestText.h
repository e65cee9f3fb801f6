// What the reader's tests share: registry files written as readable text, and a tree
// written out as text to compare.
#pragma once

#include "preview/RE4Tree.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace keywright {
namespace testing {

// `text` with every line feed preceded by a carriage return, as files are written.
inline std::string Crlf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

// `utf8` as UTF-16LE behind a byte-order mark, as the system's editor writes version-5
// files.
inline std::string Utf16File(std::string_view utf8) {
    std::string out = "\xFF\xFE";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t c = lead;
        std::size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        if (extra)
            c = lead & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += extra + 1;
        const auto unit = [&out](char32_t u) {
            out.push_back(static_cast<char>(u & 0xFF));
            out.push_back(static_cast<char>(u >> 8));
        };
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(c);
        }
    }
    return out;
}

// Every key in file order, depth first, as "[path]" lines, each followed by its
// values as "  name|type|hex bytes" lines.
inline std::string DumpTree(const CRE4Tree& tree) {
    std::string out;
    struct Item {
        const CRE4Key* key;
        std::string path;
    };
    std::vector<Item> stack;
    const auto push = [&stack](const CRE4Key* key, const std::string& prefix) {
        for (auto it = key->Subkeys().rbegin(); it != key->Subkeys().rend(); ++it)
            stack.push_back({it->get(), prefix + (*it)->Name()});
    };
    push(tree.Root(), "");
    while (!stack.empty()) {
        Item item = stack.back();
        stack.pop_back();
        out += "[" + item.path + "]\n";
        for (const CRE4Value& value : item.key->Values()) {
            out += "  " + value.name + "|" + std::to_string(value.type) + "|";
            for (std::size_t i = 0; i < value.data.size(); ++i) {
                char hex[4];
                std::snprintf(hex, sizeof hex, i ? " %02x" : "%02x", value.data[i]);
                out += hex;
            }
            out += "\n";
        }
        push(item.key, item.path + "\\");
    }
    return out;
}

} // namespace testing
} // namespace keywright
