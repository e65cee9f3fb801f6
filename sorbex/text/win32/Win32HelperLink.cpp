// The converter helper process on Windows: its pipes, read with a time limit, and the
// loader that sends the converters there.
#include "text/win32/Win32HelperLink.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace sorbex {
namespace {

constexpr DWORD kPipeBytes = 64 * 1024;
constexpr DWORD kStopWaitMs = 5000;  // for a terminated helper to be gone
const char kHelperName[] = "sorbexconv.exe";

// The converters in the helper: the program keeps none of their code in its own memory.
class CIsolatedConverterLoader : public CConverterLoader {
public:
    CIsolatedConverterLoader(const std::string& helperPath, const CHelperLimits& limits)
        : files_(kestrix::MakeSystemFileSystem()), link_(helperPath),
          helper_(link_, limits, files_.get()) {}
    std::unique_ptr<CConverterModule> Load(const std::string& libraryPath) override {
        return helper_.Load(libraryPath);
    }
    void SetFailureHandler(CConverterFailureHandler handler) override {
        helper_.SetFailureHandler(std::move(handler));
    }

private:
    std::unique_ptr<kestrix::FileSystem> files_; // the failure memory's file times
    CWin32HelperLink link_;
    CHelperConverterLoader helper_;
};

// The attribute list that names the handles a new process inherits came with Vista; it
// is looked up at run time, so that the program still starts where it is missing.
using InitializeListFn = BOOL(WINAPI*)(void* list, DWORD count, DWORD flags, SIZE_T* size);
using UpdateListFn = BOOL(WINAPI*)(void* list, DWORD flags, DWORD_PTR attribute, void* value,
                                   SIZE_T size, void* previous, SIZE_T* returned);
using DeleteListFn = void(WINAPI*)(void* list);
constexpr DWORD_PTR kHandleListAttribute = 0x00020002; // the handle list, an input
constexpr DWORD kExtendedStartupInfo = 0x00080000;

struct StartupInfoEx {
    STARTUPINFOA startup;
    void* attributes;
};

// Lets a process started with it inherit only `handles`, which must stay open until
// then; where the system cannot say so, get() is null and every inheritable handle goes.
class CInheritOnly {
public:
    CInheritOnly(HANDLE* handles, DWORD count) {
        const HMODULE kernel = GetModuleHandleA("kernel32.dll");
        const auto initialize = reinterpret_cast<InitializeListFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "InitializeProcThreadAttributeList")));
        const auto update = reinterpret_cast<UpdateListFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "UpdateProcThreadAttribute")));
        delete_ = reinterpret_cast<DeleteListFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "DeleteProcThreadAttributeList")));
        if (!initialize || !update || !delete_)
            return;
        SIZE_T size = 0;
        initialize(nullptr, 1, 0, &size);
        if (size == 0)
            return;
        list_.resize(size);
        if (!initialize(list_.data(), 1, 0, &size)) {
            list_.clear();
            return;
        }
        ready_ = update(list_.data(), 0, kHandleListAttribute, handles, count * sizeof(HANDLE),
                        nullptr, nullptr) != 0;
    }
    ~CInheritOnly() {
        if (!list_.empty())
            delete_(list_.data());
    }
    CInheritOnly(const CInheritOnly&) = delete;
    CInheritOnly& operator=(const CInheritOnly&) = delete;

    void* get() { return ready_ ? list_.data() : nullptr; }

private:
    DeleteListFn delete_ = nullptr;
    std::vector<char> list_;
    bool ready_ = false;
};

