// The entry point of `kwreg`, which checks registry files and shows what they hold.
#include "kwreg/KwregCommand.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // A large file prints hundreds of thousands of lines.
    std::ios::sync_with_stdio(false);
    try {
        return keywright::RunKwreg(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                   std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "kwreg: " << e.what() << "\n";
        return 1;
    }
}
