// Converters in a helper process: a converter that crashes, hangs or floods its answer
// ends only the helper, costs only its file, is reported, and the next file converts in
// a new helper. The helper here is a forked process over a socket pair.
#include "text/ConverterHelper.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <chrono>
#include <cstdlib>
#include <vector>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sorbex {
namespace {

// Libraries that misbehave as their names say, each only when converting.
class MisbehavingModule : public CConverterModule {
public:
    explicit MisbehavingModule(std::string library) : library_(std::move(library)) {}
    void Initialise(bool) override {}
    bool IsFormatCorrect(const std::string& path) override {
        return path.find("other") == std::string::npos;
    }
    bool ConvertToRtf(const std::string& path, std::string& rtf) override {
        if (library_ == "crash")
            std::abort();
        if (library_ == "hang")
            for (;;)
                ::pause();
        if (library_ == "flood")
            rtf.assign(std::size_t(2) << 20, 'x');
        else
            rtf += "{\\rtf1 " + library_ + " read " + path + "}";
        return true;
    }
    void Uninitialise() override {}

private:
    std::string library_;
};

class MisbehavingLoader : public CConverterLoader {
public:
    std::unique_ptr<CConverterModule> Load(const std::string& library) override {
        if (library == "missing")
            return nullptr;
        return std::make_unique<MisbehavingModule>(library);
    }
};

// One end of a stream socket, with the deadline kept by poll().
class SocketStream : public CFrameStream {
public:
    void Reset(int fd) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    ~SocketStream() override { Reset(-1); }

    bool Write(const std::string& bytes) override {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }
    CLinkStatus Read(char* into, std::size_t size, std::uint32_t timeoutMs) override {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        std::size_t done = 0;
        while (done < size) {
            int wait = -1;
            if (timeoutMs != 0) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - Clock::now());
                if (left.count() <= 0)
                    return CLinkStatus::TimedOut;
                wait = static_cast<int>(left.count());
            }
            pollfd p{fd_, POLLIN, 0};
            const int ready = ::poll(&p, 1, wait);
            if (ready == 0)
                return CLinkStatus::TimedOut;
            const ssize_t n = ready < 0 ? -1 : ::recv(fd_, into + done, size - done, 0);
            if (n <= 0)
                return CLinkStatus::Ended;
            done += static_cast<std::size_t>(n);
        }
        return CLinkStatus::Ok;
    }

private:
    int fd_ = -1;
};

class ForkedHelperLink : public CHelperLink {
public:
    ~ForkedHelperLink() override { Stop(); }

    int starts = 0;

    bool Start() override {
        int fds[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0)
            return false;
        child_ = ::fork();
        if (child_ == 0) {
            ::close(fds[0]);
            SocketStream stream;
            stream.Reset(fds[1]);
            MisbehavingLoader loader;
            ServeConverterRequests(stream, loader);
            ::_exit(0);
        }
        ::close(fds[1]);
        if (child_ < 0) {
            ::close(fds[0]);
            return false;
        }
        ++starts;
        stream_.Reset(fds[0]);
        return true;
    }
    void Stop() override {
        stream_.Reset(-1);
        if (child_ > 0) {
            ::kill(child_, SIGKILL);
            ::waitpid(child_, nullptr, 0);
        }
        child_ = -1;
    }
    bool Write(const std::string& bytes) override { return stream_.Write(bytes); }
    CLinkStatus Read(char* into, std::size_t size, std::uint32_t timeoutMs) override {
        return stream_.Read(into, size, timeoutMs);
    }

private:
    SocketStream stream_;
    pid_t child_ = -1;
};

struct Failure {
    std::string library;
    std::string file;
    CHelperFailure kind;
};

class ConverterHelperTest : public ::testing::Test {
protected:
    ConverterHelperTest() : loader(link, Limits()) {
        loader.failed = [this](const std::string& library, const std::string& file,
                               CHelperFailure kind) { failures.push_back({library, file, kind}); };
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
