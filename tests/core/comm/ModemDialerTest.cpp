// The dialer against the simulated modem on a pseudo-terminal, in scaled time: setting the modem
// up, every answer to a dial as call states, the data that flows once connected, hanging up from
// data mode through "+++" (a pseudo-terminal has no DTR), and a cancel in the middle of a dial.
// Also the canonical number the dial starts from.
#include "ImageBuilder.h"
#include "PseudoTerminal.h"
#include "SimulatedModem.h"
#include "comm/CanonicalNumber.h"
#include "comm/DialingLocation.h"
#include "comm/ModemDialer.h"
#include "comm/SerialChannel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <tuple>
#include <thread>

namespace tolvane {
namespace {

using namespace std::chrono_literals;

constexpr int kTimeScale = 10; // guard times of 100 ms on both sides

// The log lines of the call states, joined by "|".
class CallLog : public CallEvents {
public:
    std::string lines;
    void OnCallState(CallState state, DisconnectReason reason) override {
        if (!lines.empty()) {
            lines += '|';
        }
        lines += LogLine(state, reason);
    }
};

// The simulated modem on the master side of a pseudo-terminal, and the program's channel on the
// slave side with a dialer on it.
class ModemLine {
public:
    explicit ModemLine(SimulatedModemOptions options) {
        std::string error;
        EXPECT_TRUE(pty_.Open(error)) << error;
        options.timeScale = kTimeScale;
        options.unit.image = ImageBuilder(0x70).Bytes();
        options.unit.timeScale = kTimeScale;
        modem = std::make_unique<SimulatedModem>(pty_.MasterFd(), std::move(options));
        thread_ = std::thread([this] { modem->Run(stop_); });
        EXPECT_TRUE(channel.Open("COM1", pty_.SlavePath(), error)) << error;
    }
    ~ModemLine() {
        channel.Close();
        stop_ = true;
        thread_.join();
    }

    // Sends text on the line and returns what comes back within a short while; what came before
    // (the end of the last result line) is dropped.
    std::string Converse(const std::string& text, std::size_t expected) {
        channel.PurgeReceive();
        channel.WriteBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        std::string reply(expected, '\0');
        const auto read = channel.ReadBytes(reinterpret_cast<uint8_t*>(reply.data()), expected);
        return reply.substr(0, read.count);
    }

