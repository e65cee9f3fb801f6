// One registered word-processor text converter: its registry entry, the extension
// match and display text, and the calls that turn one file into RTF.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace sorbex {

// A converter library while it is loaded. The Win32 implementation calls the
// library's entry points; tests substitute their own.
class CConverterModule {
public:
    virtual ~CConverterModule() = default;

    // Starts the converter for this program; `indexing` asks for the indexing mode.
    virtual void Initialise(bool indexing) = 0;
    // True only when the converter recognises the file as its format.
    virtual bool IsFormatCorrect(const std::string& path) = 0;
    // Appends the RTF the converter writes for the file to `rtf`; true when `rtf`
    // is not empty afterwards.
    virtual bool ConvertToRtf(const std::string& path, std::string& rtf) = 0;
    // Tells the converter it will not be used again before it is unloaded.
    virtual void Uninitialise() = 0;
};

// Why a converter was given up: it ran in a process of its own, and that process
// ended, stopped answering, or answered beyond the size limit.
enum class CConverterFailure {
    Crashed,  // the converter's process ended in the middle of a call
    Hung,     // no answer within the time limit
    TooLarge, // the answer was longer than the limit, or no answer at all
};

// Told of each converter given up: its library, the file it was reading (empty while
// the library was being loaded), and why. The file is then read as its bytes.
using CConverterFailureHandler = std::function<void(
    const std::string& library, const std::string& file, CConverterFailure failure)>;

// Loads converter libraries; the system's loader on Windows, none elsewhere.
class CConverterLoader {
public:
    virtual ~CConverterLoader() = default;
    // Null when the library cannot be loaded.
    virtual std::unique_ptr<CConverterModule> Load(const std::string& libraryPath) = 0;
    // Where failures go; loaders whose converters cannot fail this way never call it.
    virtual void SetFailureHandler(CConverterFailureHandler handler) {
        static_cast<void>(handler);
    }
};

// A loader for the platform the program runs on: on Windows the libraries run in the
// helper process beside the program (in this one when the helper is missing); on
// systems without converter libraries it never loads anything.
std::unique_ptr<CConverterLoader> MakeSystemConverterLoader();

// The text after the last "." of `name`; empty when there is none.
std::string FileExtension(const std::string& name);

class CTextConverter {
public:
    // `extensions` is kept upper-cased: blank-separated, without dots.
    CTextConverter(CConverterLoader& loader, std::string path, std::string name,
                   const std::string& extensions);
    ~CTextConverter();
    CTextConverter(const CTextConverter&) = delete;
    CTextConverter& operator=(const CTextConverter&) = delete;

    const std::string& path() const { return path_; }
    const std::string& name() const { return name_; }
    const std::string& extensions() const { return extensions_; }

    // "Name (*.doc;*.wpd)", or the name alone without extensions.
    std::string DisplayText() const;
    // True when `extension` (without the dot) is one of the converter's, ignoring
    // case; an empty extension never matches.
    bool MatchesExtension(const std::string& extension) const;

    // Unloads first, then loads the library.
    bool Load();
    bool IsLoaded() const { return module_ != nullptr; }
    void Initialise(bool indexing);
    bool IsFormatCorrect(const std::string& path);
    bool ConvertToRtf(const std::string& path, std::string& rtf);
    // Lets the converter finish and unloads it.
    void Finish();

private:
    CConverterLoader& loader_;
    std::string path_;
    std::string name_;
    std::string extensions_;
    std::unique_ptr<CConverterModule> module_;
};

} // namespace sorbex
