// Tests of loading a file's text: the plain path, skipped files, cancellation, sources.
#include "text/FileTextLoader.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"
#include "text/CleanText.h"
#include "text/ScriptedConverters_test.h"
#include "text/TextConverterList.h"
#include "text/TextOrigin.h"

#ifndef _WIN32
#include "platform/posix/PosixFileSystem.h"
#endif

namespace sorbex {
namespace {

using kestrix::FileFailure;

class RecordingSink : public CTextSink {
public:
    struct Call {
        std::string text;
        bool zeroAfter;
        int flags;
    };
    std::vector<Call> calls;
    int pumps = 0;
    bool cancelAfterPump = false;
    bool cancelled = false;

    void ProcessMessages() override {
        ++pumps;
        if (cancelAfterPump)
            cancelled = true;
    }
    bool CancelRequested() const override { return cancelled; }
    void SearchText(const std::shared_ptr<const std::string>& text, int originFlags) override {
        calls.push_back({*text, text->c_str()[text->size()] == '\0', originFlags});
        if (keepTexts)
            kept.push_back(text);
    }
    void SetOutsideCharacters(const std::vector<COutsideCharacter>& outside) override {
        lastOutside = outside;
    }
    void SetFileStatus(const kestrix::FileStatus& status) override { lastStatus = status; }
    // What a sink holds on to stays as it was, whatever the loader reads next.
    std::vector<std::shared_ptr<const std::string>> kept;
    bool keepTexts = true;
    std::vector<COutsideCharacter> lastOutside;
    kestrix::FileStatus lastStatus;
};

// A cache whose entries stay valid until the test touches the file.
class FakeCache : public CTextCache {
public:
    struct Entry {
        std::string text;
        bool valid = true;
        bool damaged = false;
    };
    std::map<std::string, Entry> entries; // by directory + name
    int lookups = 0;
    int stores = 0;

