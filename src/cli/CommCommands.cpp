#include "CommCommands.h"

#include "CliApp.h"
#include "DemoImage.h"
#include "ImageCommands.h"
#include "InterruptGuard.h"
#include "PseudoTerminal.h"
#include "SimulatedModem.h"
#include "SimulatedUnit.h"
#include "TerminalProgress.h"
#include "TerminalUserServices.h"
#include "comm/CCommSession.h"
#include "comm/DirectPorts.h"
#include "comm/ModemList.h"
#include "document/ReceivedModule.h"
#include "image/MemoryModule.h"
#include "sites/ProfileFile.h"
#include "support/PosixFile.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <unistd.h>

namespace tolvane {

namespace {

struct TransferOptions {
    std::string port;
    std::string modem;
    std::string dial;
    std::optional<std::string> password;
    std::string file;
    int timeScale = 1;
    bool verbose = false;
};

// "--port DEVICE --password P FILE [--time-scale N]"; an error text when they make no sense.
std::string ParseTransfer(const std::vector<std::string>& args, TransferOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        const bool hasValue = i + 1 < args.size();
        if (word == "--port" && hasValue) {
            options.port = args[++i];
        } else if (word == "--modem" && hasValue) {
            options.modem = args[++i];
        } else if (word == "--dial" && hasValue) {
            options.dial = args[++i];
        } else if (word == "--password" && hasValue) {
            options.password = args[++i];
        } else if (word == "--verbose") {
            options.verbose = true;
        } else if (word == "--time-scale" && hasValue) {
            try {
                options.timeScale = std::stoi(args[++i]);
            } catch (const std::exception&) {
                return "--time-scale wants a number";
            }
            if (options.timeScale < 1 || options.timeScale > 1000) {
                return "--time-scale wants a number from 1 to 1000";
            }
        } else if (word.rfind("--", 0) == 0) {
            return "unknown option or missing value: " + word;
        } else if (options.file.empty()) {
            options.file = word;
        } else {
            return "one file only";
        }
    }
    // Without a password the unit would only be kept busy for minutes to no end.
    if (options.port.empty() == options.modem.empty() || !options.password ||
        options.file.empty()) {
        return "--port or --modem, --password and a file are needed";
    }
    if (options.modem.empty() != options.dial.empty()) {
        return "--dial goes with --modem, and --modem needs it";
    }
    if (options.password->size() > 6) {
        return "the unit's password has at most 6 characters";
    }
    return {};
}

// COM1 to COM4 stand for the devices the settings map them to, and messages name both; any
// other port is a device path, and messages name it as given.
void ResolvePort(CCommSession& session, const std::string& port, int& selector,
                 std::string& device) {
    selector = DirectPortSelector(port);
    if (selector != kNoPort) {
        device = DirectPortDevice(ConfigDirectory(), selector);
        return;
    }
    selector = kCom1;
    device = port;
    session.portName = port;
}

// A modem named in the settings stands for its device; anything else is a device path.
void ResolveModem(CCommSession& session, const std::string& modem) {
    const std::optional<std::string> device =
        ProfileFile(ConfigDirectory() + "/zemrix.ini").Read().ReadString("modems", modem);
    session.deviceName = modem;
    session.modemDevice = device.value_or(modem);
}

int RunTransfer(int mode, const std::vector<std::string>& args, std::ostream& err) {
    TransferOptions options;
    if (const std::string problem = ParseTransfer(args, options); !problem.empty()) {
        err << "tolvane-cli: " << problem << '\n'
            << CommandUsage(mode == kDownloadSession ? "download" : "upload");
        return kExitUsage;
    }
    // On a terminal one updating line stands for the log, unless the log is asked for.
    TerminalProgress progress(err, !options.verbose && TerminalProgress::IsTerminal(err));
    CCommSession session(ChannelTimeouts().ScaledDown(options.timeScale));
    if (mode == kDownloadSession) {
        session.expectedBytes = FileSize(options.file);
    } else {
        // Only a module that loads is ever sent: a unit fed a broken image is a site visit.
        MemoryModule image(progress);
        if (const int result = LoadForCommand(image, options.file, err); result != kLoadOk) {
            return result;
        }
        if (!LoadPacketsFromFile(session.packets, options.file, session.Crc(), progress)) {
            return kLoadCannotOpen;
        }
    }
    const InterruptGuard interrupts;
    bool succeeded = false;
    if (options.modem.empty()) {
        int selector = kCom1;
        std::string device;
        ResolvePort(session, options.port, selector, device);
        succeeded = session.RunDirectSession(progress, selector, mode, *options.password, device);
    } else {
        ResolveModem(session, options.modem);
        // Dialed as given: whoever types the number knows where the call goes from.
        session.dialableNumber = options.dial;
        session.displayableNumber = options.dial;
        succeeded = session.RunModemCall(progress, mode, *options.password);
    }
    if (!succeeded) {
        progress.ShowMessage(mode == kDownloadSession ? "Data has NOT been downloaded"
                                                      : "Data has NOT been uploaded",
                             MessageIcon::Exclamation, MessageButtons::Ok);
        return 1;
    }
    if (mode == kDownloadSession) {
        switch (StoreReceivedModule(session.packets, options.file, progress)) {
        case kReceivedNoModule:
            return kLoadInvalid;
        case kReceivedNotWritten:
            return kExitSaveFailed;
        default:
            break;
        }
    }
    return 0;
}

} // namespace

