#include "CliApp.h"

#include "CommCommands.h"
#include "ImageCommands.h"
#include "ListCommands.h"
#include "ReportCommand.h"
#include "TerminalUserServices.h"

#include <algorithm>

namespace tolvane {

namespace {

constexpr const char* kUsage =
    "usage: tolvane-cli check [--strict] FILE\n"
    "       tolvane-cli export FILE\n"
    "       tolvane-cli rewrite IN OUT\n"
    "       tolvane-cli demo OUT\n"
    "       tolvane-cli report KIND FILE [options]\n"
    "  KIND: system [--country C --area A --phone P]\n"
    "        events [--from \"YYYY-MM-DD HH:MM\"] [--to ...] "
    "[--channel A-D]... [--name TEXT]\n"
    "               [--device single-transmitter|block-transmitter|"
    "block-card|entry-code [--code N]]\n"
    "        block-transmitters | block-cards | directory\n"
    "       tolvane-cli list KIND FILE\n"
    "       tolvane-cli import KIND FILE CSV\n"
    "  KIND: entry-codes | block-transmitters | block-cards | directory |\n"
    "        validation-groups | door-schedules | time-zones | holidays\n"
    "       tolvane-cli download --port DEVICE|COM1-4 --password P FILE\n"
    "       tolvane-cli upload --port DEVICE|COM1-4 --password P FILE\n"
    "       tolvane-cli modems\n"
    "       tolvane-cli simulate [--image FILE] [--password P] "
    "[--fault crc|drop|duplicate|silence|cancel]... [--link PATH] [--baud N]\n"
    "                [--modem [--answer connect|busy|no-answer|no-carrier|no-dialtone]]\n";

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TerminalUserServices ui(err);
    const std::string command = args.empty() ? std::string() : args[0];
    const std::size_t operands = args.empty() ? 0 : args.size() - 1;
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
    if (command == "report") {
        return RunReport({args.begin() + 1, args.end()}, EventTime::Now(), ui, out, err);
    }
    const std::vector<std::string> rest(args.size() > 1 ? args.begin() + 1 : args.end(),
                                        args.end());
    if (command == "download") {
        return RunDownload(rest, out, err);
    }
    if (command == "upload") {
        return RunUpload(rest, out, err);
    }
    if (command == "modems") {
        return RunModems(rest, out, err);
    }
    if (command == "simulate") {
        return RunSimulate(rest, out, err);
    }
    if (command == "help" || command == "--help" || command == "-h") {
        out << kUsage;
        return 0;
    }
    err << kUsage;
    return kExitUsage;
}

} // namespace tolvane
