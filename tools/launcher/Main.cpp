// kwlaunch [reg:LOCATION | --preview FILE]: starts the registry editor or finds the
// running one, puts keywright into it, and optionally sends it to a location or has it
// preview a registry file. kwlaunch --register | --unregister makes it the current
// user's handler of reg: links, or stops that.
#include "AddinHook.h"
#include "EditorProcess.h"
#include "Registration.h"
#include "SharedText.h"
#include "host/LauncherMessages.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

using keywright::kMsgAttach;
using keywright::kMsgGotoSharedText;
using keywright::kMsgPreviewSharedText;
constexpr char kUsage[] =
    "usage: kwlaunch [reg:LOCATION | --preview FILE | --register | --unregister]";
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

struct Request {
    enum Kind { kAttach, kGoto, kPreview, kRegister, kUnregister } kind = kAttach;
    std::string text; // the location or the file's full path
};

bool ParseArguments(int argc, char** argv, Request* request, std::string* error) {
    *error = kUsage;
    if (argc == 1)
        return true;
    std::string first = argv[1];
    if (argc == 2 && first.size() >= 4 && _strnicmp(first.c_str(), "reg:", 4) == 0) {
        // The shared memory holds 4096 bytes with the NUL; a cut location would lead
        // somewhere else.
        if (first.size() >= 4096) {
            *error = "the location is too long";
            return false;
        }
        request->kind = Request::kGoto;
        request->text = first;
        return true;
    }
    if (argc == 2 && (first == "--register" || first == "--unregister")) {
        request->kind = first == "--register" ? Request::kRegister : Request::kUnregister;
        return true;
    }
    if (argc == 3 && first == "--preview") {
        char full[MAX_PATH] = {};
        DWORD length = GetFullPathNameA(argv[2], MAX_PATH, full, nullptr);
        // The add-in reads at most MAX_PATH characters; a longer path would arrive cut.
        if (length == 0 || length >= MAX_PATH) {
            *error = std::string("the path is too long or invalid: ") + argv[2];
            return false;
        }
        DWORD attributes = GetFileAttributesA(full);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            *error = std::string("cannot find the file ") + full;
            return false;
        }
        request->kind = Request::kPreview;
        request->text = full;
        return true;
    }
    return false;
}

int Run(int argc, char** argv) {
    Request request;
    std::string error;
    if (!ParseArguments(argc, argv, &request, &error))
        return Fail(error, 2);
    if (request.kind == Request::kRegister)
        return kwlaunch::RegisterUrlHandler(&error) ? 0 : Fail(error, 7);
    if (request.kind == Request::kUnregister)
        return kwlaunch::UnregisterUrlHandler(&error) ? 0 : Fail(error, 7);

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
    if (request.kind == Request::kGoto || request.kind == Request::kPreview) {
        kwlaunch::SharedText shared;
        if (!shared.Write(request.text))
            return Fail("cannot write to the shared memory REGURL_THINGY", 6);
        // The add-in has read the text once this returns; only then may it go.
        UINT message = request.kind == Request::kGoto ? kMsgGotoSharedText : kMsgPreviewSharedText;
        if (!Send(control, message, 0))
            return Fail("the add-in did not answer", 5);
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
