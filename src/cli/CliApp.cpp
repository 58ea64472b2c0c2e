#include "CliApp.h"

#include "BackupCommand.h"
#include "CommCommands.h"
#include "DiffCommand.h"
#include "ImageCommands.h"
#include "ListCommands.h"
#include "ReportCommand.h"
#include "TerminalUserServices.h"

#include <algorithm>

namespace tolvane {

namespace {

struct CommandHelp {
    const char* name;
    const char* usage; // the lines after "usage: ", each but the first indented
};

constexpr const char* kKinds =
    "  KIND: entry-codes | block-transmitters | block-cards | directory |\n"
    "        validation-groups | door-schedules | time-zones | holidays\n";

const CommandHelp kCommands[] = {
    {"check", "tolvane-cli check [--strict] FILE\n"},
    {"export", "tolvane-cli export FILE\n"},
    {"diff", "tolvane-cli diff A.mem B.mem [--json]\n"},
    {"rewrite", "tolvane-cli rewrite IN OUT\n"},
    {"demo", "tolvane-cli demo OUT\n"},
    {"report", "tolvane-cli report KIND FILE [options]\n"
               "  KIND: system [--country C --area A --phone P]\n"
               "        events [--from \"YYYY-MM-DD HH:MM\"] [--to ...] [--channel A-D]... "
               "[--name TEXT]\n"
               "               [--device single-transmitter|block-transmitter|block-card|"
               "entry-code [--code N]]\n"
               "               [--format text|csv|json]\n"
               "        block-transmitters | block-cards | directory\n"},
    {"list", "tolvane-cli list KIND FILE\n"},
    {"import", "tolvane-cli import KIND FILE CSV\n"},
    {"download", "tolvane-cli download --port DEVICE|COM1-4 --password P [--verbose] FILE\n"
                 "       tolvane-cli download --modem DEVICE|NAME --dial NUMBER --password P "
                 "[--verbose] FILE\n"},
    {"upload", "tolvane-cli upload --port DEVICE|COM1-4 --password P [--verbose] FILE\n"
               "       tolvane-cli upload --modem DEVICE|NAME --dial NUMBER --password P "
               "[--verbose] FILE\n"},
    {"modems", "tolvane-cli modems\n"},
    {"backup-all", "tolvane-cli backup-all [--dir DIR] [--only NAME]... [--verbose]\n"},
    {"simulate", "tolvane-cli simulate [--image FILE] [--password P] "
                 "[--fault crc|drop|duplicate|silence|cancel]... [--link PATH] [--baud N]\n"
                 "                [--modem [--answer connect|busy|no-answer|no-carrier|"
                 "no-dialtone]]\n"},
};

const CommandHelp* FindCommand(const std::string& name) {
    for (const CommandHelp& command : kCommands) {
        if (name == command.name) {
            return &command;
        }
    }
    return nullptr;
}

std::string UsageOf(const CommandHelp& command) {
    std::string usage = command.usage;
    if (std::string(command.name) == "list" || std::string(command.name) == "import") {
        usage += kKinds;
    }
    return usage;
}

std::string FullUsage() {
    std::string usage = "usage: ";
    for (const CommandHelp& command : kCommands) {
        if (&command != kCommands) {
            usage += "       ";
        }
        // The kinds once, after the two commands that take them.
        usage += std::string(command.name) == "list" ? command.usage : UsageOf(command);
    }
    usage += "       tolvane-cli --version\n       tolvane-cli [COMMAND] --help\n";
    return usage;
}

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

// What was wrong, and where to read how it goes.
int UsageError(const std::string& problem, std::ostream& err) {
    err << "tolvane-cli: " << problem << "\nTry 'tolvane-cli --help' for more information.\n";
    return kExitUsage;
}

// The command's own work; a known command whose words make no sense falls through to -1.
int Dispatch(const std::vector<std::string>& args, TerminalUserServices& ui, std::ostream& out,
             std::ostream& err) {
    const std::string& command = args[0];
    const std::size_t operands = args.size() - 1;
    if (command == "check") {
        // One file, and --strict before or after it.
        const bool strict = std::find(args.begin() + 1, args.end(), "--strict") != args.end();
        const auto file = std::find_if(args.begin() + 1, args.end(),
                                       [](const std::string& arg) { return arg != "--strict"; });
        if (operands == (strict ? 2u : 1u) && file != args.end() && file->rfind("--", 0) != 0) {
            return RunCheck(*file, strict, ui, out, err);
        }
    }
    if (command == "export" && operands == 1) {
        return RunExport(args[1], ui, out, err);
    }
    if (command == "rewrite" && operands == 2) {
        return RunRewrite(args[1], args[2], ui, err);
    }
    if (command == "demo" && operands == 1) {
        return RunDemo(args[1], ui, err);
    }
    if (command == "list" && operands == 2) {
        return RunList(args[1], args[2], ui, out, err);
    }
    if (command == "import" && operands == 3) {
        return RunImport(args[1], args[2], args[3], ui, err);
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "diff") {
        return RunDiff(rest, ui, out, err);
    }
    if (command == "report") {
        return RunReport(rest, EventTime::Now(), ui, out, err);
    }
    if (command == "download") {
        return RunDownload(rest, out, err);
    }
    if (command == "upload") {
        return RunUpload(rest, out, err);
    }
    if (command == "backup-all") {
        return RunBackupAll(rest, out, err);
    }
    if (command == "modems") {
        return RunModems(rest, out, err);
    }
    if (command == "simulate") {
        return RunSimulate(rest, out, err);
    }
    return -1;
}

} // namespace

std::string CommandUsage(const std::string& command) {
    const CommandHelp* help = FindCommand(command);
    return help == nullptr ? FullUsage() : "usage: " + UsageOf(*help);
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        return UsageError("no command given", err);
    }
    const std::string& command = args[0];
    if (IsHelp(command) || command == "help") {
        // "help COMMAND" tells of that command alone.
        if (args.size() == 2 && FindCommand(args[1]) != nullptr) {
            out << CommandUsage(args[1]);
            return 0;
        }
        if (args.size() > 1) {
            return UsageError("no such command: " + args[1], err);
        }
        out << FullUsage();
        return 0;
    }
    if (command == "--version") {
        out << "tolvane-cli " << TOLVANE_VERSION << '\n';
        return 0;
    }
    if (FindCommand(command) == nullptr) {
        return UsageError(
            (command.starts_with('-') ? "unknown option: " : "unknown command: ") + command, err);
    }
    // Only right after the command: later, "-h" may be a value, such as a password.
    if (args.size() > 1 && IsHelp(args[1])) {
        out << CommandUsage(command);
        return 0;
    }
    TerminalUserServices ui(err);
    const int status = Dispatch(args, ui, out, err);
    if (status >= 0) {
        return status;
    }
    err << "tolvane-cli " << command << ": wrong number of arguments\n" << CommandUsage(command);
    return kExitUsage;
}

} // namespace tolvane
