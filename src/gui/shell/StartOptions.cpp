#include "shell/StartOptions.h"

namespace tolvane {

namespace {

// The status of a command line that makes no sense, as tolvane-cli has it.
constexpr int kExitUsage = 64;

constexpr const char* kUsage =
    "usage: tolvane [--demo] [FILE.mem]\n"
    "       tolvane --help | --version\n"
    "\n"
    "Configures Varko access control units: codes, the telephone directory, schedules and the\n"
    "transaction log, on the image of a unit's memory module, and moves it to and from the unit.\n"
    "\n"
    "  --demo      start on the demo installation, kept in a directory of its own, with a\n"
    "              simulated unit behind COM1 and behind a simulated modem\n"
    "  --help      print this help and exit\n"
    "  --version   print the version and exit\n"
    "  FILE.mem    a memory module file to open\n";

int Misuse(const std::string& problem, std::ostream& err) {
    err << "tolvane: " << problem << "\nTry 'tolvane --help' for more information.\n";
    return kExitUsage;
}

} // namespace

std::optional<int> StartOptions::Parse(const std::vector<std::string>& args, StartOptions& options,
                                       std::ostream& out, std::ostream& err) {
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            out << kUsage;
            return 0;
        }
        if (!optionsEnded && (arg == "--version" || arg == "-v")) {
            out << "tolvane " << TOLVANE_VERSION << '\n';
            return 0;
        }
        if (!optionsEnded && arg == "--demo") {
            options.demo = true;
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.starts_with('-') && arg != "-") {
            return Misuse("unknown option: " + arg, err);
        } else if (!options.file.empty()) {
            return Misuse("one file at a time: " + arg, err);
        } else {
            options.file = arg;
        }
    }
    return std::nullopt;
}

} // namespace tolvane
