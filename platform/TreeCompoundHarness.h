// The part of a compound-file test harness that is the same for every implementation
// that keeps its files on disk: a scratch tree and the implementation's files object.
#pragma once

#include "platform/CompoundHarness.h"
#include "platform/testing/TempTree.h"

#include <memory>
#include <string>

namespace kestrix {

// `Files` is the implementation's CompoundFiles; a derived harness adds only how it
// sees whether a file exists.
template <typename Files> class TreeCompoundHarness : public CompoundHarness {
public:
    CompoundFiles& files() override { return files_; }
    std::string Path(const std::string& name) override { return tree_.Path(name); }
    void PutPlainFile(const std::string& path, const std::string& bytes) override {
        tree_.Write(path.substr(tree_.root().size()), bytes);
    }

private:
    TempTree tree_;
    Files files_;
};

// The maker that CompoundImplementation holds, for a harness of type `Harness`.
template <typename Harness> std::unique_ptr<CompoundHarness> MakeCompoundHarness() {
    return std::make_unique<Harness>();
}

} // namespace kestrix
