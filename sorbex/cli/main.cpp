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

int main(int argc, char** argv) {
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
#ifdef _WIN32
    terminal.answersInteractive = _isatty(_fileno(stdin)) != 0;
#else
    terminal.answersInteractive = isatty(fileno(stdin)) != 0;
#endif
    sorbex::InstallCancelHandler();
    return sorbex::RunCli(args, std::cout, std::cerr, terminal);
}
