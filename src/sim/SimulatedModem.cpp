#include "SimulatedModem.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <string_view>
#include <utility>
#include <sys/socket.h>
#include <unistd.h>

namespace tolvane {

namespace {

using Clock = std::chrono::steady_clock;

// The registers a reset gives back: the escape character, CR, LF, backspace, the waits of a
// dial and the escape guard time (50 fiftieths of a second).
constexpr std::pair<int, int> kRegisterDefaults[] = {
    {2, '+'}, {3, '\r'}, {4, '\n'}, {5, 8}, {6, 2}, {7, 50}, {8, 2}, {9, 6}, {10, 14}, {12, 50}};

// The commands of one letter and the highest value each takes.
constexpr std::string_view kLetters = "EVQHZXLMI";
constexpr int kLetterMaximum[] = {1, 1, 1, 1, 1, 4, 3, 3, 9};

// Writes all of bytes unless the far end has gone or takes nothing for a second; what is left
// then is lost, as on a real line. Sockets are written with send() so a closed far end is an
// error and not a signal.
void SendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t put = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (put < 0 && errno == ENOTSOCK) {
            put = ::write(fd, bytes.data(), bytes.size());
        }
        if (put > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(put));
            continue;
        }
        pollfd ready{fd, POLLOUT, 0};
        if (put < 0 && (errno == EINTR || (errno == EAGAIN && ::poll(&ready, 1, 1000) > 0))) {
            continue;
        }
        return;
    }
}

// The decimal number at at, 0 when there is none (as "ATE" means "ATE0"); -1 when it is too long
// to be any register or value.
int TakeNumber(const std::string& text, std::size_t& at) {
    int value = 0;
    int digits = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0; ++at) {
        value = value * 10 + (text[at] - '0');
        if (++digits > 3) {
            return -1;
        }
    }
    return value;
}

} // namespace

SimulatedModem::SimulatedModem(int fd, SimulatedModemOptions options)
    : fd_(fd), options_(std::move(options)) {
    options_.timeScale = std::max(options_.timeScale, 1);
    ResetSettings();
}

SimulatedModem::~SimulatedModem() {
    EndCall();
}

bool SimulatedModem::ParseAnswer(const std::string& name, DialAnswer& answer) {
    static const std::pair<const char*, DialAnswer> kNames[] = {
        {"connect", DialAnswer::Connect},        {"busy", DialAnswer::Busy},
        {"no-answer", DialAnswer::NoAnswer},     {"no-carrier", DialAnswer::NoCarrier},
        {"no-dialtone", DialAnswer::NoDialtone},
    };
    for (const auto& [text, value] : kNames) {
        if (name == text) {
            answer = value;
            return true;
        }
    }
    return false;
}

std::vector<std::string> SimulatedModem::ReceivedLines() const {
    const std::lock_guard lock(mutex_);
    return receivedLines_;
}

std::vector<uint8_t> SimulatedModem::UnitImage() const {
    const std::lock_guard lock(mutex_);
    return unit_ ? unit_->Image() : options_.unit.image;
}

void SimulatedModem::ResetSettings() {
    echo_ = true;
    verbose_ = true;
    quiet_ = false;
    resultLevel_ = 4;
    registers_.fill(0);
    for (const auto& [index, value] : kRegisterDefaults) {
        registers_[static_cast<std::size_t>(index)] = value;
    }
}

Clock::duration SimulatedModem::GuardTime() const {
    return std::chrono::milliseconds(registers_[12] * 20) / options_.timeScale;
}

void SimulatedModem::Run(const std::atomic<bool>& stop) {
    uint8_t buffer[4096];
    while (!stop) {
        if (hangupWanted_.exchange(false) && (unitFd_ >= 0 || mode_ == Mode::Dialing)) {
            EndCall();
            SendResult(kNoCarrier);
        }
        const short unitEvents = mode_ == Mode::Data ? POLLIN : POLLRDHUP;
        pollfd ready[2] = {{fd_, POLLIN, 0}, {unitFd_, unitEvents, 0}};
        if (::poll(ready, unitFd_ >= 0 ? 2 : 1, 10) > 0 && ready[0].revents != 0) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got > 0) {
                const auto count = static_cast<std::size_t>(got);
                if (mode_ == Mode::Data) {
                    OnDataBytes(buffer, count);
                } else if (mode_ == Mode::Dialing) {
                    // A key pressed while the modem dials gives up the call.
                    mode_ = Mode::Command;
                    SendResult(kNoCarrier);
                } else {
                    OnCommandBytes(buffer, count);
                }
            } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
                // Nobody on the terminal's side: wait for someone to open it again.
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
        if (unitFd_ >= 0 && ready[1].revents != 0) {
            OnUnitBytes();
        }
        OnTick();
    }
    EndCall();
}

