// A scratch directory tree on the real disk for tests, removed when the test ends.
#include "platform/testing/TempTree.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/FileSystem.h"

namespace kestrix {
namespace fs = std::filesystem;

TempTree::TempTree() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path() /
            ("kestrix-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            root_ = candidate.string();
            if (root_.empty() || !IsPathSeparator(root_.back()))
                root_ += kPathSeparator;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempTree::~TempTree() {
    std::error_code ec;
    // Files a test left read-only must not survive it.
    for (auto it = fs::recursive_directory_iterator(root_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
}

std::string TempTree::Path(const std::string& relative) const {
    std::string path = root_ + relative;
    for (char& c : path)
        if (c == '/')
            c = kPathSeparator;
    return path;
}

void TempTree::MakeDir(const std::string& relative) const {
    fs::create_directories(Path(relative));
}

void TempTree::Write(const std::string& relative, const std::string& bytes) const {
    const fs::path path = Path(relative);
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string TempTree::Read(const std::string& relative) const {
    std::ifstream in(fs::path(Path(relative)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace kestrix
