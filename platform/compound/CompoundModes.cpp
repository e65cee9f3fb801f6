// The open modes of compound files (what they allow, which of them coexist, which the
// system refuses before it touches a file) and the hook for failures at release.
#include "platform/compound/CompoundModes.h"

#include <atomic>

namespace kestrix {
namespace compound {

namespace {

unsigned Access(unsigned mode) {
    return mode & 3u;
}
unsigned Deny(unsigned mode) {
    return mode & 0x70u;
}
bool DeniesRead(unsigned mode) {
    return Deny(mode) == StorageMode::kShareExclusive || Deny(mode) == StorageMode::kShareDenyRead;
}
bool DeniesWrite(unsigned mode) {
    return Deny(mode) == StorageMode::kShareExclusive || Deny(mode) == StorageMode::kShareDenyWrite;
}

} // namespace

bool ModeReads(unsigned mode) {
    return Access(mode) != StorageMode::kWrite;
}

bool ModeWrites(unsigned mode) {
    return Access(mode) == StorageMode::kWrite || Access(mode) == StorageMode::kReadWrite;
}

bool ShareCompatible(unsigned existing, unsigned mode) {
    if (ModeReads(mode) && DeniesRead(existing))
        return false;
    if (ModeWrites(mode) && DeniesWrite(existing))
        return false;
    if (ModeReads(existing) && DeniesRead(mode))
        return false;
    if (ModeWrites(existing) && DeniesWrite(mode))
        return false;
    return true;
}

OsError CheckRootMode(const char* function, const std::string& path, unsigned mode) {
    // Direct mode allows a reader that denies writing and an exclusive writer only.
    if (Access(mode) == 3)
        return OsError{function, path, StorageError::kInvalidFlag};
    if (!(mode & StorageMode::kTransacted) &&
        (ModeWrites(mode) ? Deny(mode) != StorageMode::kShareExclusive : !DeniesWrite(mode)))
        return OsError{function, path, StorageError::kInvalidFlag};
    return {};
}

OsError CheckCreateMode(const std::string& path, unsigned mode) {
    if (OsError e = CheckRootMode("Create", path, mode))
        return e;
    if (!ModeWrites(mode))
        return OsError{"Create", path, StorageError::kInvalidFlag};
    // Without deletion on release a temporary would outlive everything that knows it.
    if (path.empty() && !(mode & StorageMode::kDeleteOnRelease))
        return OsError{"Create", path, StorageError::kInvalidParameter};
    return {};
}

OsError CheckElementMode(const std::string& function, const std::string& path, unsigned mode) {
    if (Access(mode) == 3 || Deny(mode) != StorageMode::kShareExclusive)
        return OsError{function, path, StorageError::kInvalidFlag};
    return {};
}

} // namespace compound

namespace {

std::atomic<ReleaseFailureHook> g_releaseFailureHook{nullptr};

} // namespace

ReleaseFailureHook SetReleaseFailureHook(ReleaseFailureHook hook) {
    return g_releaseFailureHook.exchange(hook);
}

void ReportReleaseFailure(const OsError& error) {
    if (ReleaseFailureHook hook = g_releaseFailureHook.load())
        hook(error);
}

} // namespace kestrix
