// The word-processor text converters registered on this machine, in the order in
// which they are tried.
#include "text/TextConverterList.h"

#include <vector>

#include "platform/ScopedRegKey.h"

namespace sorbex {

const CConverterRegistryKey kConverterRegistryKeys[3] = {
    {kestrix::kHkeyLocalMachine, "Software\\Microsoft\\Shared Tools\\Text Converters\\Import"},
    {kestrix::kHkeyCurrentUser, "Software\\Microsoft\\Office\\8.0\\Word\\Text Converters\\Import"},
    {kestrix::kHkeyCurrentUser, "Software\\Microsoft\\Word\\7.0\\Text Converters\\Import"},
};

namespace {

constexpr std::uint32_t kMaxSubkeyName = 260;

// A string value, or "" when it is missing, not a string or cannot be read. The
// stored bytes need not end in a NUL, so the text stops at the first one or at the
// stored size, whichever comes first.
std::string ReadString(kestrix::Registry& registry, kestrix::RegKey key, const char* name) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (registry.QueryValue(key, name, &type, nullptr, &size) != kestrix::kErrorSuccess)
        return {};
    if ((type != kestrix::kRegSz && type != kestrix::kRegExpandSz) || size == 0)
        return {};
    std::vector<char> data(size + 1, '\0');
    std::uint32_t got = size;
    if (registry.QueryValue(key, name, &type, data.data(), &got) != kestrix::kErrorSuccess)
        return {};
    if (got > size)
        got = size;
    std::string text(data.data(), got);
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return text;
}

} // namespace

void CTextConverterList::Build(kestrix::Registry& registry, CConverterLoader& loader,
                               const std::function<bool(const std::string&)>& fileExists) {
    for (const CConverterRegistryKey& where : kConverterRegistryKeys) {
        kestrix::ScopedRegKey importKey(registry);
        if (registry.OpenKey(where.root, where.path, kestrix::RegAccess::Read,
                             importKey.Receive()) != kestrix::kErrorSuccess)
            continue;
        for (std::uint32_t index = 0;; ++index) {
            char subkeyName[kMaxSubkeyName] = {};
            std::uint32_t nameSize = kMaxSubkeyName;
            if (registry.EnumKey(importKey.get(), index, subkeyName, &nameSize) !=
                kestrix::kErrorSuccess)
                break;
            kestrix::ScopedRegKey entry(registry);
            if (registry.OpenKey(importKey.get(), subkeyName, kestrix::RegAccess::Read,
                                 entry.Receive()) != kestrix::kErrorSuccess)
                continue;
            const std::string name = ReadString(registry, entry.get(), "Name");
            const std::string extensions = ReadString(registry, entry.get(), "Extensions");
            const std::string path = ReadString(registry, entry.get(), "Path");
            if (name.empty() || extensions.empty() || path.empty() || !fileExists(path))
                continue;
            converters_.push_back(std::make_unique<CTextConverter>(loader, path, name, extensions));
        }
    }
}

bool CTextConverterList::ConvertFile(const std::string& path, const std::string& name,
                                     std::string& rtf, bool& applied) {
    const std::string extension = FileExtension(name);
    for (const auto& converter : converters_) {
        if (!converter->MatchesExtension(extension) || !converter->Load())
            continue;
        applied = true;
        converter->Initialise(false);
        rtf.clear();
        const bool produced =
            converter->IsFormatCorrect(path) && converter->ConvertToRtf(path, rtf);
        converter->Finish();
        if (produced)
            return true;
    }
    rtf.clear();
    return false;
}

bool CTextConverterList::AnyMatches(const std::string& name) const {
    const std::string extension = FileExtension(name);
    for (const auto& converter : converters_) {
        if (converter->MatchesExtension(extension))
            return true;
    }
    return false;
}

#ifndef _WIN32
void BuildSystemConverterList(CTextConverterList&, CConverterLoader&, kestrix::FileSystem&) {}
#endif

} // namespace sorbex
