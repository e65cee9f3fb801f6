// The implementations the shared compound-storage table runs against natively.
#include "platform/TreeCompoundHarness.h"
#include "platform/posix/NativeCompoundFiles.h"

#include <sys/stat.h>

namespace kestrix {

namespace {
class NativeHarness : public TreeCompoundHarness<NativeCompoundFiles> {
public:
    bool Exists(const std::string& path) override {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0;
    }
};
} // namespace

std::vector<CompoundImplementation> CompoundImplementations() {
    return {{"Memory", &MakeMemoryCompoundHarness},
            {"Native", &MakeCompoundHarness<NativeHarness>}};
}

} // namespace kestrix
