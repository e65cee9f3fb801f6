// Compound files kept in memory and keyed by path.
#include "platform/memory/MemoryCompoundFiles.h"

#include "platform/compound/MemoryCompoundTree.h"

namespace kestrix {

struct MemoryCompoundFiles::File final : compound::Image {
    bool compound = true;
    std::vector<unsigned char> plain; // the bytes of a file that is not a compound file
    std::vector<unsigned> opens;      // modes of the roots open on it
    std::map<std::string, std::shared_ptr<File>>* owner = nullptr;
    std::string key; // erased from `owner` when released (delete on release)
    bool deleteOnRelease = false;
    bool converting = false; // opened with conversion: becomes a compound file on commit

    OsError Persist() override {
        if (converting) {
            compound = true;
            plain.clear();
        }
        return {};
    }

    void Released(unsigned mode) override {
        for (auto it = opens.begin(); it != opens.end(); ++it)
            if (*it == mode) {
                opens.erase(it);
                break;
            }
        if (opens.empty())
            converting = false;
        if (opens.empty() && deleteOnRelease && owner)
            owner->erase(key); // may destroy this object: touch nothing after
    }

    bool Admits(unsigned mode) const {
        for (unsigned existing : opens)
            if (!compound::ShareCompatible(existing, mode))
                return false;
        return true;
    }
};

MemoryCompoundFiles::MemoryCompoundFiles() = default;

MemoryCompoundFiles::~MemoryCompoundFiles() {
    // Roots still open keep their files; they must not reach back into this map.
    for (auto& entry : files_)
        entry.second->owner = nullptr;
}

OsError MemoryCompoundFiles::Open(const std::string& path, unsigned mode,
                                  std::unique_ptr<Storage>& root) {
    root.reset();
    if (OsError e = compound::CheckRootMode("Open", path, mode))
        return e;
    auto it = files_.find(path);
    if (it == files_.end())
        return MakeOsError("Open", path, StorageError::kFileNotFound);
    File& file = *it->second;
    if (!file.Admits(mode))
        return MakeOsError("Open", path, StorageError::kShareViolation);
    if (!file.compound) {
        // The system's answer for an existing file that is not a compound file.
        if (!(mode & StorageMode::kConvert))
            return MakeOsError("Open", path, StorageError::kFileAlreadyExists);
        file.root = std::make_shared<compound::Node>();
        file.converting = compound::ModeWrites(mode);
    }
    file.opens.push_back(mode);
    root = compound::OpenRoot(it->second, mode, path);
    return {};
}

OsError MemoryCompoundFiles::Create(const std::string& path, unsigned mode,
                                    std::unique_ptr<Storage>& root) {
    root.reset();
    if (OsError e = compound::CheckCreateMode(path, mode))
        return e;
    std::string key = path;
    if (path.empty())
        key = "~temporary" + std::to_string(++temporaries_);
    auto it = files_.find(key);
    if (it != files_.end()) {
        if (!(mode & (StorageMode::kCreate | StorageMode::kConvert)))
            return MakeOsError("Create", path, StorageError::kFileAlreadyExists);
        if (!it->second->opens.empty())
            return MakeOsError("Create", path, StorageError::kShareViolation);
        files_.erase(it);
    }
    auto file = std::make_shared<File>();
    file->owner = &files_;
    file->key = key;
    file->deleteOnRelease = (mode & StorageMode::kDeleteOnRelease) != 0;
    file->opens.push_back(mode);
    files_[key] = file;
    root = compound::OpenRoot(file, mode, key);
    return {};
}

bool MemoryCompoundFiles::IsCompoundFile(const std::string& path) {
    auto it = files_.find(path);
    return it != files_.end() && it->second->compound;
}

void MemoryCompoundFiles::PutPlainFile(const std::string& path, std::vector<unsigned char> bytes) {
    auto file = std::make_shared<File>();
    file->owner = &files_;
    file->key = path;
    file->compound = false;
    file->plain = std::move(bytes);
    files_[path] = file;
}

bool MemoryCompoundFiles::Exists(const std::string& path) const {
    return files_.count(path) != 0;
}

void MemoryCompoundFiles::Remove(const std::string& path) {
    auto it = files_.find(path);
    if (it != files_.end()) {
        it->second->owner = nullptr;
        files_.erase(it);
    }
}

std::vector<std::string> MemoryCompoundFiles::Paths() const {
    std::vector<std::string> paths;
    for (const auto& entry : files_)
        paths.push_back(entry.first);
    return paths;
}

} // namespace kestrix