// A pipe whose reading end is overlapped, so that a read can wait with a time limit;
// the writing end is an ordinary, inheritable handle for the helper. An anonymous pipe
// cannot be overlapped, so this one has a name of its own that no other process took
// first and that no other computer can open.
bool CreateOverlappedInboundPipe(HANDLE& reading, HANDLE& writing) {
    static LONG made = 0;
    const std::string name = "\\\\.\\pipe\\kestrix-sorbexconv-" +
                             std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(InterlockedIncrement(&made));
    reading = CreateNamedPipeA(name.c_str(),
                               PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED |
                                   FILE_FLAG_FIRST_PIPE_INSTANCE,
                               PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT |
                                   PIPE_REJECT_REMOTE_CLIENTS,
                               1, 0, kPipeBytes, 0, nullptr);
    if (reading == INVALID_HANDLE_VALUE) {
        reading = nullptr;
        return false;
    }
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    writing = CreateFileA(name.c_str(), GENERIC_WRITE, 0, &inherit, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (writing == INVALID_HANDLE_VALUE) {
        writing = nullptr;
        CloseHandle(reading);
        reading = nullptr;
        return false;
    }
    return true;
}

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
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, 1 << 20));
        DWORD read = 0;
        if (!in_)
            return CLinkStatus::Ended;
        if (!readEvent_) {
            if (!ReadFile(in_, into + done, want, &read, nullptr) || read == 0)
                return CLinkStatus::Ended;
            done += read;
            continue;
        }
        OVERLAPPED pending{};
        pending.hEvent = readEvent_;
        if (!ReadFile(in_, into + done, want, nullptr, &pending)) {
            if (GetLastError() != ERROR_IO_PENDING)
                return CLinkStatus::Ended;
            const DWORD spent = GetTickCount() - start;
            const DWORD left =
                timeoutMs == 0 ? INFINITE : (spent >= timeoutMs ? 0 : timeoutMs - spent);
            // The data first: what the helper wrote before it ended still counts.
            HANDLE wakers[] = {readEvent_, peer_};
            const DWORD woke = WaitForMultipleObjects(peer_ ? 2 : 1, wakers, FALSE, left);
            if (woke != WAIT_OBJECT_0) {
                // The buffer must not be written once this returns: the read is
                // cancelled and its end awaited, keeping what arrived meanwhile.
                CancelIo(in_);
                if (GetOverlappedResult(in_, &pending, &read, TRUE) && read > 0) {
                    done += read;
                    continue;
                }
                return woke == WAIT_TIMEOUT ? CLinkStatus::TimedOut : CLinkStatus::Ended;
            }
        }
        if (!GetOverlappedResult(in_, &pending, &read, FALSE) || read == 0)
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
    readEvent_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!readEvent_ || !CreateOverlappedInboundPipe(fromHelper_, helperOut)) {
        CloseHandle(helperIn);
        CloseIfOpen(toHelper_);
        CloseIfOpen(readEvent_);
        return false;
    }
    // Only the helper's ends go to the helper: not the program's ends, and not whatever
    // else of the program's is inheritable (files being searched, other pipes), which a
    // converter could otherwise reach, or hold open after the program closed it.
    SetHandleInformation(toHelper_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(fromHelper_, HANDLE_FLAG_INHERIT, 0);
    HANDLE inherited[] = {helperIn, helperOut};
    CInheritOnly only(inherited, 2);
    StartupInfoEx startup{};
    startup.startup.cb = only.get() ? sizeof startup : sizeof startup.startup;
    startup.startup.dwFlags = STARTF_USESTDHANDLES;
    startup.startup.hStdInput = helperIn;
    startup.startup.hStdOutput = helperOut;
    startup.startup.hStdError = nullptr; // the helper has nothing to say there
    startup.attributes = only.get();
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + helperPath_ + "\"";
    const DWORD flags = CREATE_NO_WINDOW | (only.get() ? kExtendedStartupInfo : 0);
    const BOOL started = CreateProcessA(helperPath_.c_str(), &commandLine[0], nullptr, nullptr,
                                        TRUE, flags, nullptr, nullptr, &startup.startup, &process);
    CloseHandle(helperIn);
    CloseHandle(helperOut);
    if (!started) {
        CloseIfOpen(toHelper_);
        CloseIfOpen(fromHelper_);
        CloseIfOpen(readEvent_);
        return false;
    }
    CloseHandle(process.hThread);
    process_ = process.hProcess;
    stream_ = CWin32PipeStream(fromHelper_, toHelper_, process_, readEvent_);
    return true;
}

void CWin32HelperLink::Stop() {
    stream_ = CWin32PipeStream();
    CloseIfOpen(toHelper_); // a helper waiting for the next request ends by itself
    CloseIfOpen(fromHelper_);
    CloseIfOpen(readEvent_);
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

std::unique_ptr<CConverterLoader> MakeHelperConverterLoader(const std::string& helperPath,
                                                            const CHelperLimits& limits) {
    return std::make_unique<CIsolatedConverterLoader>(helperPath, limits);
}

std::unique_ptr<CConverterLoader> MakeSystemConverterLoader() {
    const std::string helper = FindConverterHelper();
    // Without the helper beside it the program runs the converters itself, as before.
    if (helper.empty())
        return MakeInProcessConverterLoader();
    return MakeHelperConverterLoader(helper, CHelperLimits());
}

} // namespace sorbex
