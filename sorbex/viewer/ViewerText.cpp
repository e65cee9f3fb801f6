// The texts of one file as the viewer prepares them: the bytes or converter RTF it
// shows, the plain text the passages were found in, and the rules that turn one into
// the other.
#include "viewer/ViewerText.h"

#include <new>

#include "search/MatchMask.h"
#include "text/FileTextLoader.h"
#include "text/HtmlToText.h"
#include "text/RtfToText.h"
#include "text/TextOrigin.h"

namespace sorbex {

bool IsPictureName(const std::string& name, bool gifAsPicture) {
    for (const char* mask : {"*.bmp", "*.wmf", "*.emf", "*.jpg"}) {
        if (MatchMask(name, mask))
            return true;
    }
    return gifAsPicture && MatchMask(name, "*.gif");
}

std::string NormaliseLineEnds(std::string_view text) {
    // The length is known before anything is copied, so the copy is one allocation;
    // and a text whose breaks are CR LF already (most files written on Windows) is
    // copied as it is.
    std::size_t length = text.size();
    bool changes = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        const char pair = c == '\r' ? '\n' : '\r';
        if (i + 1 < text.size() && text[i + 1] == pair) {
            changes = changes || c == '\n';
            ++i;
        } else {
            ++length;
            changes = true;
        }
    }
    if (!changes)
        return std::string(text);
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            out.push_back(c);
            continue;
        }
        const char pair = c == '\r' ? '\n' : '\r';
        if (i + 1 < text.size() && text[i + 1] == pair)
            ++i;
        out.append("\r\n");
    }
    return out;
}

void CleanForDisplay(std::string& raw, bool rtf) {
    for (char& c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 && c != '\t' && c != '\n' && c != '\r')
            c = ' ';
    }
    if (rtf && raw.size() > 1)
        raw[1] = '/';
}

kestrix::OsError LoadViewerTexts(kestrix::FileSystem& fileSystem, CTextConverterList* converters,
                                 const std::string& dir, const std::string& name,
                                 const CViewerSource& source, const CViewerOptions& options,
                                 CViewerTexts& texts) {
    const std::string path = dir + name;
    bool html = IsHtmlName(name);
    bool rtf = IsRtfName(name);
    bool converted = (source.flags & kTextConverted) != 0;
    const bool external = (source.flags & kTextExternal) != 0;
    CViewerTexts loaded;
    try {
        // The search decided through the flags; a listed file has none to tell, so the
        // options say what a search would have done. The document cache is for
        // searches: the viewer runs the converter itself.
        bool haveRaw = false;
        if (converters && (external || (!source.hasPassage && options.useExternalFilter))) {
            bool applied = false;
            if (converters->ConvertFile(path, name, loaded.raw, applied)) {
                haveRaw = true;
                html = false;
                rtf = true;
                converted = true;
            }
        }
        if (!haveRaw) {
            if (kestrix::OsError error = fileSystem.ReadFile(path, loaded.raw))
                return error;
            // Decoded as the search decoded it, so that its offsets fit.
            std::vector<COutsideCharacter> outside;
            DecodeFileBytes(loaded.raw, options.encoding, html, &outside);
            for (const COutsideCharacter& entry : outside)
                loaded.outside.push_back(entry.character);
        }
        const bool readerRuns = converted || (!source.hasPassage && options.useInternalFilter);
        if (readerRuns && html)
            loaded.plain = HtmlToText(loaded.raw);
        else if (readerRuns && rtf)
            loaded.plain = RtfToText(loaded.raw);
        loaded.rtf = rtf;
        if (!loaded.plain)
            CleanForDisplay(loaded.raw, rtf);
        else
            loaded.outside.clear(); // the reader's text has other substitutes, if any
    } catch (const std::bad_alloc&) {
        return kestrix::MakeOsError("LoadViewerTexts", path,
                                    kestrix::NativeCodeFor(kestrix::FileFailure::Other));
    }
    texts = std::move(loaded);
    return {};
}

std::string ControlContent(const CViewerTexts& texts) {
    if (texts.Formatted())
        return texts.raw;
    return NormaliseLineEnds(texts.Shown());
}

} // namespace sorbex
