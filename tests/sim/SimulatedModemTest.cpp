// The simulated modem as a terminal sees it: echo, result codes in words or numbers, every dial
// answer and how the X setting reports it, "+++" only with its guard times, and the hang-ups. A
// whole session through it is the modem transfer tests' business.
#include "ImageBuilder.h"
#include "PseudoTerminal.h"
#include "SimulatedModem.h"

#include <gtest/gtest.h>

#include <tuple>

#include <algorithm>
#include <atomic>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace tolvane {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

constexpr int kTimeScale = 20; // a guard time of 50 ms
const std::string kName = SimulatedModem::kModelName;

SimulatedModemOptions Options(DialAnswer answer = DialAnswer::Connect) {
    SimulatedModemOptions options;
    options.answer = answer;
    options.timeScale = kTimeScale;
    options.unit.image = ImageBuilder(0x70).Bytes();
    options.unit.timeScale = kTimeScale;
    return options;
}

// The modem answering fd on its own thread for as long as it lives.
class ModemOnLine {
public:
    ModemOnLine(int fd, SimulatedModemOptions options) : modem(fd, std::move(options)) {}
    ~ModemOnLine() {
        stop_ = true;
        thread_.join();
    }

    SimulatedModem modem;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_{[this] { modem.Run(stop_); }};
};

// The terminal's end of a socket pair, the modem at the other.
class Terminal {
public:
    explicit Terminal(SimulatedModemOptions options) {
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds_), 0);
        line_ = std::make_unique<ModemOnLine>(fds_[1], std::move(options));
    }
    ~Terminal() {
        line_.reset();
        ::close(fds_[0]);
        ::close(fds_[1]);
    }

    // Sends text and checks the reply, read to its length so what follows is left for the next
    // exchange; an empty reply is a short look for anything at all.
    void Expect(const std::string& text, const std::string& reply) {
        EXPECT_EQ(::send(fds_[0], text.data(), text.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(text.size()));
        EXPECT_EQ(Hear(reply.size()), reply) << "after " << text;
    }
    std::string Hear(std::size_t count) {
        std::string heard;
        char byte = 0;
        pollfd ready{fds_[0], POLLIN, 0};
        while (heard.size() < std::max<std::size_t>(count, 1) &&
               ::poll(&ready, 1, count == 0 ? 150 : 3000) > 0 && ::read(fds_[0], &byte, 1) == 1) {
            heard += byte;
        }
        return heard;
    }
    SimulatedModem& Modem() { return line_->modem; }

private:
    int fds_[2] = {-1, -1};
    std::unique_ptr<ModemOnLine> line_;
};

TEST(SimulatedModemTest, CommandsEchoAndAnswerInWordsOrNumbers) {
    Terminal terminal(Options());
    const std::pair<std::string, std::string> script[] = {
        {"AT\r", "AT\r\r\nOK\r\n"},
        {"hello\r", "hello\r"},          // no AT: ignored
        {"at e0 v0\r", "at e0 v0\r0\r"}, // a line is echoed before it takes effect
        {"ATY\r", "4\r"},
        {"ATQ1\r", ""},
        {"ATS300=1\r", ""},
        {"ATQ0V1E1\r", "\r\nOK\r\n"},
        {"ATXY\b4\r", "ATXY\b4\r\r\nOK\r\n"},
        {"ati3+gmm\r", "ati3+gmm\r\r\n" + kName + "\r\n\r\n" + kName + "\r\n\r\nOK\r\n"},
        {"AT&D2&C1S12=25S12?\r", "AT&D2&C1S12=25S12?\r\r\n025\r\n\r\nOK\r\n"},
        {"ATS300=1\r", "ATS300=1\r\r\nERROR\r\n"},
        {"AT&K3\r", "AT&K3\r\r\nERROR\r\n"},
        {"ATE0V0Z\r", "ATE0V0Z\r\r\nOK\r\n"},
        {"ATS12?\r", "ATS12?\r\r\n050\r\n\r\nOK\r\n"}, // Z brought the defaults back
        {"AT+FCLASS=?;+FCLASS=0\r", "AT+FCLASS=?;+FCLASS=0\r\r\n0,1,8\r\n\r\nOK\r\n"},
    };
    for (const auto& [text, reply] : script) {
        terminal.Expect(text, reply);
    }
    const std::vector<std::string> lines = terminal.Modem().ReceivedLines();
    ASSERT_EQ(lines.size(), std::size(script));
    EXPECT_EQ(lines[1] + "|" + lines[7], "hello|ATX4");

    // A fax-only modem: no data class to offer or to switch to.
    SimulatedModemOptions faxOnly = Options();
    faxOnly.dataCalls = false;
    Terminal fax(faxOnly);
    fax.Expect("ATE0\r", "ATE0\r\r\nOK\r\n");
    fax.Expect("AT+FCLASS=?\r", "\r\n8\r\n\r\nOK\r\n");
    fax.Expect("AT+FCLASS=0\r", "\r\nERROR\r\n");
}

// The dialer's own tests go through every answer in words under X4; here what it never asks for:
// numbers, and the lower X settings that fold BUSY and NO DIALTONE into NO CARRIER.
TEST(SimulatedModemTest, DialAnswersFollowTheXSetting) {
    const std::tuple<DialAnswer, std::string, std::string> cases[] = {
        {DialAnswer::Connect, "ATX0DT5551234\r", "\r\nCONNECT\r\n"},
        {DialAnswer::Busy, "ATV0X4DP5551234\r", "7\r"},
        {DialAnswer::Busy, "ATX0DT5551234\r", "\r\nNO CARRIER\r\n"},
        {DialAnswer::NoDialtone, "ATV0X2D5551234\r", "3\r"},
    };
    for (const auto& [answer, dial, result] : cases) {
        Terminal terminal(Options(answer));
        terminal.Expect(dial, dial + result);
    }
}

// "+++" counts only with silence before and after it: sent straight after data it is data (the
// unit answers each character of a password with a star). The call survives the escape until
// ATH, which says OK and not NO CARRIER; a dropped DTR ends it with NO CARRIER.
TEST(SimulatedModemTest, EscapeNeedsItsGuardTimesAndHangUpsEndTheCall) {
    Terminal terminal(Options());
    terminal.Expect("ATE0\r", "ATE0\r\r\nOK\r\n");
    terminal.Expect("ATDT1\r", "\r\nCONNECT 9600\r\n");
    terminal.Expect("\x1b", "\x1b[2J\x1b[1;1H\0VARKO ACCESS CONTROL   Remote Programming"
                            "\x1b[5;1H\0Password:   "s);
    terminal.Expect("a+++", "****");
    std::this_thread::sleep_for(100ms);
    terminal.Expect("+++", "\r\nOK\r\n");
    terminal.Expect("ATO\r", "\r\nCONNECT 9600\r\n");
    terminal.Expect("b", "*");
    std::this_thread::sleep_for(100ms);
    terminal.Expect("+++", "\r\nOK\r\n");
    terminal.Expect("ATH\r", "\r\nOK\r\n");
    terminal.Expect("ATO\r", "\r\nNO CARRIER\r\n");

    terminal.Expect("ATD1\r", "\r\nCONNECT 9600\r\n");
    terminal.Modem().Hangup();
    EXPECT_EQ(terminal.Hear(14), "\r\nNO CARRIER\r\n");
    terminal.Expect("AT\r", "\r\nOK\r\n");
}

} // namespace
} // namespace tolvane
