// What the words on tolvane's command line ask for. They are read before any window exists, so
// that --help and --version answer without a display and a mistyped option is named plainly.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tolvane {

struct StartOptions {
    bool demo = false;
    std::string file; // a memory module file to open; empty for none

    // Reads the words after the program's name into options. Help, the version and words that
    // make no sense are answered here, and the exit status is returned; nullopt: start.
    static std::optional<int> Parse(const std::vector<std::string>& args, StartOptions& options,
                                    std::ostream& out, std::ostream& err);
};

} // namespace tolvane
