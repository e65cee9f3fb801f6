// Converters in a helper process: a converter that crashes, hangs or floods its answer
// ends only the helper, costs only its file, is reported, and the next file converts in
// a new helper. The helper here is a forked process over a socket pair.
#include "text/ConverterHelper.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <vector>

#include "platform/testing/TempTree.h"
#include "text/ForkedHelper_test.h"

namespace sorbex {
namespace {

using forked::ForkedHelperLink;

struct Failure {
    std::string library;
    std::string file;
    CHelperFailure kind;
};

class ConverterHelperTest : public ::testing::Test {
protected:
    ConverterHelperTest() : loader(link, Limits()) { loader.SetFailureHandler(Recorder()); }
    CConverterFailureHandler Recorder() {
        return [this](const std::string& library, const std::string& file, CHelperFailure kind) {
            failures.push_back({library, file, kind});
        };
    }
    static CHelperLimits Limits() {
        CHelperLimits limits;
        limits.callMs = 5000;
        limits.convertMs = 500; // what the hanging converter costs the test
        limits.maxRtf = std::size_t(1) << 20;
        return limits;
    }
    // The RTF that `library` makes of `file` as the file loader asks for it.
    std::string Convert(const std::string& library, const std::string& file) {
        return Convert(loader, library, file);
    }
    static std::string Convert(CHelperConverterLoader& loader, const std::string& library,
                               const std::string& file) {
        std::unique_ptr<CConverterModule> module = loader.Load(library);
        if (!module)
            return "(not loaded)";
        module->Initialise(false);
        std::string rtf;
        if (!module->IsFormatCorrect(file))
            rtf = "(not its format)";
        else if (!module->ConvertToRtf(file, rtf))
            rtf = "(nothing)";
        module->Uninitialise();
        return rtf;
    }

