// A converter helper for native tests: a forked process over a socket pair that serves
// converters which crash, hang or flood their answer on cue.
#pragma once

#ifndef _WIN32
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "text/ConverterHelper.h"

namespace sorbex {
namespace forked {

// Libraries that misbehave as their names say, each only when converting; any library
// misbehaves so on a file whose name says "crash", "hang" or "flood".
class MisbehavingModule : public CConverterModule {
public:
    explicit MisbehavingModule(std::string library) : library_(std::move(library)) {}
    void Initialise(bool) override {}
    bool IsFormatCorrect(const std::string& path) override {
        return path.find("other") == std::string::npos;
    }
    bool ConvertToRtf(const std::string& path, std::string& rtf) override {
        const auto says = [&](const char* what) {
            return library_ == what || path.find(what) != std::string::npos;
        };
        if (says("crash"))
            std::abort();
        if (says("hang"))
            for (;;)
                ::pause();
        if (says("flood"))
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
        if (library == "crash at load")
            std::abort();
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

} // namespace forked
} // namespace sorbex
#endif
