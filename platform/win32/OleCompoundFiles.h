// The compound-storage seam on Windows: OLE structured storage (docfiles).
#pragma once

#include "platform/CompoundStorage.h"

namespace kestrix {

class OleCompoundFiles final : public CompoundFiles {
public:
    OsError Open(const std::string& path, unsigned mode, std::unique_ptr<Storage>& root) override;
    OsError Create(const std::string& path, unsigned mode, std::unique_ptr<Storage>& root) override;
    bool IsCompoundFile(const std::string& path) override;
};

} // namespace kestrix
