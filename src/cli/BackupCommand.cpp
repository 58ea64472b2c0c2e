#include "BackupCommand.h"

#include "CliApp.h"
#include "CommCommands.h"
#include "InterruptGuard.h"
#include "TerminalProgress.h"
#include "comm/CCommSession.h"
#include "comm/CommSetup.h"
#include "comm/DirectPorts.h"
#include "comm/ModemList.h"
#include "document/ReceivedModule.h"
#include "sites/InstallationList.h"
#include "sites/ProfileFile.h"
#include "support/PosixFile.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iomanip>
#include <set>
#include <unistd.h>

namespace tolvane {

namespace {

namespace fs = std::filesystem;

struct BackupOptions {
    std::string dir;
    std::set<std::string> only;
    bool verbose = false;
    int timeScale = 1;
};

// One line of the closing table.
struct BackupRow {
    std::string installation;
    std::string result = "ok";
    std::string size = "-";
    std::string time = "-";
    std::string file = "-";
};

std::string DefaultDirectory() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && *data == '/') {
        return std::string(data) + "/tolvane/backups";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.local/share/tolvane/backups";
}

std::string Parse(const std::vector<std::string>& args, BackupOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--dir" && hasValue) {
            options.dir = args[++i];
        } else if (args[i] == "--only" && hasValue) {
            options.only.insert(args[++i]);
        } else if (args[i] == "--verbose") {
            options.verbose = true;
        } else if (args[i] == "--time-scale" && hasValue) {
            options.timeScale = std::atoi(args[++i].c_str());
            if (options.timeScale < 1 || options.timeScale > 1000) {
                return "--time-scale wants a number from 1 to 1000";
            }
        } else {
            return "unknown option or missing value: " + args[i];
        }
    }
    if (options.dir.empty()) {
        options.dir = DefaultDirectory();
    }
    return {};
}

// An installation's name as one folder name: no separators, nothing hidden, nothing that moves
// up the tree.
std::string FolderName(const std::string& name) {
    std::string folder;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        folder += c == '/' || byte < 0x20 || byte == 0x7F ? '_' : c;
    }
    if (folder.empty() || folder.front() == '.') {
        folder.insert(folder.begin(), '_');
    }
    return folder;
}

// Keeps the module written at partial as DIR/<name>/<YYYY-MM-DD-HHMMSS>.mem, or "-2", "-3", ...
// should that be taken. A hard link never takes a name another file has, even one another run
// made a moment ago, so nothing is ever written over. The path kept, or empty with why in error.
std::string KeepUnderNewName(const std::string& partial, const fs::path& folder,
                             std::string& error) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
    for (int n = 1;; ++n) {
        std::string name = stamp;
        if (n > 1) {
            name += '-';
            name += std::to_string(n);
        }
        name += ".mem";
        const fs::path path = folder / name;
        if (::link(partial.c_str(), path.c_str()) == 0) {
            ::unlink(partial.c_str());
            return path.string();
        }
        if (errno != EEXIST) {
            error = "cannot keep " + path.string() + ": " + std::strerror(errno);
            ::unlink(partial.c_str());
            return {};
        }
    }
}

// The session set up for the installation's telephone number as the window would dial it: the
// preferred modem, the current dialing location and the stored choices. false, with why in
// error, when no call can be placed.
bool SetUpCall(CCommSession& session, const Installation& record, const ChannelTimeouts& timeouts,
               UserServices& ui, std::string& error) {
    if (record.phoneNumber.empty()) {
        error = "no telephone number is kept for it";
        return false;
    }
    ModemList modems;
    switch (modems.Find(ConfigDirectory(), timeouts)) {
    case ModemList::Status::NoDevices:
        error = "You have no telephony devices (modems) configured";
        return false;
    case ModemList::Status::Unusable:
        error = "Error initializing telephony resources";
        return false;
    case ModemList::Status::Ok:
        break;
    }
    CommSetup setup(ui, modems, ConfigDirectory(), record.areaCode, record.phoneNumber);
    setup.Initialise();
    const ModemInfo* modem = setup.ChosenModem();
    if (modem == nullptr || setup.DialableNumber().empty()) {
        error =
            modem == nullptr ? "Could not find any modems" : "Error translating the phone number";
        return false;
    }
    session.deviceName = modem->name;
    session.modemDevice = modem->device;
    session.dialableNumber = setup.DialableNumber();
    session.displayableNumber = setup.DisplayableNumber();
    session.dialMethod = setup.Method();
    return true;
}

