// Compound files kept in memory and keyed by path, for tests: the same modes,
// sharing rules and failure codes as files on disk, without a disk.
#pragma once

#include "platform/CompoundStorage.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kestrix {

class MemoryCompoundFiles final : public CompoundFiles {
public:
    MemoryCompoundFiles();
    ~MemoryCompoundFiles() override;

    OsError Open(const std::string& path, unsigned mode, std::unique_ptr<Storage>& root) override;
    OsError Create(const std::string& path, unsigned mode, std::unique_ptr<Storage>& root) override;
    bool IsCompoundFile(const std::string& path) override;

    // Puts a file that is not a compound file at `path` (for conversion tests).
    void PutPlainFile(const std::string& path, std::vector<unsigned char> bytes);
    bool Exists(const std::string& path) const;
    void Remove(const std::string& path);
    // Paths of the files that exist, temporaries included while they are open.
    std::vector<std::string> Paths() const;

    struct File;

private:
    std::map<std::string, std::shared_ptr<File>> files_;
    unsigned long temporaries_ = 0;
};

} // namespace kestrix