    SerialChannel channel{ChannelTimeouts().ScaledDown(kTimeScale)};
    CallLog log;
    ModemDialer dialer{channel, log};
    std::unique_ptr<SimulatedModem> modem;

private:
    PseudoTerminal pty_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A modem that refuses or says nothing fails the set-up with the reason; a good one is set up
// but is given no number it cannot dial whole.
TEST(ModemDialerTest, InitialiseSaysWhyNotAndOddNumbersAreNeverDialed) {
    const std::tuple<bool, bool, std::string> cases[] = {
        {false, false, ""},
        {true, false, "The modem refused \"ATZ\" with ERROR."},
        {false, true, "The modem does not answer: nothing came back to \"ATZ\"."},
    };
    for (const auto& [setupFails, dead, expected] : cases) {
        SimulatedModemOptions options;
        options.setupFails = setupFails;
        options.dead = dead;
        ModemLine line(options);
        std::string error;
        EXPECT_EQ(line.dialer.Initialise(error), expected.empty());
        EXPECT_EQ(error, expected);
    }
    ModemLine line({});
    std::string error;
    ASSERT_TRUE(line.dialer.Initialise(error)) << error;
    for (const std::string number : {"", "555;1234", "+1 (555) 1234567", "555\r1234"}) {
        EXPECT_EQ(line.dialer.Dial(number, DialMethod::Tone).error,
                  "\"" + number + "\" is not a number the modem can dial.");
    }
    EXPECT_EQ(line.modem->ReceivedLines(), (std::vector<std::string>{"ATZ", "ATE0V1X4"}));
    EXPECT_EQ(line.log.lines, "");
}

// Each answer gives its states in order; only a dial tone lets the number go out. After CONNECT
// the unit is on the line; the hang-up goes through "+++" and ATH, after which the modem is in
// command mode with no call left.
TEST(ModemDialerTest, EachAnswerGivesItsCallStates) {
    const std::string dialed = "Got a dialtone|Now dialing|Waiting for answer|";
    struct Case {
        DialAnswer answer;
        DialMethod method;
        DialOutcome outcome;
        std::string reply;
        std::string log;
    };
    const Case cases[] = {
        {DialAnswer::Connect, DialMethod::Tone, DialOutcome::Connected, "CONNECT 9600",
         dialed + "Call connected!"},
        {DialAnswer::Busy, DialMethod::Pulse, DialOutcome::Disconnected, "BUSY",
         dialed + "Line is busy|Disconnect due to busy line"},
        {DialAnswer::NoAnswer, DialMethod::Tone, DialOutcome::Disconnected, "NO ANSWER",
         dialed + "No answer"},
        {DialAnswer::NoCarrier, DialMethod::Tone, DialOutcome::Disconnected, "NO CARRIER",
         dialed + "Line was disconnected"},
        {DialAnswer::NoDialtone, DialMethod::Tone, DialOutcome::Disconnected, "NO DIALTONE",
         "Line was disconnected"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        SimulatedModemOptions options;
        options.answer = c.answer;
        options.answerDelayMs = 500;
        ModemLine line(options);
        std::string error;
        ASSERT_TRUE(line.dialer.Initialise(error)) << error;
        const DialResult result = line.dialer.Dial("555-1234", c.method);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.reply, c.reply);
        EXPECT_EQ(line.log.lines, c.log);
        const std::string dial = c.method == DialMethod::Tone ? "ATDT" : "ATDP";
        std::vector<std::string> commands = {"ATZ", "ATE0V1X4", dial + ";"};
        if (c.answer != DialAnswer::NoDialtone) {
            commands.push_back(dial + "555-1234");
        }
        EXPECT_EQ(line.modem->ReceivedLines(), commands);
        if (c.outcome == DialOutcome::Connected) {
            EXPECT_NE(line.Converse("\x1b", 40).find("VARKO ACCESS CONTROL"), std::string::npos);
            ASSERT_TRUE(line.dialer.HangUp(error)) << error;
            EXPECT_TRUE(line.log.lines.ends_with("|Line is now idle"));
            EXPECT_EQ(line.modem->ReceivedLines().back(), "ATH");
            EXPECT_EQ(line.Converse("ATO\r", 14), "\r\nNO CARRIER\r\n");
        }
    }
}

TEST(ModemDialerTest, CancelDuringALongDialHangsUpPromptly) {
    SimulatedModemOptions options;
    options.answerDelayMs = 60000;
    ModemLine line(options);
    std::string error;
    ASSERT_TRUE(line.dialer.Initialise(error)) << error;
    std::thread canceller([&] {
        std::this_thread::sleep_for(200ms);
        line.dialer.Cancel();
    });
    const DialResult result = line.dialer.Dial("5551234", DialMethod::Tone);
    canceller.join();
    EXPECT_EQ(result.outcome, DialOutcome::Cancelled);
    EXPECT_EQ(line.log.lines, "Got a dialtone|Now dialing|Waiting for answer|Line is now idle");
    EXPECT_EQ(line.modem->ReceivedLines().back(), "ATH");
}

// The canonical number from the installation's area code and number, then translated for an
// office in area 555 behind an outside line: the area and country prefixes only where the number
// needs them, the readable marks kept out of what is dialed.
TEST(ModemDialerTest, NumbersFromTheInstallationToTheModem) {
    const std::tuple<std::string, bool, bool, std::string> canonical[] = {
        {"555", true, false, "+1 (555) 1234567"}, {"555", true, true, "+1 (555) 1234567"},
        {"", true, true, "+1 1234567"},           {"555", false, true, "+1 555-1234567"},
        {"", false, true, "+1 -1234567"},         {"555", false, false, "+1 1234567"},
    };
    for (const auto& [area, longDistance, includeArea, expected] : canonical) {
        EXPECT_EQ(CanonicalNumber(area, "1234567", longDistance, includeArea), expected);
    }
    DialingLocation office;
    office.areaCode = "555";
    office.outsideLinePrefix = "9,";
    const std::pair<std::string, std::string> translated[] = {
        {"+1 (555) 1234567", "9,1234567|9, 1234567"},
        {"+1 (212) 123-4567", "9,12121234567|9, 1 (212) 123-4567"},
        {"+1 555-1234567", "9,5551234567|9, 555-1234567"},
        {"+44 (20) 7946 0000", "9,011442079460000|9, 011 44 (20) 7946 0000"},
        {"+44 79460000", "9,0114479460000|9, 011 44 79460000"},
        {"1234", "9,1234|9, 1234"},
    };
    for (const auto& [number, expected] : translated) {
        const TranslatedNumber result = office.Translate(number);
        EXPECT_EQ(result.dialable + "|" + result.displayable, expected);
    }
}

} // namespace
} // namespace tolvane
