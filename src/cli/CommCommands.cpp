#include "CommCommands.h"

#include "CliApp.h"
#include "DemoImage.h"
#include "ImageCommands.h"
#include "PseudoTerminal.h"
#include "SimulatedModem.h"
#include "SimulatedUnit.h"
#include "TerminalUserServices.h"
#include "comm/CCommSession.h"
#include "comm/DirectPorts.h"
#include "sites/ProfileFile.h"
#include "comm/ProgressSink.h"
#include "document/ReceivedModule.h"
#include "image/MemoryModule.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>
#include <optional>
#include <unistd.h>

namespace tolvane {

namespace {

std::atomic<bool> gInterrupted{false};

void OnInterrupt(int) {
    gInterrupted = true;
}

// Ctrl+C and termination become a cancel for as long as a command runs.
class InterruptGuard {
public:
    InterruptGuard() {
        gInterrupted = false;
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        ::sigaction(SIGINT, &action, &oldInt_);
        ::sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~InterruptGuard() {
        ::sigaction(SIGINT, &oldInt_, nullptr);
        ::sigaction(SIGTERM, &oldTerm_, nullptr);
    }

private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

// The progress window of the terminal: the log on standard error, the end notices handed to the
// waiting command.
class TerminalProgress : public ProgressSink, public TerminalUserServices {
public:
    // progressLine: one updating line of progress stands for the log, whose error lines alone
    // still show.
    TerminalProgress(std::ostream& err, bool progressLine)
        : TerminalUserServices(err), err_(err), progressLine_(progressLine) {}

    void AppendLogLine(const std::string& line) override {
        const std::lock_guard lock(outputMutex_);
        if (progressLine_ && !line.starts_with("ERROR:")) {
            return;
        }
        ClearProgressLine();
        err_ << line << '\n';
        err_.flush();
    }
    void SetProgressTitle(const std::string& title) override {
        const std::lock_guard lock(outputMutex_);
        if (progressLine_) {
            return;
        }
        err_ << "[" << title << "]\n";
        err_.flush();
    }
    void ShowTransferProgress(const TransferProgress& progress) override {
        if (!progressLine_) {
            return;
        }
        const std::lock_guard lock(outputMutex_);
        ClearProgressLine();
        err_ << progress.Text();
        err_.flush();
        progressShown_ = true;
    }
    void MakeCloseButton() override { closable_ = true; }
    void PostComplete() override { Post(kComplete); }
    void PostAborted() override { Post(kAborted); }
    void PostLineEvent() override { Post(kLineEvent); }

    // Runs the session to its end as the window would: start, then hand it its end notices and
    // the modem line's news as they come, and a Ctrl+C as a cancel, until it offers OK. A thread
    // that has not ended after a cancel is stuck on the line and will send no notice: Finish
    // gives it up.
    void RunProgressDialog(CCommSession& session) override {
        session.SetSink(this);
        closable_ = false;
        if (session.OnInitialise(*this)) {
            bool cancelled = false;
            while ((!closable_ || session.AwaitingNotice()) &&
                   !(cancelled && !session.ThreadEnded())) {
                switch (NextNotice()) {
                case kComplete:
                    session.OnComplete();
                    break;
                case kAborted:
                    session.OnAborted();
                    break;
                case kLineEvent:
                    session.OnLineEvent();
                    break;
                case kNone:
                    if (gInterrupted.exchange(false)) {
                        session.OnCancel();
                        cancelled = true;
                    }
                    break;
                }
            }
        }
        session.Finish();
        session.SetSink(nullptr);
        const std::lock_guard lock(outputMutex_);
        if (progressShown_) {
            err_ << '\n';
            progressShown_ = false;
        }
    }

private:
    enum Notice { kNone, kComplete, kAborted, kLineEvent };

    void Post(Notice notice) {
        const std::lock_guard lock(noticeMutex_);
        notices_.push_back(notice);
        noticeSignal_.notify_all();
    }
    // The oldest notice, or kNone after a short wait without one.
    Notice NextNotice() {
        std::unique_lock lock(noticeMutex_);
        if (!noticeSignal_.wait_for(lock, std::chrono::milliseconds(100),
                                    [this] { return !notices_.empty(); })) {
            return kNone;
        }
        const Notice notice = notices_.front();
        notices_.pop_front();
        return notice;
    }

    std::ostream& err_;
    // Takes the progress line off the terminal, so a line can take its place.
    void ClearProgressLine() {
        if (progressShown_) {
            err_ << "\r\033[K";
            progressShown_ = false;
        }
    }

    bool progressLine_;
    bool progressShown_ = false; // guarded by outputMutex_
    std::mutex outputMutex_;
    std::mutex noticeMutex_;
    std::condition_variable noticeSignal_;
    std::deque<Notice> notices_;
    bool closable_ = false; // set on the user interface thread only
};

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
    selector = kCom1;
    device = port;
    session.portName = port;
    for (int n = 1; n <= 4; ++n) {
        if (port == "COM" + std::to_string(n)) {
            selector = kCom1 + n - 1;
            device = DirectPortDevice(ConfigDirectory(), selector);
            session.portName.clear();
        }
    }
}

// The size of the file a download replaces, the best guess of what the unit will send; 0 for
// none.
std::size_t ExpectedSize(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<std::size_t>(size);
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
    TerminalProgress progress(err, !options.verbose && &err == &std::cerr && ::isatty(2) == 1);
    CCommSession session(ChannelTimeouts().ScaledDown(options.timeScale));
    if (mode == kDownloadSession) {
        session.expectedBytes = ExpectedSize(options.file);
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
        SimulatedModem(line.MasterFd(), std::move(modemOptions)).Run(gInterrupted);
    } else {
        SimulatedUnit(line.MasterFd(), std::move(options)).Run(gInterrupted);
    }
    if (!link.empty()) {
        ::unlink(link.c_str());
    }
    return 0;
}

} // namespace tolvane