    ForkedHelperLink link;
    CHelperConverterLoader loader;
    std::vector<Failure> failures;
};

TEST_F(ConverterHelperTest, AMisbehavingConverterCostsOnlyItsFile) {
    struct Case {
        const char* library;
        const char* file;
        const char* rtf;
        int failures; // 0, or 1 with `kind`
        CHelperFailure kind;
        int starts; // helpers started so far
    };
    const Case cases[] = {
        {"good", "a.doc", "{\\rtf1 good read a.doc}", 0, CHelperFailure::Crashed, 1},
        {"good", "other.doc", "(not its format)", 0, CHelperFailure::Crashed, 1},
        {"missing", "a.doc", "(not loaded)", 0, CHelperFailure::Crashed, 1},
        {"crash", "b.doc", "(nothing)", 1, CHelperFailure::Crashed, 1},
        {"good", "c.doc", "{\\rtf1 good read c.doc}", 0, CHelperFailure::Crashed, 2},
        {"hang", "d.doc", "(nothing)", 1, CHelperFailure::Hung, 2},
        {"good", "e.doc", "{\\rtf1 good read e.doc}", 0, CHelperFailure::Crashed, 3},
        {"flood", "f.doc", "(nothing)", 1, CHelperFailure::TooLarge, 3},
        {"good", "g.doc", "{\\rtf1 good read g.doc}", 0, CHelperFailure::Crashed, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.library) + " " + c.file);
        failures.clear();
        EXPECT_EQ(c.rtf, Convert(c.library, c.file));
        EXPECT_EQ(c.starts, link.starts);
        ASSERT_EQ(static_cast<std::size_t>(c.failures), failures.size());
        if (c.failures) {
            EXPECT_EQ(c.library, failures[0].library);
            EXPECT_EQ(c.file, failures[0].file);
            EXPECT_EQ(c.kind, failures[0].kind);
        }
    }
}

TEST_F(ConverterHelperTest, AModuleOfAStoppedHelperDoesNotReachTheNextOne) {
    std::unique_ptr<CConverterModule> stale = loader.Load("good");
    ASSERT_TRUE(stale);
    EXPECT_EQ("(nothing)", Convert("crash", "x.doc"));
    std::unique_ptr<CConverterModule> fresh = loader.Load("good");
    ASSERT_TRUE(fresh);
    std::string rtf;
    EXPECT_FALSE(stale->IsFormatCorrect("y.doc"));
    EXPECT_FALSE(stale->ConvertToRtf("y.doc", rtf));
    stale.reset(); // its Unload must not unload the fresh helper's library
    EXPECT_TRUE(fresh->ConvertToRtf("y.doc", rtf));
    EXPECT_EQ("{\\rtf1 good read y.doc}", rtf);
    EXPECT_EQ(2, link.starts);
    EXPECT_EQ(1u, failures.size());
}

TEST_F(ConverterHelperTest, AFailureIsRememberedForItsFileUntilTheFileChanges) {
    kestrix::TempTree tree;
    tree.Write("crash.doc", "first");
    const std::string file = tree.Path("crash.doc");
    const std::unique_ptr<kestrix::FileSystem> files = kestrix::MakeSystemFileSystem();
    CHelperConverterLoader remembering(link, Limits(), files.get());
    remembering.SetFailureHandler(Recorder());

    struct Step {
        const char* what;
        const char* library;
        const char* rtf;
        int failures; // so far
    };
    const Step steps[] = {
        {"the first try fails", "good", "(nothing)", 1},
        {"the same library is not run on it again", "good", "(not its format)", 1},
        {"and again not", "good", "(not its format)", 1},
        {"another library is tried", "second", "(nothing)", 2},
        {"and then remembered too", "second", "(not its format)", 2},
        {"a library that fails while loading", "crash at load", "(not loaded)", 3},
        {"is not loaded again", "crash at load", "(not loaded)", 3},
        {"a changed file is tried anew", "good", "(nothing)", 4},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (std::string(step.what).find("changed") != std::string::npos)
            tree.Write("crash.doc", "second, longer");
        EXPECT_EQ(step.rtf, Convert(remembering, step.library, file));
        EXPECT_EQ(static_cast<std::size_t>(step.failures), failures.size());
    }
    // Loading failed with no file at hand; the helper was not started for it again.
    EXPECT_EQ("", failures[2].file);
}

TEST_F(ConverterHelperTest, WithoutFileTimesAFailureIsRememberedForTheLoadersLife) {
    EXPECT_EQ("(nothing)", Convert("good", "crash.doc"));
    EXPECT_EQ("(not its format)", Convert("good", "crash.doc"));
    EXPECT_EQ("{\\rtf1 good read a.doc}", Convert("good", "a.doc"));
    EXPECT_EQ(1u, failures.size());
}

// An in-memory stream for the frame reader alone.
class BytesStream : public CFrameStream {
public:
    explicit BytesStream(std::string bytes) : bytes_(std::move(bytes)) {}
    bool Write(const std::string&) override { return false; }
    CLinkStatus Read(char* into, std::size_t size, std::uint32_t) override {
        if (bytes_.size() - at_ < size)
            return CLinkStatus::Ended;
        bytes_.copy(into, size, at_);
        at_ += size;
        return CLinkStatus::Ok;
    }

private:
    std::string bytes_;
    std::size_t at_ = 0;
};

TEST(ConverterProtocolTest, FramesReadBackAndStrangeOnesAreRefused) {
    struct Case {
        const char* name;
        std::string bytes;
        CLinkStatus status;
        CHelperKind kind;
        const char* payload;
    };
    const Case cases[] = {
        {"request", EncodeHelperFrame(CHelperKind::ConvertToRtf, "C:\\a.doc"), CLinkStatus::Ok,
         CHelperKind::ConvertToRtf, "C:\\a.doc"},
        {"empty answer", EncodeHelperFrame(CHelperKind::Yes, ""), CLinkStatus::Ok,
         CHelperKind::Yes, ""},
        {"at the limit", EncodeHelperFrame(CHelperKind::Yes, std::string(16, 'r')),
         CLinkStatus::Ok, CHelperKind::Yes, "rrrrrrrrrrrrrrrr"},
        {"past the limit", EncodeHelperFrame(CHelperKind::Yes, std::string(17, 'r')),
         CLinkStatus::Garbage, CHelperKind::No, ""},
        {"unknown kind", std::string("\x07\0\0\0\0\0\0\0", 8), CLinkStatus::Garbage,
         CHelperKind::No, ""},
        {"cut header", std::string("\x64\0\0", 3), CLinkStatus::Ended, CHelperKind::No, ""},
        {"cut payload", EncodeHelperFrame(CHelperKind::Yes, "abc").substr(0, 10),
         CLinkStatus::Ended, CHelperKind::Yes, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BytesStream stream(c.bytes);
        CHelperFrame frame;
        ASSERT_EQ(c.status, ReadHelperFrame(stream, 16, 0, frame));
        if (c.status == CLinkStatus::Ok) {
            EXPECT_EQ(c.kind, frame.kind);
            EXPECT_EQ(c.payload, frame.payload);
        }
    }
}

} // namespace
} // namespace sorbex
#endif
