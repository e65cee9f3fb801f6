// The implementations the shared compound-storage table runs against natively.
#include "platform/CompoundHarness.h"
#include "platform/posix/NativeCompoundFiles.h"
#include "platform/testing/TempTree.h"

#include <sys/stat.h>

namespace kestrix {

namespace {
class NativeHarness : public CompoundHarness {
public:
    CompoundFiles& files() override { return files_; }
    std::string Path(const std::string& name) override { return tree_.Path(name); }
    void PutPlainFile(const std::string& path, const std::string& bytes) override {
        tree_.Write(path.substr(tree_.root().size()), bytes);
    }
    bool Exists(const std::string& path) override {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0;
    }

private:
    TempTree tree_;
    NativeCompoundFiles files_;
};

std::unique_ptr<CompoundHarness> MakeNativeHarness() {
    return std::make_unique<NativeHarness>();
}
} // namespace

std::vector<CompoundImplementation> CompoundImplementations() {
    return {{"Memory", &MakeMemoryCompoundHarness}, {"Native", &MakeNativeHarness}};
}

} // namespace kestrix