void SimulatedModem::OnCommandBytes(const uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const uint8_t byte = bytes[i];
        if (echo_ && !options_.dead) {
            SendAll(fd_, std::string(1, static_cast<char>(byte)));
        }
        if (byte == registers_[3]) {
            const std::string line = std::move(lineBuffer_);
            lineBuffer_.clear();
            ExecuteLine(line);
            if (mode_ != Mode::Command) {
                return; // whatever followed the line in the same write is not a command
            }
        } else if (byte == registers_[5]) {
            if (!lineBuffer_.empty()) {
                lineBuffer_.pop_back();
            }
        } else if (byte != registers_[4] && lineBuffer_.size() < 255) {
            lineBuffer_ += static_cast<char>(byte);
        }
    }
}

void SimulatedModem::ExecuteLine(const std::string& line) {
    if (line.empty()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        receivedLines_.push_back(line);
    }
    std::string upper = line;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const std::size_t start = upper.find("AT");
    if (options_.dead || start == std::string::npos) {
        return; // a modem ignores anything that is not a command
    }
    const std::string commands = line.substr(start + 2);
    if (options_.setupFails && commands.find_first_not_of(' ') != std::string::npos) {
        SendResult(kError);
        return;
    }
    std::size_t at = 0;
    while (at < commands.size()) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(commands[at++])));
        if (c == ' ') {
            continue;
        }
        if (c == 'D') {
            Dial(commands.substr(at)); // the number takes the rest of the line
            return;
        }
        if (c == 'O') {
            if (TakeNumber(commands, at) < 0 || unitFd_ < 0) {
                SendResult(unitFd_ < 0 ? kNoCarrier : kError);
            } else {
                EnterDataMode();
            }
            return;
        }
        if (!ExecuteCommand(c, commands, at)) {
            SendResult(kError); // what came before stays done, as on a real modem
            return;
        }
    }
    SendResult(kOk);
}

bool SimulatedModem::ExecuteCommand(char c, const std::string& commands, std::size_t& at) {
    const auto letterAt = [&] {
        return at < commands.size()
                   ? static_cast<char>(std::toupper(static_cast<unsigned char>(commands[at++])))
                   : '\0';
    };
    if (c == '&') {
        const char which = letterAt();
        const int value = TakeNumber(commands, at);
        if (which == 'F' && value == 0) {
            ResetSettings();
            return true;
        }
        // DTR and carrier detect settings are taken; the line has neither to show.
        return (which == 'D' && value >= 0 && value <= 3) ||
               (which == 'C' && value >= 0 && value <= 1);
    }
    if (c == 'S') {
        const int index = TakeNumber(commands, at);
        const char op = letterAt();
        if (index < 0 || index > 255) {
            return false;
        }
        if (op == '?') {
            char text[8];
            std::snprintf(text, sizeof text, "%03d", registers_[static_cast<std::size_t>(index)]);
            SendInfo(text);
            return true;
        }
        const int value = TakeNumber(commands, at);
        if (op != '=' || value < 0 || value > 255) {
            return false;
        }
        registers_[static_cast<std::size_t>(index)] = value;
        return true;
    }
    if (c == '+') {
        const std::size_t end = std::min(commands.find(';', at), commands.size());
        std::string name = commands.substr(at, end - at);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char n) { return static_cast<char>(std::toupper(n)); });
        at = std::min(end + 1, commands.size());
        if (name == "FCLASS=?") {
            SendInfo(options_.dataCalls ? "0,1,8" : "8");
            return true;
        }
        if (name == "FCLASS=0") {
            return options_.dataCalls;
        }
        if (name != "GMM") {
            return false;
        }
        SendInfo(kModelName);
        return true;
    }
    const std::size_t letter = kLetters.find(c);
    const int value = TakeNumber(commands, at);
    if (letter == std::string_view::npos || value < 0 || value > kLetterMaximum[letter]) {
        return false;
    }
    switch (c) {
    case 'E':
        echo_ = value == 1;
        break;
    case 'V':
        verbose_ = value == 1;
        break;
    case 'Q':
        quiet_ = value == 1;
        break;
    case 'X':
        resultLevel_ = value;
        break;
    case 'Z':
        ResetSettings();
        break;
    case 'I':
        SendInfo(kModelName);
        break;
    case 'H':
        if (value == 0) {
            EndCall(); // after "+++": ends the call quietly, the OK says it is done
        }
        break;
    default:
        break; // the speaker's volume and on/off: nothing to hear here
    }
    return true;
}

void SimulatedModem::Dial(const std::string& number) {
    if (unitFd_ >= 0) {
        SendResult(kError); // a call is up already
        return;
    }
    const std::size_t last = number.find_last_not_of(' ');
    if (last != std::string::npos && number[last] == ';') {
        // Off hook, the dial tone checked, the number dialed: the modem waits for more.
        SendResult(options_.answer == DialAnswer::NoDialtone ? kNoDialtone : kOk);
        return;
    }
    mode_ = Mode::Dialing;
    dialDue_ =
        Clock::now() + std::chrono::milliseconds(options_.answerDelayMs) / options_.timeScale;
}

void SimulatedModem::FinishDial() {
    // In the order of DialAnswer.
    static constexpr Result kAnswers[] = {kConnect, kBusy, kNoAnswer, kNoCarrier, kNoDialtone};
    const Result result = kAnswers[static_cast<int>(options_.answer)];
    mode_ = Mode::Command;
    if (result != kConnect) {
        SendResult(result);
    } else if (StartCall()) {
        EnterDataMode();
    } else {
        SendResult(kNoCarrier);
    }
}

