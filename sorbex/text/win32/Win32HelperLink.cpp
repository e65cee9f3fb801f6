// The converter helper process on Windows: its pipes, read with a time limit, and the
// loader that sends the converters there.
#include "text/win32/Win32HelperLink.h"

#include <algorithm>

namespace sorbex {
namespace {

constexpr DWORD kPipeBytes = 64 * 1024;
constexpr DWORD kPeekMs = 2;         // how long a read waits on the helper between looks
constexpr DWORD kStopWaitMs = 5000;  // for a terminated helper to be gone
const char kHelperName[] = "sorbexconv.exe";

// The converters in the helper: the program keeps none of their code in its own memory.
class CIsolatedConverterLoader : public CConverterLoader {
public:
    explicit CIsolatedConverterLoader(const std::string& helperPath)
        : link_(helperPath), helper_(link_) {}
    std::unique_ptr<CConverterModule> Load(const std::string& libraryPath) override {
        return helper_.Load(libraryPath);
    }

private:
    CWin32HelperLink link_;
    CHelperConverterLoader helper_;
};

void CloseIfOpen(HANDLE& handle) {
    if (handle)
        CloseHandle(handle);
    handle = nullptr;
}

} // namespace

bool CWin32PipeStream::Write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!out_ || !WriteFile(out_, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

CLinkStatus CWin32PipeStream::Read(char* into, std::size_t size, std::uint32_t timeoutMs) {
    const DWORD start = GetTickCount();
    std::size_t done = 0;
    while (done < size) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, 1 << 20));
        if (timeoutMs != 0) {
            DWORD waiting = 0;
            if (!in_ || !PeekNamedPipe(in_, nullptr, 0, nullptr, &waiting, nullptr))
                return CLinkStatus::Ended;
            if (waiting == 0) {
                if (GetTickCount() - start >= timeoutMs)
                    return CLinkStatus::TimedOut;
                // The helper's end: once it has ended, what it wrote is all there is.
                if (peer_ && WaitForSingleObject(peer_, kPeekMs) == WAIT_OBJECT_0 &&
                    PeekNamedPipe(in_, nullptr, 0, nullptr, &waiting, nullptr) && waiting == 0)
                    return CLinkStatus::Ended;
                continue;
            }
            want = std::min(want, waiting);
        }
        DWORD read = 0;
        if (!in_ || !ReadFile(in_, into + done, want, &read, nullptr) || read == 0)
            return CLinkStatus::Ended;
        done += read;
    }
    return CLinkStatus::Ok;
}

bool CWin32HelperLink::Start() {
    Stop();
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE helperIn = nullptr;
    HANDLE helperOut = nullptr;
    if (!CreatePipe(&helperIn, &toHelper_, &inherit, kPipeBytes))
        return false;
    if (!CreatePipe(&fromHelper_, &helperOut, &inherit, kPipeBytes)) {
        CloseHandle(helperIn);
        CloseIfOpen(toHelper_);
        return false;
    }
    // Only the helper's ends go to the helper.
    SetHandleInformation(toHelper_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(fromHelper_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = helperIn;
    startup.hStdOutput = helperOut;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + helperPath_ + "\"";
    const BOOL started = CreateProcessA(helperPath_.c_str(), &commandLine[0], nullptr, nullptr,
                                        TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                                        &process);
    CloseHandle(helperIn);
    CloseHandle(helperOut);
    if (!started) {
        CloseIfOpen(toHelper_);
        CloseIfOpen(fromHelper_);
        return false;
    }
    CloseHandle(process.hThread);
    process_ = process.hProcess;
    stream_ = CWin32PipeStream(fromHelper_, toHelper_, process_);
    return true;
}

void CWin32HelperLink::Stop() {
    stream_ = CWin32PipeStream();
    CloseIfOpen(toHelper_); // a helper waiting for the next request ends by itself
    CloseIfOpen(fromHelper_);
    if (process_) {
        if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, kStopWaitMs);
        }
        CloseIfOpen(process_);
    }
}

std::string FindConverterHelper() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::string helper(path, length);
    const std::size_t slash = helper.find_last_of("\\/");
    helper = (slash == std::string::npos ? std::string() : helper.substr(0, slash + 1)) + kHelperName;
    const DWORD attributes = GetFileAttributesA(helper.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return helper;
}

std::unique_ptr<CConverterLoader> MakeSystemConverterLoader() {
    const std::string helper = FindConverterHelper();
    // Without the helper beside it the program runs the converters itself, as before.
    if (helper.empty())
        return MakeInProcessConverterLoader();
    return std::make_unique<CIsolatedConverterLoader>(helper);
}

} // namespace sorbex
