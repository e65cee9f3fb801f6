// Word-processor text converter libraries on Windows: finding them in the registry,
// loading them and calling their 32-bit entry points, with the RTF collected through
// the output callback.
#include <climits>
#include <cstring>
#include <new>
#include <string>

#include <windows.h>

#include <ole2.h>

#include "platform/win32/OleScope.h"
#include "platform/win32/Win32Registry.h"
#include "text/TextConverterList.h"
#include "text/win32/Win32HelperLink.h"

namespace sorbex {
namespace {

// The converter interface's own types: results are 16-bit, calls are stdcall.
using FCE = short;
using OutputCallback = long(PASCAL*)(long byteCount, long percent);
using InitConverter32Fn = long(PASCAL*)(HANDLE mainWindow, char* appName);
using UninitConverterFn = void(PASCAL*)();
using RegisterAppFn = HGLOBAL(PASCAL*)(unsigned long flags, void* reserved);
using IsFormatCorrect32Fn = FCE(PASCAL*)(HANDLE fileName, HANDLE className);
using ForeignToRtf32Fn = FCE(PASCAL*)(HANDLE fileName, void* storage, HANDLE transfer,
                                      HANDLE className, HANDLE subsetName, OutputCallback out);

constexpr long kCallbackNoBuffer = -9; // what the callback answers without a conversion
constexpr long kCallbackFailed = -8;   // stops the converter: out of memory, bad count
constexpr SIZE_T kTransferSize = 16384;
constexpr unsigned long kRegisterAppFlags = 4;
constexpr unsigned long kRegisterAppIndexingFlags = 20;
constexpr std::size_t kMaxPath = 260;

// A movable global memory block, freed on every path out.
class GlobalBlock {
public:
    GlobalBlock() = default;
    explicit GlobalBlock(SIZE_T size) : handle_(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size)) {}
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    ~GlobalBlock() { reset(); }

    HGLOBAL get() const { return handle_; }
    void reset() {
        if (handle_)
            GlobalFree(handle_);
        handle_ = nullptr;
    }
    void reset(SIZE_T size) {
        reset();
        handle_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    }
    // Copies `text` with its NUL in; false when the block is missing or too small.
    bool Put(const char* text) {
        const SIZE_T length = std::strlen(text) + 1;
        if (!handle_ || GlobalSize(handle_) < length)
            return false;
        void* memory = GlobalLock(handle_);
        if (!memory)
            return false;
        std::memcpy(memory, text, length);
        GlobalUnlock(handle_);
        return true;
    }

private:
    HGLOBAL handle_ = nullptr;
};

// The path as the converter receives it, in the OEM code page; false when it does not
// fit the interface's fixed path buffer.
bool OemPath(const std::string& path, char (&oem)[kMaxPath]) {
    if (path.size() >= kMaxPath)
        return false;
    char ansi[kMaxPath] = {};
    std::memcpy(ansi, path.c_str(), path.size());
    return CharToOemA(ansi, oem) != 0;
}

class CWin32ConverterModule;

// The conversion in progress: the callback has no context argument, and only one
// conversion runs at a time.
CWin32ConverterModule* g_converting = nullptr;

class CWin32ConverterModule : public CConverterModule {
public:
    explicit CWin32ConverterModule(HMODULE library) : library_(library) {
        init_ = reinterpret_cast<InitConverter32Fn>(
            reinterpret_cast<void*>(GetProcAddress(library, "InitConverter32")));
        uninit_ = reinterpret_cast<UninitConverterFn>(
            reinterpret_cast<void*>(GetProcAddress(library, "UninitConverter")));
        isFormatCorrect_ = reinterpret_cast<IsFormatCorrect32Fn>(
            reinterpret_cast<void*>(GetProcAddress(library, "IsFormatCorrect32")));
        foreignToRtf_ = reinterpret_cast<ForeignToRtf32Fn>(
            reinterpret_cast<void*>(GetProcAddress(library, "ForeignToRtf32")));
        registerApp_ = reinterpret_cast<RegisterAppFn>(
            reinterpret_cast<void*>(GetProcAddress(library, "RegisterApp")));
    }
    ~CWin32ConverterModule() override {
        if (g_converting == this)
            g_converting = nullptr;
        transfer_.reset();
        FreeLibrary(library_);
    }
    CWin32ConverterModule(const CWin32ConverterModule&) = delete;
    CWin32ConverterModule& operator=(const CWin32ConverterModule&) = delete;

    void Initialise(bool indexing) override {
        if (!init_)
            return;
        char appName[] = "SORBEX";
        if (init_(nullptr, appName) == 0 || !registerApp_)
            return;
        if (HGLOBAL reply =
                registerApp_(indexing ? kRegisterAppIndexingFlags : kRegisterAppFlags, nullptr))
            GlobalFree(reply);
    }

