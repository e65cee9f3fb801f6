// The texts of one file as the viewer prepares them: the bytes or converter RTF it
// shows, the plain text the passages were found in, and the rules that turn one into
// the other.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "text/TextConverterList.h"
#include "text/TextEncoding.h"

namespace sorbex {

// The user's options that decide how a file is read for the viewer.
struct CViewerOptions {
    bool useInternalFilter = true; // "Options"/"UseInternalFilter"
    bool useExternalFilter = true; // "Options"/"UseExternalFilter"
    bool gifAsPicture = false;     // "Options"/"Gif"
    // How a file's bytes are read as characters, as the search read them.
    CEncodingChoice encoding = CEncodingChoice::Auto;
};

// True for names the viewer shows as pictures: "*.bmp", "*.wmf", "*.emf", "*.jpg", and
// "*.gif" when `gifAsPicture`; case is ignored.
bool IsPictureName(const std::string& name, bool gifAsPicture);

// Every line break (CR, LF, CR LF or LF CR) as CR LF. A text that holds no other
// break than CR LF is returned as it is.
std::string NormaliseLineEnds(std::string_view text);

// The result's text as the viewer rebuilds it.
struct CViewerTexts {
    // The file's bytes or a converter's RTF.
    std::string raw;
    // What the internal HTML or RTF reader made of `raw`, when one ran.
    std::optional<std::string> plain;
    // `raw` is RTF: a file named "*.rtf" or a converter's output.
    bool rtf = false;
    // The file's characters that the code page lacks, in order: one for every substitute
    // byte of `raw` when `raw` is the decoded file and shown as text, else none.
    std::u32string outside;

    // The control reads `raw` as an RTF document and shows it formatted.
    bool Formatted() const { return rtf && plain.has_value(); }
    // What the viewer shows: RTF as the document, HTML as its extracted text, every
    // other file as its bytes.
    const std::string& Shown() const { return plain && !rtf ? *plain : raw; }
    // The text the passage offsets count in.
    const std::string& Searched() const { return plain ? *plain : raw; }
};

// Makes raw bytes fit to be shown as text: every byte below 32 but TAB, LF and CR
// becomes a blank; an RTF file's second byte becomes "/", so that the control shows
// the document's source instead of reading it as RTF.
void CleanForDisplay(std::string& raw, bool rtf);

// What the result's flags and place tell about how its text was searched.
struct CViewerSource {
    int flags = 0;           // the result's flags: converted and external
    bool hasPassage = false; // the result is a passage, not a listed file
};

// Loads `dir` + `name` as the viewer needs it: through the converters when the search
// used one (or, for a listed file, when the external filter is on), else the file's
// bytes; then the internal reader under the same rule, or the clean-up for display.
// `converters` may be null. On failure `texts` is left as it was.
kestrix::OsError LoadViewerTexts(kestrix::FileSystem& fileSystem, CTextConverterList* converters,
                                 const std::string& dir, const std::string& name,
                                 const CViewerSource& source, const CViewerOptions& options,
                                 CViewerTexts& texts);

// The text handed to the control: the shown text with its line ends made CR LF, except
// for an RTF document, whose line breaks mean nothing to the control and whose binary
// data ("\bin") must reach it byte for byte.
std::string ControlContent(const CViewerTexts& texts);

} // namespace sorbex
