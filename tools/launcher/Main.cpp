// kwlaunch [reg:LOCATION]: starts the registry editor or finds the running one, puts
// keywright into it, and optionally sends it to a location.
#include "AddinHook.h"
#include "EditorProcess.h"
#include "SharedText.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr UINT kMsgAttach = 0x8000;
constexpr UINT kMsgGotoSharedText = 0x8001;
constexpr DWORD kSendTimeoutMs = 30000;

int Fail(const std::string& text, int code) {
    std::fprintf(stderr, "kwlaunch: %s\n", text.c_str());
    return code;
}

bool Send(HWND window, UINT message, LPARAM lParam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, 0, lParam, SMTO_NORMAL, kSendTimeoutMs, &result) !=
           0;
}

int Run(int argc, char** argv) {
    std::string location;
    if (argc > 2 || (argc == 2 && std::strncmp(argv[1], "reg:", 4) != 0))
        return Fail("usage: kwlaunch [reg:LOCATION]", 2);
    if (argc == 2)
        location = argv[1];

    std::string error;
    kwlaunch::Editor editor = kwlaunch::FindEditor();
    if (!editor.frame)
        editor = kwlaunch::StartEditor(&error);
    if (!editor.frame)
        return Fail(error, 3);

    HWND control = kwlaunch::FindControlWindow(editor.thread);
    if (!control) {
        control = kwlaunch::InstallAddin(editor.thread, &error);
        if (!control)
            return Fail(error, 4);
        if (!Send(control, kMsgAttach, reinterpret_cast<LPARAM>(editor.frame)))
            return Fail("the add-in did not answer the attach message", 5);
    }
    if (!location.empty()) {
        kwlaunch::SharedText shared;
        if (!shared.Write(location))
            return Fail("cannot write the location to shared memory", 6);
        // The add-in has read the text once this returns; only then may it go.
        if (!Send(control, kMsgGotoSharedText, 0))
            return Fail("the add-in did not answer the location message", 5);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (...) {
        return Fail("unexpected failure", 1);
    }
}
