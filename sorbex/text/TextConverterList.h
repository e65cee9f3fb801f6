// The word-processor text converters registered on this machine, in the order in
// which they are tried.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "text/TextConverter.h"

namespace sorbex {

class CTextConverterList {
public:
    CTextConverterList() = default;
    CTextConverterList(const CTextConverterList&) = delete;
    CTextConverterList& operator=(const CTextConverterList&) = delete;

    // Reads the converters' registry entries: every subkey of the three import keys
    // that has a non-empty "Name", "Extensions" and "Path" and whose library
    // `fileExists`. Keys that cannot be opened are passed over. Adds to the list;
    // the same library registered twice is listed twice.
    void Build(kestrix::Registry& registry, CConverterLoader& loader,
               const std::function<bool(const std::string&)>& fileExists);

    void Add(std::unique_ptr<CTextConverter> converter) {
        converters_.push_back(std::move(converter));
    }

    // Tries the converters whose extensions match `name`'s on the file `path`, in list
    // order, each loaded, initialised, checked, run and unloaded, until one produces
    // RTF, which is then in `rtf`. `applied` tells whether any matching one could be
    // loaded.
    bool ConvertFile(const std::string& path, const std::string& name, std::string& rtf,
                     bool& applied);
    // Whether any converter's extensions match `name`'s, so that ConvertFile would try it.
    bool AnyMatches(const std::string& name) const;

    std::size_t size() const { return converters_.size(); }
    bool empty() const { return converters_.empty(); }
    CTextConverter& operator[](std::size_t i) { return *converters_[i]; }
    const CTextConverter& operator[](std::size_t i) const { return *converters_[i]; }

private:
    std::vector<std::unique_ptr<CTextConverter>> converters_;
};

// Builds `list` from the system's registry, with `fileSystem` telling which libraries
// exist. Where there is no such registry the list stays empty.
void BuildSystemConverterList(CTextConverterList& list, CConverterLoader& loader,
                              kestrix::FileSystem& fileSystem);

// Where the converters are registered, in the order they are read.
struct CConverterRegistryKey {
    kestrix::RegKey root;
    const char* path;
};
extern const CConverterRegistryKey kConverterRegistryKeys[3];

} // namespace sorbex