    bool Lookup(const std::string& dir, const std::string& name, bool& negative) override {
        ++lookups;
        found_ = entries.find(dir + name);
        if (found_ == entries.end() || !found_->second.valid)
            return false;
        negative = found_->second.text.empty();
        return true;
    }
    bool Read(std::string& text) override {
        if (found_->second.damaged)
            return false;
        text = found_->second.text;
        return true;
    }
    bool Store(const std::string& dir, const std::string& name, const char* text,
               std::size_t length) override {
        ++stores;
        entries[dir + name] = Entry{std::string(text, length)};
        return true;
    }
    void Touch(const std::string& path) { entries[path].valid = false; }

private:
    std::map<std::string, Entry>::iterator found_;
};

class FileTextLoaderTest : public ::testing::Test {
protected:
    kestrix::TempTree tree;
    std::unique_ptr<kestrix::FileSystem> real = kestrix::MakeSystemFileSystem();
    kestrix::FaultyFileSystem fs{*real};
    CFileTextLoader loader{fs};
    RecordingSink sink;
};

TEST_F(FileTextLoaderTest, PlainFileIsCleanedAndHandedWithoutOriginFlags) {
    tree.Write("a.txt", std::string("one\ttwo\r\nthree\0four\rfive", 24));
    const CTextLoadResult result = loader.LoadFileText(tree.root(), "a.txt", {}, &sink);
    EXPECT_EQ(CTextLoadOutcome::Handed, result.outcome);
    ASSERT_EQ(1u, sink.calls.size());
    EXPECT_EQ("one two\n\nthree four\nfive", sink.calls[0].text);
    EXPECT_TRUE(sink.calls[0].zeroAfter);
    EXPECT_EQ(0, sink.calls[0].flags);
    EXPECT_EQ(1, sink.pumps);
}

TEST_F(FileTextLoaderTest, EmptyFileIsHandedWithLengthZero) {
    tree.Write("empty.txt", "");
    EXPECT_EQ(CTextLoadOutcome::Handed,
              loader.LoadFileText(tree.root(), "empty.txt", {}, &sink).outcome);
    ASSERT_EQ(1u, sink.calls.size());
    EXPECT_EQ("", sink.calls[0].text);
    EXPECT_TRUE(sink.calls[0].zeroAfter);
}

// The loader cleans a file's ASCII start in the pass that looks at its encoding. Whatever
// the bytes (control bytes before and after the first high one, a sequence across the
// vector loop's block edge, NUL bytes, text that is no UTF-8, byte-order marks, a
// character the code page lacks), the text and its outside characters are those of
// decoding the whole file first and cleaning it after.
TEST_F(FileTextLoaderTest, CleaningWithTheEncodingLookChangesNoText) {
    std::vector<std::string> files = {
        std::string("a\tb\r\n") + std::string(40, 'x') + "\rcaf\xC3\xA9\t\r\nend\x01",
        std::string(15, '\t') + "\xC3\xA9\r",
        std::string(16, '\r') + "\xC3\xA9\r",
        std::string(17, 'y') + "\xE2\x82\xAC\t",
        std::string("x\t\r\n\x1f") + std::string(30, 'z') + "\xC3(\t\r",
        std::string("\0\0a\0", 4) + std::string("\xE2\x82\xAC\0", 4),
        std::string("\xFF\xFE" "a\0\r\0\t\0\n\0", 10),
        std::string("\xEF\xBB\xBF\tone\r\ntwo"),
        std::string(33, '\t') + "\xE2\x80\x8B\t" + "\xF0\x9F\x98\x80",
        std::string(100, '\r'),
        std::string("\x80"),
    };
    // And byte strings drawn from the bytes that matter here.
    const char alphabet[] = {'a', '\t', '\r', '\n', '\0', '\x1f', '\xC3', '\xA9', '\xE2', '\x82', '\xAC'};
    unsigned seed = 12345;
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        seed = seed * 1103515245u + 12345u;
        const unsigned length = (seed >> 16) % 70;
        for (unsigned i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            // Mostly ASCII, as files are, so that the high bytes fall at every offset.
            const unsigned pick = (seed >> 16) % 40;
            bytes += alphabet[pick < sizeof alphabet ? pick : pick % 6];
        }
        files.push_back(bytes);
    }
    sink.keepTexts = false; // the loader reuses its buffer, as in a search
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "file " << i);
        tree.Write("f.txt", files[i]);
        sink.calls.clear();
        ASSERT_EQ(CTextLoadOutcome::Handed,
                  loader.LoadFileText(tree.root(), "f.txt", {}, &sink).outcome);
        std::string expected = files[i];
        std::vector<COutsideCharacter> outside;
        DecodeFileBytes(expected, CEncodingChoice::Auto, false, &outside);
        CleanText(&expected[0], expected.size());
        ASSERT_EQ(1u, sink.calls.size());
        ASSERT_EQ(expected, sink.calls[0].text);
        ASSERT_TRUE(sink.calls[0].zeroAfter);
        ASSERT_EQ(outside.size(), sink.lastOutside.size());
        for (std::size_t k = 0; k < outside.size(); ++k) {
            EXPECT_EQ(outside[k].offset, sink.lastOutside[k].offset);
            EXPECT_EQ(outside[k].character, sink.lastOutside[k].character);
        }
    }
}

