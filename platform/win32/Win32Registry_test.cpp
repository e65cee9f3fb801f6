// Runs the shared registry behaviour table against the system registry.
#include "platform/RegistryHarness.h"
#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <sddl.h>

#include <vector>

namespace kestrix {

namespace {

std::string TokenUserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    std::string result;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    char* text = nullptr;
    if (size && GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
        ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
        result = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return result;
}

class Win32Harness : public RegistryHarness {
public:
    Registry& registry() override { return registry_; }
    std::string CurrentUserSid() override { return TokenUserSid(); }

private:
    Win32Registry registry_;
};

} // namespace

std::unique_ptr<RegistryHarness> MakeRegistryHarness() {
    return std::make_unique<Win32Harness>();
}
const char* RegistryHarnessName() {
    return "Win32";
}

} // namespace kestrix
