// A generated registry export for the benchmarks: its REGEDIT4 text and the same as a
// version-5 file in UTF-16.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// An export as the system's editor writes one: a few big keys with thousands of
// subkeys (as under the classes root), each subkey with strings, double words,
// expandable strings and binary data that runs over several lines.
inline std::string GenerateExport(std::size_t targetBytes, std::size_t* values) {
    std::string text = "REGEDIT4\r\n\r\n";
    *values = 0;
    for (int group = 0; text.size() < targetBytes; ++group) {
        for (int i = 0; i < 5000 && text.size() < targetBytes; ++i) {
            const std::string n = std::to_string(i);
            text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Group" + std::to_string(group) +
                    "\\Item" + n + "]\r\n";
            text += "@=\"Item number " + n + "\"\r\n";
            text += "\"Path\"=\"C:\\\\Program Files\\\\Vendor\\\\file" + n + ".dll\"\r\n";
            text += "\"Flags\"=dword:000" + std::to_string(10000 + i) + "\r\n";
            text += "\"Expand\"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,00\r\n";
            text +=
                "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,\\\r\n"
                "  14,15,16,17,18,19,1a,1b,1c,1d,1e,1f\r\n";
            text += "\"Quoted\"=\"say \\\"" + n + "\\\"\"\r\n\r\n";
            *values += 6;
        }
    }
    return text;
}

// The same text as a version-5 file: header instead of marker, UTF-16LE with a mark.
inline std::string Version5(const std::string& regedit4) {
    const std::string body = regedit4.substr(8);
    const std::string header = "Windows Registry Editor Version 5.00";
    std::string wide = "\xFF\xFE";
    for (char c : header + body) {
        wide.push_back(c);
        wide.push_back('\0');
    }
    return wide;
}

} // namespace bench
