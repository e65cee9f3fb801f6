// The entry point of the sorbex command-line front end.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "cli/CancelSignal.h"
#include "cli/SearchCommand.h"
#include "platform/CompoundStorage.h"

namespace {

// The cache writes its changes when it is closed; a failure there is told, not lost.
void TellReleaseFailure(const kestrix::OsError& error) {
    std::cerr << "sorbex: " << error.Describe() << '\n';
}

} // namespace

int main(int argc, char** argv) {
    // A search may print hundreds of thousands of lines: the streams keep their own
    // buffers instead of handing every piece to C's. Standard error stays tied to
    // standard output, so progress and messages still come out in order.
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    sorbex::CCliTerminal terminal;
#ifndef _WIN32
    // The Windows console of the systems this runs on understands no colour or
    // line-clearing sequences, so it gets the plain form.
    terminal.colour = isatty(fileno(stdout)) != 0;
    terminal.progress = isatty(fileno(stderr)) != 0;
#endif
    terminal.cancelSignalled = sorbex::CancelSignalled;
    terminal.answers = &std::cin;
    terminal.waitForAnswer = sorbex::WaitForAnswer;
#ifdef _WIN32
    terminal.answersInteractive = _isatty(_fileno(stdin)) != 0;
#else
    terminal.answersInteractive = isatty(fileno(stdin)) != 0;
#endif
    sorbex::InstallCancelHandler();
    kestrix::SetReleaseFailureHook(&TellReleaseFailure);
    return sorbex::RunCli(args, std::cout, std::cerr, terminal);
}
