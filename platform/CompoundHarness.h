// What the shared compound-storage behaviour tests need from each implementation.
#pragma once

#include "platform/CompoundStorage.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrix {

class CompoundHarness {
public:
    virtual ~CompoundHarness() = default;
    virtual CompoundFiles& files() = 0;
    // A path for a file of the given name in a scratch place of this harness.
    virtual std::string Path(const std::string& name) = 0;
    // Writes a file that is not a compound file.
    virtual void PutPlainFile(const std::string& path, const std::string& bytes) = 0;
    virtual bool Exists(const std::string& path) = 0;
    // Whether a second open of a file from the same process is refused like one from
    // another process (false where only other processes are locked out).
    virtual bool SharesWithinProcess() { return true; }
};

struct CompoundImplementation {
    const char* name;
    std::unique_ptr<CompoundHarness> (*make)();
};

// The in-memory files, reachable from every test program.
std::unique_ptr<CompoundHarness> MakeMemoryCompoundHarness();

// Defined once in each test program: every implementation it can reach.
std::vector<CompoundImplementation> CompoundImplementations();

} // namespace kestrix