int RunDownload(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    return RunTransfer(kDownloadSession, args, err);
}

int RunUpload(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    return RunTransfer(kUploadSession, args, err);
}

int RunModems(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const std::vector<std::string>& probePatterns) {
    if (!args.empty()) {
        err << CommandUsage("modems");
        return kExitUsage;
    }
    ModemList modems;
    switch (modems.Find(ConfigDirectory(), ChannelTimeouts(), probePatterns)) {
    case ModemList::Status::Unusable:
        err << "Error initializing telephony resources\n";
        return 1;
    case ModemList::Status::NoDevices:
        err << "You have no telephony devices (modems) configured\n";
        return 1;
    case ModemList::Status::Ok:
        break;
    }
    for (const ModemInfo& modem : modems.Devices()) {
        char identifier[9];
        std::snprintf(identifier, sizeof identifier, "%08X", modem.identifier);
        out << identifier << '\t' << modem.name << '\t' << modem.device << '\t'
            << (modem.dataCalls ? "data" : "no data calls") << '\n';
    }
    return 0;
}

int RunSimulate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SimulatedUnitOptions options;
    std::string imagePath;
    std::string link;
    bool modem = false;
    bool answerGiven = false;
    DialAnswer answer = DialAnswer::Connect;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        SimFault fault{};
        if (args[i] == "--modem") {
            modem = true;
        } else if (args[i] == "--answer" && hasValue &&
                   SimulatedModem::ParseAnswer(args[i + 1], answer)) {
            answerGiven = true;
            ++i;
        } else if (args[i] == "--image" && hasValue) {
            imagePath = args[++i];
        } else if (args[i] == "--password" && hasValue) {
            options.password = args[++i];
        } else if (args[i] == "--link" && hasValue) {
            link = args[++i];
        } else if (args[i] == "--time-scale" && hasValue) {
            options.timeScale = std::max(1, std::atoi(args[++i].c_str()));
        } else if (args[i] == "--baud" && hasValue && std::atoi(args[i + 1].c_str()) > 0) {
            // A pseudo-terminal passes bytes at once; the unit paces its own, ten bits to a byte
            // as on the wire.
            options.byteDelayMicroseconds = 10'000'000 / std::atoi(args[++i].c_str());
        } else if (args[i] == "--fault" && hasValue &&
                   SimulatedUnit::ParseFault(args[i + 1], fault)) {
            options.faults.insert(fault);
            ++i;
        } else {
            err << CommandUsage("simulate");
            return kExitUsage;
        }
    }
    if (answerGiven && !modem) {
        err << CommandUsage("simulate");
        return kExitUsage;
    }
    TerminalUserServices ui(err);
    if (imagePath.empty()) {
        options.image = BuildDemoImage(ui);
    } else {
        std::ifstream file(imagePath, std::ios::binary);
        if (!file) {
            err << "tolvane-cli: cannot read " << imagePath << '\n';
            return kLoadCannotOpen;
        }
        options.image.assign(std::istreambuf_iterator<char>(file), {});
    }
    PseudoTerminal line;
    std::string error;
    if (!line.Open(error)) {
        err << "tolvane-cli: " << error << '\n';
        return 1;
    }
    if (!link.empty()) {
        ::unlink(link.c_str());
        if (::symlink(line.SlavePath().c_str(), link.c_str()) != 0) {
            err << "tolvane-cli: cannot link " << link << " to " << line.SlavePath() << '\n';
            return 1;
        }
    }
    out << (link.empty() ? line.SlavePath() : link) << std::endl;
    const InterruptGuard interrupts;
    if (modem) {
        SimulatedModemOptions modemOptions;
        modemOptions.answer = answer;
        modemOptions.timeScale = options.timeScale;
        modemOptions.unit = std::move(options);
        SimulatedModem(line.MasterFd(), std::move(modemOptions)).Run(InterruptGuard::Flag());
    } else {
        SimulatedUnit(line.MasterFd(), std::move(options)).Run(InterruptGuard::Flag());
    }
    if (!link.empty()) {
        ::unlink(link.c_str());
    }
    return 0;
}

} // namespace tolvane
