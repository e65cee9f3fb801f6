// The implementations the shared compound-storage table runs against on Windows:
// the in-memory model and the system's structured storage.
#include "platform/TreeCompoundHarness.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/OleCompoundFiles.h"

#include <windows.h>

namespace kestrix {

namespace {
class OleHarness : public TreeCompoundHarness<OleCompoundFiles> {
public:
    bool Exists(const std::string& path) override {
        return GetFileAttributesW(WideFromAnsi(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
};
} // namespace

std::vector<CompoundImplementation> CompoundImplementations() {
    return {{"Memory", &MakeMemoryCompoundHarness}, {"Ole", &MakeCompoundHarness<OleHarness>}};
}

} // namespace kestrix
