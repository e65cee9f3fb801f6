// The entry point of the sorbex command-line front end.
#include <iostream>
#include <string>
#include <vector>

#include "cli/SearchCommand.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return sorbex::RunCli(args, std::cout, std::cerr);
}