BackupRow BackUp(const Installation& record, const BackupOptions& options, std::ostream& err) {
    BackupRow row{record.name};
    const auto fail = [&row](const std::string& why) {
        row.result = "failed: " + why;
        return row;
    };
    if (record.password.empty()) {
        return fail("no password is kept for it");
    }
    const int selector = DirectPortSelector(record.port);
    if (selector == kNoPort && record.port != "Modem") {
        return fail(record.port.empty()
                        ? "no port is kept for it: reach it once from the window, or add "
                          "Port=COM1 (to COM4, or Modem) to its entry in gatelist.ini"
                        : "its port \"" + record.port + "\" is none of COM1 to COM4 or Modem");
    }
    err << "Backing up " << record.name << " through " << record.port << '\n';
    TerminalProgress progress(err, !options.verbose && TerminalProgress::IsTerminal(err));
    const ChannelTimeouts timeouts = ChannelTimeouts().ScaledDown(options.timeScale);
    CCommSession session(timeouts);
    session.expectedBytes = FileSize(record.fileName);
    const auto start = std::chrono::steady_clock::now();
    bool succeeded = false;
    if (selector != kNoPort) {
        succeeded = session.RunDirectSession(progress, selector, kDownloadSession, record.password,
                                             DirectPortDevice(ConfigDirectory(), selector));
    } else {
        std::string error;
        if (!SetUpCall(session, record, timeouts, progress, error)) {
            return fail(error);
        }
        succeeded = session.RunModemCall(progress, kDownloadSession, record.password);
    }
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f s",
                  std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    row.time = seconds;
    if (!succeeded) {
        const std::string why = progress.LastError();
        return fail(why.empty() ? "the transfer did not succeed" : why);
    }
    const fs::path folder = fs::path(options.dir) / FolderName(record.name);
    std::error_code failed;
    fs::create_directories(folder, failed);
    if (failed) {
        return fail("cannot make " + folder.string() + ": " + failed.message());
    }
    // Written whole under a name of this run's own first, which nothing else uses.
    const std::string partial = (folder / (".partial-" + std::to_string(::getpid()))).string();
    switch (StoreReceivedModule(session.packets, partial, progress)) {
    case kReceivedNoModule:
        return fail("what came is not a valid memory module");
    case kReceivedNotWritten:
        ::unlink(partial.c_str());
        return fail("cannot write " + partial);
    default:
        break;
    }
    std::string error;
    const std::string path = KeepUnderNewName(partial, folder, error);
    if (path.empty()) {
        return fail(error);
    }
    row.size = std::to_string(FileSize(path));
    row.file = path;
    return row;
}

void PrintTable(const std::vector<BackupRow>& rows, std::ostream& out) {
    std::vector<std::array<std::string, 5>> lines = {
        {"installation", "result", "size", "time", "file"}};
    for (const BackupRow& row : rows) {
        lines.push_back({row.installation, row.result, row.size, row.time, row.file});
    }
    std::array<std::size_t, 5> widths{};
    for (const auto& line : lines) {
        for (std::size_t column = 0; column < widths.size(); ++column) {
            widths[column] = std::max(widths[column], line[column].size());
        }
    }
    for (const auto& line : lines) {
        for (std::size_t column = 0; column + 1 < widths.size(); ++column) {
            out << std::left << std::setw(static_cast<int>(widths[column] + 2)) << line[column];
        }
        out << line.back() << '\n';
    }
}

} // namespace

int RunBackupAll(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    BackupOptions options;
    if (const std::string problem = Parse(args, options); !problem.empty()) {
        err << "tolvane-cli backup-all: " << problem << '\n' << CommandUsage("backup-all");
        return kExitUsage;
    }
    InstallationList list;
    list.LoadEveryEntry(ProfileFile(ConfigDirectory() + "/gatelist.ini", 0600));
    if (list.records.empty()) {
        err << "tolvane-cli backup-all: gatelist.ini lists no installation\n";
        return 1;
    }
    std::vector<BackupRow> rows;
    std::set<std::string> named;
    const InterruptGuard interrupts;
    for (const Installation& record : list.records) {
        if (!options.only.empty() && options.only.count(record.name) == 0) {
            continue;
        }
        named.insert(record.name);
        // Stopped (Ctrl+C, or the service manager): the rest are not called at all.
        rows.push_back(InterruptGuard::Came() ? BackupRow{record.name, "failed: interrupted"}
                                              : BackUp(record, options, err));
    }
    for (const std::string& name : options.only) {
        if (named.count(name) == 0) {
            rows.push_back({name, "failed: not in gatelist.ini"});
        }
    }
    PrintTable(rows, out);
    return std::all_of(rows.begin(), rows.end(),
                       [](const BackupRow& row) { return row.result == "ok"; })
               ? 0
               : 1;
}

} // namespace tolvane
