// Converters run in a helper process: the helper's loop that calls the libraries, and
// the program's side that asks it, so that a converter that crashes, hangs or answers
// without end ends only the helper and costs only the file it was converting.
#include "text/ConverterHelper.h"

#include <exception>
#include <utility>

namespace sorbex {
namespace {

// A request carries at most a path; anything longer is no request of ours.
constexpr std::size_t kMaxRequest = 64 * 1024;

CHelperFailure FailureOf(CLinkStatus status) {
    switch (status) {
    case CLinkStatus::Ended:
        return CHelperFailure::Crashed;
    case CLinkStatus::TimedOut:
        return CHelperFailure::Hung;
    default:
        return CHelperFailure::TooLarge;
    }
}

} // namespace

void ServeConverterRequests(CFrameStream& stream, CConverterLoader& loader) {
    std::unique_ptr<CConverterModule> module;
    CHelperFrame request;
    while (ReadHelperFrame(stream, kMaxRequest, 0, request) == CLinkStatus::Ok) {
        bool yes = true;
        std::string answer;
        switch (request.kind) {
        case CHelperKind::Load:
            module.reset();
            module = loader.Load(request.payload);
            yes = module != nullptr;
            break;
        case CHelperKind::Initialise:
            if (module)
                module->Initialise(request.payload == "1");
            break;
        case CHelperKind::IsFormatCorrect:
            yes = module && module->IsFormatCorrect(request.payload);
            break;
        case CHelperKind::ConvertToRtf:
            if (module) {
                try {
                    module->ConvertToRtf(request.payload, answer);
                } catch (const std::exception&) {
                    // What arrived before the failure still counts.
                }
            }
            yes = !answer.empty();
            break;
        case CHelperKind::Uninitialise:
            if (module)
                module->Uninitialise();
            break;
        case CHelperKind::Unload:
            module.reset();
            break;
        default:
            return; // an answer where a request belongs: the program is not ours
        }
        if (!stream.Write(EncodeHelperFrame(yes ? CHelperKind::Yes : CHelperKind::No, answer)))
            return;
    }
}

// A library loaded in the helper. Once that helper is stopped the module's calls fail
// without reaching the next helper, which has not loaded it.
class CHelperConverterLoader::CModule : public CConverterModule {
public:
    CModule(CHelperConverterLoader& loader, std::string library)
        : loader_(loader), library_(std::move(library)), generation_(loader.generation_) {}
    ~CModule() override {
        if (Alive())
            loader_.Call(CHelperKind::Unload, {}, loader_.limits_.callMs, 0, library_, {},
                         nullptr);
    }

    void Initialise(bool indexing) override {
        if (Alive())
            loader_.Call(CHelperKind::Initialise, indexing ? "1" : "0", loader_.limits_.callMs, 0,
                         library_, {}, nullptr);
    }
    bool IsFormatCorrect(const std::string& path) override {
        return Alive() && !loader_.FailedBefore(library_, path) && loader_.Call(CHelperKind::IsFormatCorrect, path, loader_.limits_.callMs,
                                       0, library_, path, nullptr);
    }
    bool ConvertToRtf(const std::string& path, std::string& rtf) override {
        std::string answer;
        if (Alive() && !loader_.FailedBefore(library_, path) &&
            loader_.Call(CHelperKind::ConvertToRtf, path, loader_.limits_.convertMs,
                                    loader_.limits_.maxRtf, library_, path, &answer))
            rtf += answer;
        return !rtf.empty();
    }
    void Uninitialise() override {
        if (Alive())
            loader_.Call(CHelperKind::Uninitialise, {}, loader_.limits_.callMs, 0, library_, {},
                         nullptr);
    }

private:
    bool Alive() const { return loader_.running_ && loader_.generation_ == generation_; }

    CHelperConverterLoader& loader_;
    std::string library_;
    std::uint64_t generation_;
};

CHelperConverterLoader::CHelperConverterLoader(CHelperLink& link, CHelperLimits limits,
                                               kestrix::FileSystem* files)
    : link_(link), limits_(limits), files_(files) {}

CHelperConverterLoader::~CHelperConverterLoader() {
    if (running_)
        link_.Stop();
}

std::pair<std::uint64_t, std::uint64_t> CHelperConverterLoader::Stamp(const std::string& file) {
    kestrix::FileStatus status;
    if (!files_ || files_->GetFileStatus(file, status))
        return {0, 0};
    return {status.size, status.lastWriteTime};
}

bool CHelperConverterLoader::FailedBefore(const std::string& library, const std::string& file) {
    const auto failure = failedFiles_.find({library, file});
    if (failure == failedFiles_.end())
        return false;
    if (failure->second == Stamp(file))
        return true;
    failedFiles_.erase(failure); // the file changed: the library may read it now
    return false;
}

std::unique_ptr<CConverterModule> CHelperConverterLoader::Load(const std::string& libraryPath) {
    // A library that brings its helper down while loading would do so for every file.
    if (failedLibraries_.count(libraryPath))
        return nullptr;
    if (!running_) {
        if (!link_.Start())
            return nullptr;
        running_ = true;
        ++generation_;
    }
    if (!Call(CHelperKind::Load, libraryPath, limits_.callMs, 0, libraryPath, {}, nullptr))
        return nullptr;
    return std::make_unique<CModule>(*this, libraryPath);
}

bool CHelperConverterLoader::Call(CHelperKind kind, const std::string& payload,
                                  std::uint32_t timeoutMs, std::size_t maxAnswer,
                                  const std::string& library, const std::string& file,
                                  std::string* answer) {
    CHelperFrame frame;
    CLinkStatus status = CLinkStatus::Ended;
    if (link_.Write(EncodeHelperFrame(kind, payload))) {
        status = ReadHelperFrame(link_, maxAnswer, timeoutMs, frame);
        if (status == CLinkStatus::Ok && frame.kind != CHelperKind::Yes &&
            frame.kind != CHelperKind::No)
            status = CLinkStatus::Garbage;
    }
    if (status != CLinkStatus::Ok) {
        link_.Stop();
        running_ = false;
        if (file.empty())
            failedLibraries_.insert(library);
        else
            failedFiles_[{library, file}] = Stamp(file);
        if (failed)
            failed(library, file, FailureOf(status));
        return false;
    }
    if (answer)
        *answer = std::move(frame.payload);
    return frame.kind == CHelperKind::Yes;
}

} // namespace sorbex
