// tolvane-cli: the memory module tools from a terminal.
#include "CliApp.h"

#include <csignal>
#include <iostream>

int main(int argc, char** argv) {
    // A line that hangs up is a failed write, reported as such, not the end of the program.
    std::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tolvane::RunCli(args, std::cout, std::cerr);
}
