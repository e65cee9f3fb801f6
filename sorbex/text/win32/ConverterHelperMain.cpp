// The converter helper program: runs the converter libraries the program asks for,
// over its standard input and output, so that their faults end only this process.
#include <windows.h>

#include "text/ConverterHelper.h"
#include "text/win32/Win32HelperLink.h"

namespace {

// A converter's crash ends this process at once: no box waits for a user, and no
// debugger is started that would hold on to the program's pipes.
LONG WINAPI EndAtOnce(EXCEPTION_POINTERS* exception) {
    TerminateProcess(GetCurrentProcess(), exception && exception->ExceptionRecord
                                              ? exception->ExceptionRecord->ExceptionCode
                                              : 1);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

int main() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(&EndAtOnce);
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    // Whatever a converter writes to standard output must not mix with the answers.
    const HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                   nullptr);
    if (nul != INVALID_HANDLE_VALUE) {
        SetStdHandle(STD_INPUT_HANDLE, nul);
        SetStdHandle(STD_OUTPUT_HANDLE, nul);
    }
    sorbex::CWin32PipeStream stream(in, out, nullptr);
    const std::unique_ptr<sorbex::CConverterLoader> loader = sorbex::MakeInProcessConverterLoader();
    sorbex::ServeConverterRequests(stream, *loader);
    return 0;
}
