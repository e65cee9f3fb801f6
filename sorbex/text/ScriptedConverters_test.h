// Converter libraries for tests: each answers as its script says and counts what is
// asked of it.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "text/TextConverterList.h"

namespace sorbex {

// What one library answers, and how often it was loaded, run and unloaded.
struct ConverterScript {
    bool formatCorrect = true;
    std::string rtf; // empty: the converter produces nothing
    int loads = 0;
    int converts = 0;
    int finishes = 0;
};

class ScriptedModule : public CConverterModule {
public:
    explicit ScriptedModule(ConverterScript& script) : script_(script) {}
    ~ScriptedModule() override { ++script_.finishes; }
    void Initialise(bool) override {}
    bool IsFormatCorrect(const std::string&) override { return script_.formatCorrect; }
    bool ConvertToRtf(const std::string&, std::string& rtf) override {
        ++script_.converts;
        rtf += script_.rtf;
        return !rtf.empty();
    }
    void Uninitialise() override {}

private:
    ConverterScript& script_;
};

class ScriptedLoader : public CConverterLoader {
public:
    std::map<std::string, ConverterScript> libraries; // a library not here cannot be loaded
    std::unique_ptr<CConverterModule> Load(const std::string& path) override {
        auto it = libraries.find(path);
        if (it == libraries.end())
            return nullptr;
        ++it->second.loads;
        return std::make_unique<ScriptedModule>(it->second);
    }
    // Appends a converter for `extensions` whose library is `library` to `list`.
    ConverterScript& Add(CTextConverterList& list, const std::string& library,
                         const char* extensions) {
        list.Add(std::make_unique<CTextConverter>(*this, library, library, extensions));
        return libraries[library];
    }
};

} // namespace sorbex
