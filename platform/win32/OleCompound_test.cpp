// The implementations the shared compound-storage table runs against on Windows:
// the in-memory model and the system's structured storage.
#include "platform/CompoundHarness.h"
#include "platform/testing/TempTree.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/OleCompoundFiles.h"

#include <windows.h>

namespace kestrix {

namespace {
class OleHarness : public CompoundHarness {
public:
    CompoundFiles& files() override { return files_; }
    std::string Path(const std::string& name) override { return tree_.Path(name); }
    void PutPlainFile(const std::string& path, const std::string& bytes) override {
        tree_.Write(path.substr(tree_.root().size()), bytes);
    }
    bool Exists(const std::string& path) override {
        return GetFileAttributesW(WideFromAnsi(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    TempTree tree_;
    OleCompoundFiles files_;
};

std::unique_ptr<CompoundHarness> MakeOleHarness() {
    return std::make_unique<OleHarness>();
}
} // namespace

std::vector<CompoundImplementation> CompoundImplementations() {
    return {{"Memory", &MakeMemoryCompoundHarness}, {"Ole", &MakeOleHarness}};
}

} // namespace kestrix
