// A scratch directory tree on the real disk for tests, removed when the test ends.
#pragma once

#include <string>

namespace kestrix {

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The tree's root in the program's 8-bit form, ending in the path separator.
    const std::string& root() const { return root_; }

    // root() + `relative`, with '/' in `relative` turned into the system's separator.
    std::string Path(const std::string& relative) const;

    // Creates the directory `relative` and any missing parents.
    void MakeDir(const std::string& relative) const;

    // Creates or overwrites the file `relative` (parents included) with `bytes`.
    void Write(const std::string& relative, const std::string& bytes) const;

    // The whole content of the file `relative`; empty when it cannot be read.
    std::string Read(const std::string& relative) const;

private:
    std::string root_;
};

} // namespace kestrix
