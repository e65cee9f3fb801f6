// Compound files on a POSIX disk: the tree lives in memory while a file is open,
// commits write the whole file anew and replace the old one in one step, and the
// share modes are kept with advisory locks so that other opens and other processes
// see them.
#pragma once

#include "platform/CompoundStorage.h"

namespace kestrix {

class NativeCompoundFiles final : public CompoundFiles {
public:
    OsError Open(const std::string& path, unsigned mode, std::unique_ptr<Storage>& root) override;
    OsError Create(const std::string& path, unsigned mode, std::unique_ptr<Storage>& root) override;
    bool IsCompoundFile(const std::string& path) override;
};

} // namespace kestrix
