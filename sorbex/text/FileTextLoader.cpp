// Loading the text of one file for the search run: from the document cache, a
// word-processor converter or the raw bytes, through the internal readers and
// CleanText.
#include "text/FileTextLoader.h"

#include <cctype>
#include <climits>
#include <new>

#include "text/CleanText.h"
#include "text/HtmlToText.h"
#include "text/RtfToText.h"
#include "text/TextOrigin.h"

namespace sorbex {
namespace {

// Buffers of this size are reserved at once for the files to come.
constexpr std::size_t kKeptBufferBytes = 16u << 20;
// A buffer above this size is given back after its file; up to it, the next file reuses
// the memory already touched.
constexpr std::size_t kGivenBackBytes = 64u << 20;

bool EndsWithIgnoringCase(const std::string& name, const char* suffix, std::size_t suffixLength) {
    if (name.size() < suffixLength)
        return false;
    const std::size_t start = name.size() - suffixLength;
    for (std::size_t i = 0; i < suffixLength; ++i) {
        if (std::tolower(static_cast<unsigned char>(name[start + i])) != suffix[i])
            return false;
    }
    return true;
}

} // namespace

bool IsHtmlName(const std::string& name) {
    return (name.size() > 3 && EndsWithIgnoringCase(name, ".htm", 4)) ||
           (name.size() > 4 && EndsWithIgnoringCase(name, ".html", 5));
}

bool IsRtfName(const std::string& name) {
    return name.size() > 3 && EndsWithIgnoringCase(name, ".rtf", 4);
}

CTextLoadResult CFileTextLoader::LoadFileText(const std::string& dir, const std::string& name,
                                              const CTextLoadOptions& options,
                                              CTextSink* searcher) {
    CTextLoadResult result;
    bool html = IsHtmlName(name);
    bool rtf = IsRtfName(name);
    if (!searcher)
        return result;
    searcher->ProcessMessages();
    if (searcher->CancelRequested()) {
        result.outcome = CTextLoadOutcome::Cancelled;
        return result;
    }

    // Kept from file to file: the paths of a search rarely outgrow the first ones.
    path_.assign(dir).append(name);
    const std::string& path = path_;
    if (!text_ || text_.use_count() > 1)
        text_ = std::make_shared<std::string>();
    std::string& text = *text_;
    bool useInternalFilter = options.useInternalFilter;
    bool converted = false;
    bool external = false;
    bool converterApplied = false;
    outside_.clear();
    kestrix::FileStatus status;
    bool statusLooked = false;
    // Bytes at the start of the text that are final: cleaned along with the look at
    // their encoding.
    std::size_t cleaned = 0;
    try {
        bool haveText = false;
        if (UsesConverters(name, options)) {
            bool tryConverters = true;
            bool negative = false;
            if (cache_ && cache_->Lookup(dir, name, negative)) {
                // The cached text is final: no reader runs over it again.
                if (negative) {
                    tryConverters = false;
                } else if (cache_->Read(text)) {
                    haveText = true;
                    tryConverters = false;
                    useInternalFilter = false;
                    converted = external = true;
                }
                // A damaged entry is converted anew, and the new text replaces it.
            }
            if (tryConverters) {
                if (converters_->ConvertFile(path, name, text, converterApplied)) {
                    haveText = true;
                    html = false;
                    rtf = true;
                    useInternalFilter = true;
                    external = true;
                } else if (converterApplied && fileSystem_.OpenExclusively(path)) {
                    // A converter may have failed only because someone else holds
                    // the file: that is no reason to never try again.
                    converterApplied = false;
                }
            }
        }
        if (!haveText) {
            // Passage offsets are 32-bit throughout results and the result file: a
            // longer file is not read at all.
            constexpr auto kLongest = static_cast<std::uint64_t>(INT_MAX);
            if (options.sizeKnown && options.size > kLongest) {
                result.outcome = CTextLoadOutcome::TooLarge;
                return result;
            }
            // The kept size is reserved at once: the memory is only touched as far as
            // the files need it, and it never has to move while they grow one by one.
            if (text.capacity() < kKeptBufferBytes) {
                // Decoding a file swaps the two buffers: the kept one may be the other.
                if (scratch_.capacity() >= kKeptBufferBytes)
                    text.swap(scratch_);
                text.clear();
                fileSystem_.ReserveReadBuffer(text, kKeptBufferBytes);
            }
            if (options.sizeKnown) {
                result.error = fileSystem_.ReadFile(path, text);
            } else {
                // The read looks the file up as it opens it: its size decides whether it
                // is read, and its size and time go with its results.
                kestrix::FileSystem::ReadWithin within;
                within.limit = kLongest;
                result.error = fileSystem_.ReadFileWithin(path, text, within);
                if (within.statusKnown) {
                    status = within.status;
                    statusLooked = true;
                }
                if (!result.error && within.tooLarge) {
                    result.outcome = CTextLoadOutcome::TooLarge;
                    return result;
                }
            }
            if (result.error)
                return result;
            // The search runs on one byte per character: UTF-8 and UTF-16 files are
            // decoded into the code page, so that one expression finds a word with an
            // umlaut whichever way the file spells it.
            // Where nothing reads the raw bytes after that look (no reader, no charset
            // declaration, no forced encoding), the ASCII start is cleaned in the same
            // pass: ASCII decodes to itself, and a byte-order mark is no ASCII.
            const bool readerFollows = useInternalFilter && (html || rtf);
            if (options.encoding == CEncodingChoice::Auto && !html && !readerFollows)
                cleaned = CleanAsciiStart(&text[0], text.size());
            DecodeFileBytes(text, options.encoding, html, &outside_, cleaned);
        }
        if (useInternalFilter && (html || rtf)) {
            scratch_ = html ? HtmlToText(text) : RtfToText(text);
            text.swap(scratch_);
            cleaned = 0;
            converted = true;
            // The reader moved the characters: their places are no longer known.
            outside_.clear();
        }
        // A converter's or reader's text may outgrow its file.
        if (text.size() > static_cast<std::size_t>(INT_MAX)) {
            text.clear();
            result.outcome = CTextLoadOutcome::TooLarge;
            return result;
        }
    } catch (const std::bad_alloc&) {
        text.clear();
        result.error.function = "LoadFileText";
        result.error.path = path;
        result.error.code = kestrix::NativeCodeFor(kestrix::FileFailure::Other);
        return result;
    }

    // std::string keeps the zero byte after the text that the searcher relies on.
    // Decoding keeps the ASCII start where it was and never lengthens the text.
    CleanText(&text[0] + cleaned, text.size() - cleaned);
    if (cache_ && converterApplied) {
        try {
            cache_->Store(dir, name, text.data(), external ? text.size() : 0);
        } catch (const std::bad_alloc&) {
            // Without the entry the next search converts again; nothing is lost.
        }
    }
    const int flags = (converted ? kTextConverted : 0) | (external ? kTextExternal : 0);
    searcher->SetOutsideCharacters(outside_);
    if (statusLooked)
        searcher->SetFileStatus(status);
    searcher->SearchText(text_, flags);
    result.outcome = CTextLoadOutcome::Handed;
    // A huge file's buffer is not kept for the rest of the run.
    if (text.capacity() > kGivenBackBytes || text_.use_count() > 1) {
        text_.reset();
        std::string().swap(scratch_);
    }
    return result;
}

} // namespace sorbex
