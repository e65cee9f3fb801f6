// Loading the text of one file for the search run.
#include "text/FileTextLoader.h"

#include <climits>
#include <new>

#include "text/CleanText.h"

namespace sorbex {

CTextLoadResult CFileTextLoader::LoadFileText(const std::string& dir, const std::string& name,
                                              const CTextLoadOptions& options,
                                              CTextSink* searcher) {
    CTextLoadResult result;
    if (!searcher)
        return result;
    searcher->ProcessMessages();
    if (searcher->CancelRequested()) {
        result.outcome = CTextLoadOutcome::Cancelled;
        return result;
    }

    const std::string path = dir + name;
    std::string text;
    int originFlags = 0;
    try {
        bool supplied = false;
        for (CTextSource* source : sources_) {
            originFlags = 0;
            if (source->LoadText(path, options, text, originFlags)) {
                supplied = true;
                break;
            }
        }
        if (!supplied) {
            originFlags = 0;
            result.error = fileSystem_.ReadFile(path, text);
            if (result.error)
                return result;
        }
        // Passage offsets are 32-bit throughout results and the result file.
        if (text.size() > static_cast<std::size_t>(INT_MAX))
            throw std::bad_alloc();
    } catch (const std::bad_alloc&) {
        result.error.function = "LoadFileText";
        result.error.path = path;
        result.error.code = kestrix::NativeCodeFor(kestrix::FileFailure::Other);
        return result;
    }

    // std::string keeps the zero byte after the text that the searcher relies on.
    CleanText(&text[0], text.size());
    searcher->SearchText(text.c_str(), text.size(), originFlags);
    result.outcome = CTextLoadOutcome::Handed;
    return result;
}

} // namespace sorbex