// Files are read in pieces (on POSIX through a chunk of 128 KiB, on Windows up to 1 MiB
// at a time) into a buffer kept from file to file, and cleaned while their encoding is
// looked at. Whatever falls on a piece's edge (NULs, CRs, high bytes, a UTF-8 sequence
// cut in two), and whatever file came before, the text is that of decoding the whole
// file first and cleaning it after.
TEST_F(FileTextLoaderTest, BytesAtTheEdgesOfTheReadPiecesComeOutAsInTheWholeFile) {
    constexpr std::size_t kChunk = 128u << 10;
    constexpr std::size_t kPiece = 1u << 20;
    const std::string marks[] = {std::string(1, '\0'), "\r",   "\r\n",     "\xC3\xA9",
                                 "\xE2\x82\xAC",       "\xE9", "\xFF\x80", "\t\x1f"};
    struct File {
        std::string name;
        std::string bytes;
    };
    std::vector<File> files;
    for (const std::size_t edge : {kChunk, 2 * kChunk, kPiece}) {
        for (const std::string& mark : marks) {
            for (std::size_t back = 0; back <= mark.size(); ++back) {
                std::string bytes(edge - back, 'a');
                for (std::size_t i = 0; i < bytes.size(); i += 61)
                    bytes[i] = '\n';
                bytes += mark;
                bytes += "tail";
                files.push_back({std::to_string(edge) + " less " + std::to_string(back), bytes});
            }
        }
        files.push_back({"exactly " + std::to_string(edge), std::string(edge, 'b')});
        files.push_back({"one over " + std::to_string(edge), std::string(edge, 'b') + "\0"});
    }
    files.push_back({"empty", ""});
    // Longer than the buffer the loader keeps, with a character at each end.
    files.push_back({"longer than the kept buffer",
                     "\xC3\xA9" + std::string((16u << 20) + 3, '\r') + "\xE2\x82\xAC"});
    files.push_back({"small after the long one", std::string("x\0\xC3\xA9", 5)});

    // Whether a buffer is filled through the chunk depends on where the allocator puts
    // it: on POSIX both ways are taken.
    std::vector<CFileTextLoader*> loaders = {&loader};
#ifndef _WIN32
    kestrix::PosixFileSystem chunked;
    chunked.ReadThroughChunkAlways();
    CFileTextLoader chunkedLoader{chunked};
    loaders.push_back(&chunkedLoader);
#endif
    sink.keepTexts = false; // the loader reuses its buffer, as in a search
    for (std::size_t way = 0; way < loaders.size(); ++way)
        for (const File& file : files) {
            SCOPED_TRACE(file.name + (way ? ", through the chunk" : ""));
            tree.Write("f.txt", file.bytes);
            sink.calls.clear();
            ASSERT_EQ(CTextLoadOutcome::Handed,
                      loaders[way]->LoadFileText(tree.root(), "f.txt", {}, &sink).outcome);
            std::string expected = file.bytes;
            std::vector<COutsideCharacter> outside;
            DecodeFileBytes(expected, CEncodingChoice::Auto, false, &outside);
            CleanText(&expected[0], expected.size());
            ASSERT_EQ(1u, sink.calls.size());
            ASSERT_EQ(expected.size(), sink.calls[0].text.size());
            ASSERT_TRUE(expected == sink.calls[0].text);
            ASSERT_TRUE(sink.calls[0].zeroAfter);
            ASSERT_EQ(outside.size(), sink.lastOutside.size());
        }
}

// Where something reads the raw bytes after the encoding look, nothing is cleaned before
// it: an HTML page's charset after a TAB, and a forced encoding.
TEST_F(FileTextLoaderTest, RawBytesStayRawForWhatReadsThemLater) {
    // The TAB after "charset=" is no blank: the declaration names no charset, and the
    // page's UTF-8 is decoded.
    tree.Write("p.htm", "<meta charset=\twindows-1252>\t\xC3\xA9");
    ASSERT_EQ(CTextLoadOutcome::Handed, loader.LoadFileText(tree.root(), "p.htm", {}, &sink).outcome);
    ASSERT_EQ(1u, sink.calls.size());
    EXPECT_EQ("<meta charset= windows-1252> \xE9", sink.calls[0].text);

    tree.Write("w.txt", std::string("\t\0a\0", 4));
    CTextLoadOptions options;
    options.encoding = CEncodingChoice::Utf16Le;
    ASSERT_EQ(CTextLoadOutcome::Handed, loader.LoadFileText(tree.root(), "w.txt", options, &sink).outcome);
    ASSERT_EQ(2u, sink.calls.size());
    EXPECT_EQ(" a", sink.calls[1].text);
}