bool SimulatedModem::StartCall() {
    int link[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, link) != 0) {
        return false;
    }
    ::fcntl(link[0], F_SETFL, ::fcntl(link[0], F_GETFL) | O_NONBLOCK);
    SimulatedUnitOptions unitOptions = options_.unit;
    unitOptions.hangUpOnLeave = true;
    {
        // Each call reaches the same unit: it holds what the last call uploaded.
        const std::lock_guard lock(mutex_);
        if (unit_) {
            unitOptions.image = unit_->Image();
        }
        unit_ = std::make_unique<SimulatedUnit>(link[1], std::move(unitOptions));
    }
    unitFd_ = link[0];
    unitStop_ = false;
    // The unit's end closes when the unit hangs up, which the modem reads as the carrier lost.
    unitThread_ = std::thread([this, fd = link[1], unit = unit_.get()] {
        unit->Run(unitStop_);
        ::close(fd);
    });
    return true;
}

void SimulatedModem::EndCall() {
    mode_ = Mode::Command;
    escapeCount_ = 0;
    if (unitFd_ < 0) {
        return;
    }
    unitStop_ = true;
    unitThread_.join();
    ::close(unitFd_);
    unitFd_ = -1;
}

void SimulatedModem::EnterDataMode() {
    SendResult(kConnect);
    mode_ = Mode::Data;
    escapeCount_ = 0;
    lastTerminalByte_ = Clock::now();
}

void SimulatedModem::OnDataBytes(const uint8_t* bytes, std::size_t count) {
    // "+++" is held back until it is clear whether it is the escape: silence for the guard time
    // before it, the three close together, and silence again after (OnTick sees to that).
    const auto now = Clock::now();
    const auto escape = static_cast<char>(registers_[2]);
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        const auto byte = static_cast<char>(bytes[i]);
        const bool afterSilence = now - lastTerminalByte_ >= GuardTime();
        if (escapeCount_ > 0 && (afterSilence || byte != escape || escapeCount_ == 3)) {
            out.append(static_cast<std::size_t>(escapeCount_), escape); // data after all
            escapeCount_ = 0;
        }
        if (byte == escape && (escapeCount_ > 0 || afterSilence)) {
            ++escapeCount_;
        } else {
            out += byte;
        }
        lastTerminalByte_ = now;
    }
    ForwardToUnit(out);
}

void SimulatedModem::OnTick() {
    const auto now = Clock::now();
    if (mode_ == Mode::Dialing && now >= dialDue_) {
        FinishDial();
    }
    if (mode_ == Mode::Data && escapeCount_ > 0 && now - lastTerminalByte_ >= GuardTime()) {
        if (escapeCount_ == 3) {
            mode_ = Mode::Command; // the call stays up until ATH
            SendResult(kOk);
        } else {
            ForwardToUnit(std::string(static_cast<std::size_t>(escapeCount_),
                                      static_cast<char>(registers_[2])));
        }
        escapeCount_ = 0;
    }
}

void SimulatedModem::OnUnitBytes() {
    char buffer[4096];
    const ssize_t got = ::read(unitFd_, buffer, sizeof buffer);
    if (got > 0) {
        if (mode_ == Mode::Data) {
            SendAll(fd_, std::string(buffer, static_cast<std::size_t>(got)));
        }
        return; // while the terminal gives commands, the unit's bytes are lost
    }
    if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
        EndCall();
        SendResult(kNoCarrier);
    }
}

void SimulatedModem::SendResult(Result result) {
    if (quiet_) {
        return;
    }
    // Lower X settings do not tell a busy line or a missing dial tone from a plain failure.
    if ((result == kBusy || result == kNoDialtone) && resultLevel_ < 3) {
        result = kNoCarrier;
    }
    // Indexed by the numeric code; the codes of rates other than 9600 never come.
    static const char* const kWords[] = {"OK", "CONNECT",     "RING", "NO CARRIER", "ERROR",
                                         "",   "NO DIALTONE", "BUSY", "NO ANSWER"};
    std::string word = kWords[result];
    int code = result;
    if (result == kConnect && resultLevel_ > 0) {
        word = "CONNECT 9600";
        code = 12;
    }
    const auto cr = static_cast<char>(registers_[3]);
    const auto lf = static_cast<char>(registers_[4]);
    SendAll(fd_, verbose_ ? std::string{cr, lf} + word + cr + lf : std::to_string(code) + cr);
}

void SimulatedModem::SendInfo(const std::string& text) {
    const auto cr = static_cast<char>(registers_[3]);
    const auto lf = static_cast<char>(registers_[4]);
    SendAll(fd_, (verbose_ ? std::string{cr, lf} : std::string()) + text + cr + lf);
}

void SimulatedModem::ForwardToUnit(const std::string& bytes) {
    if (!bytes.empty() && unitFd_ >= 0) {
        SendAll(unitFd_, bytes);
    }
}

} // namespace tolvane
