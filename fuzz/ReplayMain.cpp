// Runs a fuzz target's saved inputs once each, for builds without libFuzzer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// Adds `path`, or the regular files inside it in a stable order, to `files`.
bool Collect(const fs::path& path, std::vector<fs::path>& files) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(path, error))
            if (entry.is_regular_file())
                found.push_back(entry.path());
        if (error)
            return false;
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
        return true;
    }
    if (fs::is_regular_file(path, error)) {
        files.push_back(path);
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        if (!Collect(argv[i], files)) {
            std::fprintf(stderr, "replay: cannot read %s\n", argv[i]);
            return 1;
        }
    }
    // A target without saved inputs would pass without testing anything.
    if (files.empty()) {
        std::fprintf(stderr, "replay: no inputs\n");
        return 1;
    }
    for (const fs::path& file : files) {
        // Named before the run, so that a sanitizer report shows which input failed.
        std::printf("replay: %s\n", file.string().c_str());
        std::fflush(stdout);
        std::ifstream in(file, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (!in.eof() && in.fail()) {
            std::fprintf(stderr, "replay: cannot read %s\n", file.string().c_str());
            return 1;
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("replay: %zu inputs\n", files.size());
    return 0;
}