// The size and time handed with the text are the file's, looked up as it was read.
TEST_F(FileTextLoaderTest, TheFileStatusComesWithTheText) {
    tree.Write("s.txt", "12345");
    ASSERT_EQ(CTextLoadOutcome::Handed, loader.LoadFileText(tree.root(), "s.txt", {}, &sink).outcome);
    kestrix::FileStatus status;
    ASSERT_FALSE(real->GetFileStatus(tree.Path("s.txt"), status));
    EXPECT_EQ(5u, sink.lastStatus.size);
    EXPECT_EQ(status.lastWriteTime, sink.lastStatus.lastWriteTime);
}

TEST_F(FileTextLoaderTest, UnreadableFilesAreSkippedSilently) {
    tree.Write("locked.txt", "text");
    tree.Write("denied.txt", "text");
    fs.failRead[tree.Path("locked.txt")] = FileFailure::Locked;
    fs.failRead[tree.Path("denied.txt")] = FileFailure::AccessDenied;
    struct Case {
        const char* name;
        FileFailure failure;
    };
    const Case cases[] = {
        {"missing.txt", FileFailure::NotFound},
        {"locked.txt", FileFailure::Locked},
        {"denied.txt", FileFailure::AccessDenied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CTextLoadResult result = loader.LoadFileText(tree.root(), c.name, {}, &sink);
        EXPECT_EQ(CTextLoadOutcome::Skipped, result.outcome);
        EXPECT_EQ(c.failure, kestrix::ClassifyFailure(result.error));
        EXPECT_EQ(tree.Path(c.name), result.error.path);
    }
    EXPECT_TRUE(sink.calls.empty());
}

TEST_F(FileTextLoaderTest, CancelWhileWaitingStopsBeforeReading) {
    tree.Write("a.txt", "text");
    sink.cancelAfterPump = true;
    EXPECT_EQ(CTextLoadOutcome::Cancelled,
              loader.LoadFileText(tree.root(), "a.txt", {}, &sink).outcome);
    EXPECT_EQ(0, fs.readCalls);
    EXPECT_TRUE(sink.calls.empty());
}

TEST_F(FileTextLoaderTest, WithoutSearcherNothingIsRead) {
    tree.Write("a.txt", "text");
    EXPECT_EQ(CTextLoadOutcome::Skipped,
              loader.LoadFileText(tree.root(), "a.txt", {}, nullptr).outcome);
    EXPECT_EQ(0, fs.readCalls);
}

// The cache, the converters and the internal readers, as the two options steer them.
class FileTextLoaderFilterTest : public FileTextLoaderTest {
protected:
    FileTextLoaderFilterTest() {
        loader.SetCache(&cache);
        loader.SetConverters(&converters);
    }
    ConverterScript& AddConverter(const std::string& library, const char* extensions) {
        return libraries.Add(converters, library, extensions);
    }
    const RecordingSink::Call& Load(const std::string& name, bool internal, bool external) {
        CTextLoadOptions options;
        options.useInternalFilter = internal;
        options.useExternalFilter = external;
        loader.LoadFileText(tree.root(), name, options, &sink);
        EXPECT_FALSE(sink.calls.empty());
        static const RecordingSink::Call none{};
        return sink.calls.empty() ? none : sink.calls.back();
    }

    ScriptedLoader libraries;
    CTextConverterList converters;
    FakeCache cache;
};

TEST_F(FileTextLoaderFilterTest, InternalReadersAndTheirFlag) {
    tree.Write("page.HTM", "<p>one</p>");
    tree.Write("x.rtf", "{\\rtf1 two\\par}");
    tree.Write("notes.txt", "<p>three</p>");
    AddConverter("htm.cnv", "htm rtf txt").rtf = "{\\rtf1 never}";
    struct Case {
        const char* name;
        bool internal;
        const char* text;
        int flags;
    };
    const Case cases[] = {
        {"page.HTM", false, "<p>one</p>", 0},      {"x.rtf", false, "{\\rtf1 two\\par}", 0},
        {"page.HTM", true, "one", kTextConverted}, {"x.rtf", true, "two", kTextConverted},
        {"notes.txt", true, "<p>three</p>", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.internal ? " internal" : " raw"));
        const RecordingSink::Call& call = Load(c.name, c.internal, false);
        const std::size_t first = call.text.find_first_not_of("\n ");
        const std::size_t last = call.text.find_last_not_of("\n ");
        EXPECT_EQ(c.text,
                  first == std::string::npos ? "" : call.text.substr(first, last - first + 1));
        EXPECT_EQ(c.flags, call.flags);
    }
    EXPECT_EQ(0, libraries.libraries["htm.cnv"].loads);
    EXPECT_EQ(0, cache.lookups);
    EXPECT_EQ(0, cache.stores);
}