    bool IsFormatCorrect(const std::string& path) override {
        if (!isFormatCorrect_)
            return false;
        char oem[kMaxPath] = {};
        if (!OemPath(path, oem))
            return false;
        GlobalBlock fileName(2 * std::strlen(oem) + 1);
        GlobalBlock className(256);
        if (!fileName.Put(oem) || !className.get())
            return false;
        return isFormatCorrect_(fileName.get(), className.get()) == 1;
    }

    bool ConvertToRtf(const std::string& path, std::string& rtf) override {
        if (!foreignToRtf_ || g_converting)
            return false;
        char oem[kMaxPath] = {};
        if (!OemPath(path, oem))
            return false;
        // The converter opens the file by its OEM name, so that name must reach it; and
        // an empty file is never handed over.
        char roundTrip[kMaxPath] = {};
        OemToCharA(oem, roundTrip);
        HANDLE file = CreateFileA(roundTrip, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER size{};
        const bool sized = GetFileSizeEx(file, &size) != 0;
        CloseHandle(file);
        if (sized && size.QuadPart == 0)
            return false;

        GlobalBlock fileName(2 * std::strlen(oem) + 1);
        GlobalBlock className(1);
        GlobalBlock subsetName(1);
        if (!fileName.Put(oem) || !className.get() || !subsetName.get())
            return false;

        output_ = &rtf;
        failed_ = false;
        g_converting = this;
        {
            // OLE only around the conversion itself.
            kestrix::OleScope ole;
            transfer_.reset(kTransferSize);
            if (transfer_.get())
                foreignToRtf_(fileName.get(), nullptr, transfer_.get(), className.get(),
                              subsetName.get(), &Output);
            transfer_.reset();
        }
        g_converting = nullptr;
        output_ = nullptr;
        // Output after a refused chunk has a hole in it: none of it is trusted.
        if (failed_)
            rtf.clear();
        return !rtf.empty();
    }

    void Uninitialise() override {
        if (uninit_)
            uninit_();
    }

private:
    // The converter has put `byteCount` bytes at the start of the transfer block. The
    // count is checked against the block's real size, so a converter that reports
    // more than it has never makes this read past the block.
    static long PASCAL Output(long byteCount, long /*percent*/) {
        CWin32ConverterModule* self = g_converting;
        if (!self || !self->transfer_.get() || !self->output_)
            return kCallbackNoBuffer;
        if (byteCount == 0)
            return 0;
        const HGLOBAL block = self->transfer_.get();
        if (byteCount < 0 || static_cast<SIZE_T>(byteCount) > GlobalSize(block) ||
            self->output_->size() > static_cast<std::size_t>(INT_MAX - byteCount)) {
            self->failed_ = true;
            return kCallbackFailed;
        }
        const void* data = GlobalLock(block);
        if (!data) {
            self->failed_ = true;
            return kCallbackFailed;
        }
        long answer = 0;
        try {
            AppendConverterOutput(*self->output_, static_cast<const char*>(data),
                                  static_cast<std::size_t>(byteCount));
        } catch (...) {
            // Nothing may unwind through the converter's own code.
            self->failed_ = true;
            answer = kCallbackFailed;
        }
        GlobalUnlock(block);
        return answer;
    }

    HMODULE library_;
    InitConverter32Fn init_ = nullptr;
    UninitConverterFn uninit_ = nullptr;
    IsFormatCorrect32Fn isFormatCorrect_ = nullptr;
    ForeignToRtf32Fn foreignToRtf_ = nullptr;
    RegisterAppFn registerApp_ = nullptr;
    GlobalBlock transfer_;
    std::string* output_ = nullptr;
    bool failed_ = false;
};

class CWin32ConverterLoader : public CConverterLoader {
public:
    std::unique_ptr<CConverterModule> Load(const std::string& libraryPath) override {
        // A converter that cannot find a library of its own must not make the system
        // ask the user about it.
        const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        HMODULE library = LoadLibraryA(libraryPath.c_str());
        SetErrorMode(oldMode);
        // Handles up to 31 are the error codes of the 16-bit loader.
        if (reinterpret_cast<UINT_PTR>(library) <= 31)
            return nullptr;
        try {
            return std::make_unique<CWin32ConverterModule>(library);
        } catch (const std::bad_alloc&) {
            FreeLibrary(library);
            return nullptr;
        }
    }
};

} // namespace

std::unique_ptr<CConverterLoader> MakeInProcessConverterLoader() {
    return std::make_unique<CWin32ConverterLoader>();
}

void BuildSystemConverterList(CTextConverterList& list, CConverterLoader& loader,
                              kestrix::FileSystem& fileSystem) {
    kestrix::Win32Registry registry;
    list.Build(registry, loader, [&fileSystem](const std::string& path) {
        kestrix::FileStatus status;
        return !fileSystem.GetFileStatus(path, status) && !status.isDirectory;
    });
}

} // namespace sorbex
