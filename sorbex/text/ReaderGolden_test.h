// Loading the golden files of the text readers: an input and its expected text.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace sorbex {

struct GoldenCase {
    std::string name;
    std::string input;
    std::string expected;
    bool hasExpected = false; // the .txt exists
};

inline std::string ReadGoldenFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every file with `extension` in testdata/`folder`, paired with the .txt of the same
// name, in name order.
inline std::vector<GoldenCase> LoadGoldenCases(const std::string& folder,
                                               const std::string& extension) {
    std::vector<GoldenCase> cases;
    const std::filesystem::path dir = std::filesystem::path(SORBEX_TEXT_TESTDATA) / folder;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::filesystem::path path = entry.path();
        if (path.extension() != extension)
            continue;
        std::filesystem::path expected = path;
        expected.replace_extension(".txt");
        cases.push_back({path.filename().string(), ReadGoldenFile(path), ReadGoldenFile(expected),
                         std::filesystem::exists(expected)});
    }
    std::sort(cases.begin(), cases.end(),
              [](const GoldenCase& a, const GoldenCase& b) { return a.name < b.name; });
    return cases;
}

} // namespace sorbex