TEST_F(FileTextLoaderFilterTest, ConvertedOnceThenTakenFromTheCacheUntilTouched) {
    tree.Write("r.doc", "binary \x01 stuff");
    ConverterScript& script = AddConverter("doc.cnv", "doc wpd");
    script.rtf = "{\\rtf1 Hello\\tab world\\par}";
    const int both = kTextConverted | kTextExternal;

    EXPECT_EQ("Hello world\n", Load("r.doc", false, true).text);
    EXPECT_EQ(both, sink.calls.back().flags);
    EXPECT_EQ(1, script.converts);
    EXPECT_EQ(1, script.finishes);
    EXPECT_EQ(0, fs.readCalls) << "the raw file is not read when a converter gave the text";
    EXPECT_EQ("Hello world\n", cache.entries[tree.Path("r.doc")].text);

    // The cached text is final: even with the internal filter on it is not read as RTF.
    script.rtf = "{\\rtf1 Changed\\par}";
    EXPECT_EQ("Hello world\n", Load("r.doc", true, true).text);
    EXPECT_EQ(both, sink.calls.back().flags);
    EXPECT_EQ(1, script.loads);

    cache.Touch(tree.Path("r.doc"));
    EXPECT_EQ("Changed\n", Load("r.doc", false, true).text);
    EXPECT_EQ(2, script.loads);
    EXPECT_EQ(2, cache.stores);
}

TEST_F(FileTextLoaderFilterTest, ConvertersAreTriedInOrderUntilOneProducesText) {
    tree.Write("a.wpd", "raw");
    AddConverter("missing.cnv", "wpd");
    libraries.libraries.erase("missing.cnv");
    ConverterScript& other = AddConverter("other.cnv", "doc");
    ConverterScript& refuses = AddConverter("refuses.cnv", "wpd");
    refuses.formatCorrect = false;
    refuses.rtf = "{\\rtf1 refused}";
    ConverterScript& empty = AddConverter("empty.cnv", "WPD");
    ConverterScript& good = AddConverter("good.cnv", "txt wpd");
    good.rtf = "{\\rtf1 good}";
    ConverterScript& late = AddConverter("late.cnv", "wpd");
    late.rtf = "{\\rtf1 late}";

    EXPECT_EQ("good", Load("a.wpd", false, true).text);
    EXPECT_EQ(0, other.loads);
    EXPECT_EQ(0, refuses.converts);
    EXPECT_EQ(1, refuses.finishes);
    EXPECT_EQ(1, empty.converts);
    EXPECT_EQ(1, empty.finishes);
    EXPECT_EQ(1, good.finishes);
    EXPECT_EQ(0, late.loads);
}

TEST_F(FileTextLoaderFilterTest, NothingProducedLeavesANegativeEntryUnlessTheFileWasLocked) {
    tree.Write("empty.doc", "raw <b>bytes</b>");
    tree.Write("locked.doc", "raw locked");
    ConverterScript& script = AddConverter("doc.cnv", "doc");
    fs.failExclusive[tree.Path("locked.doc")] = kestrix::FileFailure::Locked;

    EXPECT_EQ("raw <b>bytes</b>", Load("empty.doc", true, true).text);
    EXPECT_EQ(0, sink.calls.back().flags);
    ASSERT_EQ(1u, cache.entries.count(tree.Path("empty.doc")));
    EXPECT_EQ("", cache.entries[tree.Path("empty.doc")].text);
    EXPECT_EQ("raw locked", Load("locked.doc", true, true).text);
    EXPECT_EQ(0u, cache.entries.count(tree.Path("locked.doc")));
    EXPECT_EQ(2, script.loads);

    // The negative entry spares the converter; the locked file is tried again.
    Load("empty.doc", true, true);
    Load("locked.doc", true, true);
    EXPECT_EQ(3, script.loads);
    EXPECT_EQ(1, cache.stores);
}

