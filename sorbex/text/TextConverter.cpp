// One registered word-processor text converter: its registry entry, the extension
// match and display text, and the calls that turn one file into RTF.
#include "text/TextConverter.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <utility>

namespace sorbex {
namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

void AppendConverterOutput(std::string& output, const char* data, std::size_t size) {
    constexpr std::size_t kFirstRoom = 16 * 1024;
    const std::size_t needed = output.size() + size;
    if (needed > output.capacity())
        output.reserve(std::max({needed, output.capacity() + output.capacity() / 2, kFirstRoom}));
    output.append(data, size);
}

std::string FileExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

CTextConverter::CTextConverter(CConverterLoader& loader, std::string path, std::string name,
                               const std::string& extensions)
    : loader_(loader), path_(std::move(path)), name_(std::move(name)),
      extensions_(Upper(extensions)) {}

CTextConverter::~CTextConverter() {
    module_.reset();
}

std::string CTextConverter::DisplayText() const {
    if (extensions_.empty())
        return name_;
    std::string patterns;
    for (char c : Lower(extensions_)) {
        if (c == ' ')
            patterns += ";*.";
        else
            patterns += c;
    }
    return name_ + " (*." + patterns + ")";
}

bool CTextConverter::MatchesExtension(const std::string& extension) const {
    if (extension.empty())
        return false;
    const std::string wanted = Upper(extension);
    std::size_t start = 0;
    while (start <= extensions_.size()) {
        std::size_t end = extensions_.find(' ', start);
        if (end == std::string::npos)
            end = extensions_.size();
        if (extensions_.compare(start, end - start, wanted) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

bool CTextConverter::Load() {
    module_.reset();
    module_ = loader_.Load(path_);
    return module_ != nullptr;
}

void CTextConverter::Initialise(bool indexing) {
    if (module_)
        module_->Initialise(indexing);
}

bool CTextConverter::IsFormatCorrect(const std::string& path) {
    return module_ && module_->IsFormatCorrect(path);
}

bool CTextConverter::ConvertToRtf(const std::string& path, std::string& rtf) {
    if (!module_)
        return false;
    try {
        module_->ConvertToRtf(path, rtf);
    } catch (const std::exception&) {
        // Whatever arrived before the failure still counts, as it would on disk.
    }
    return !rtf.empty();
}

void CTextConverter::Finish() {
    if (module_)
        module_->Uninitialise();
    module_.reset();
}

#ifndef _WIN32
namespace {

// Only Windows has converter libraries.
class CNoConverterLoader : public CConverterLoader {
public:
    std::unique_ptr<CConverterModule> Load(const std::string&) override { return nullptr; }
};

} // namespace

std::unique_ptr<CConverterLoader> MakeSystemConverterLoader() {
    return std::make_unique<CNoConverterLoader>();
}
#endif

} // namespace sorbex
