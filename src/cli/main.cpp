// tolvane-cli: the memory module tools from a terminal.
#include "CliApp.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tolvane::RunCli(args, std::cout, std::cerr);
}