TEST_F(FileTextLoaderFilterTest, WithoutTheExternalFilterTheCacheIsNeitherReadNorWritten) {
    tree.Write("r.doc", "raw");
    AddConverter("doc.cnv", "doc").rtf = "{\\rtf1 converted}";
    cache.entries[tree.Path("r.doc")].text = "cached";

    EXPECT_EQ("raw", Load("r.doc", true, false).text);
    EXPECT_EQ(0, sink.calls.back().flags);
    EXPECT_EQ(0, cache.lookups);
    EXPECT_EQ(0, cache.stores);
    EXPECT_EQ(0, libraries.libraries["doc.cnv"].loads);
}


// With the external filter on, a file that no converter names is read as it is, and the
// cache is neither asked about it nor told of it: on a tree of such files a cache that
// answered per file cost a lookup (and, under Wine, several system calls) each.
TEST_F(FileTextLoaderFilterTest, AFileNoConverterNamesNeverReachesTheCache) {
    tree.Write("notes.txt", "plain");
    tree.Write("NOTES.DOCX", "plain too");
    tree.Write("noextension", "bare");
    tree.Write("doc", "named like the extension");
    struct Case {
        const char* name;
        const char* text;
        bool withConverter; // a converter for .doc is registered
    };
    const Case cases[] = {
        {"notes.txt", "plain", false},  {"notes.txt", "plain", true},
        {"NOTES.DOCX", "plain too", true}, {"noextension", "bare", true},
        {"doc", "named like the extension", true},
    };
    AddConverter("doc.cnv", "doc").rtf = "{\\rtf1 converted}";
    CTextConverterList none;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.withConverter ? " with a converter" : ""));
        loader.SetConverters(c.withConverter ? &converters : &none);
        cache.entries[tree.Path(c.name)].text = "cached";
        cache.lookups = cache.stores = 0;
        EXPECT_EQ(c.text, Load(c.name, true, true).text);
        EXPECT_EQ(0, sink.calls.back().flags);
        EXPECT_EQ(0, cache.lookups);
        EXPECT_EQ(0, cache.stores);
    }
    EXPECT_EQ(0, libraries.libraries["doc.cnv"].loads);
}

TEST_F(FileTextLoaderFilterTest, ADamagedCacheEntryIsConvertedAgainAndReplaced) {
    tree.Write("r.doc", "raw");
    AddConverter("doc.cnv", "doc").rtf = "{\\rtf1 fresh}";
    cache.entries[tree.Path("r.doc")] = FakeCache::Entry{"stale", true, true};

    EXPECT_EQ("fresh", Load("r.doc", false, true).text);
    EXPECT_EQ(kTextConverted | kTextExternal, sink.calls.back().flags);
    EXPECT_EQ("fresh", cache.entries[tree.Path("r.doc")].text);
    EXPECT_FALSE(cache.entries[tree.Path("r.doc")].damaged);
}

TEST(FileTextNamesTest, HtmlAndRtfNames) {
    struct Case {
        const char* name;
        bool html;
        bool rtf;
    };
    const Case cases[] = {
        {"page.HTM", true, false}, {"a.html", true, false}, {".htm", true, false},
        {"x.htmlx", false, false}, {".html", true, false},  {"X.Rtf", false, true},
        {".rtf", false, true},     {"rtf", false, false},   {"a.txt", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.html, IsHtmlName(c.name));
        EXPECT_EQ(c.rtf, IsRtfName(c.name));
    }
}
} // namespace
} // namespace sorbex
