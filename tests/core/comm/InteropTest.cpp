// Our XModem-1K against an independent implementation, lrzsz's sx and rx, on pseudo-terminals:
// what we receive from sx is the file it sent, what we send lands in rx's file byte for byte, and
// the blocks rx spoils on purpose are sent again. The unit's menu has no part here, so the
// transfer runs from inside the communication thread's first log line, where the session is live.
#include "comm/CCommSession.h"
#include "comm/ProgressSink.h"
#include "comm/XModemTransfer.h"
#include "support/ScriptedUserServices.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <mutex>
#include <poll.h>
#include <random>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

bool OpenRawPair(int& master, int& slave) {
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    slave = master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0
                ? -1
                : ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios line{};
    if (slave < 0 || ::tcgetattr(slave, &line) != 0) {
        return false;
    }
    ::cfmakeraw(&line);
    return ::tcsetattr(slave, TCSANOW, &line) == 0;
}

// An lrzsz program on one pseudo-terminal and a relay to a second one, whose slave the session
// takes. lrzsz empties its input right after every answer it writes, trusting the line's delay to
// keep the reply from arriving first; a pseudo-terminal has none, so the relay holds what we send
// until a while after the program last spoke. Only the program holds its slave: when it ends, the
// relay ends and our side hangs up at once, rather than sitting out the protocol waits.
class LrzszLine {
public:
    // swallow: bytes the program must not see, read away before it starts.
    LrzszLine(const std::vector<std::string>& args, const fs::path& dir, int swallow) {
        int slave = -1;
        if (!OpenRawPair(program_, slave) || !OpenRawPair(relay_, ours_)) {
            return;
        }
        std::vector<char*> argv;
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(slave, 0);
            ::dup2(slave, 1);
            ::dup2(::open("/dev/null", O_WRONLY), 2);
            char byte = 0;
            for (int i = 0; i < swallow && ::read(0, &byte, 1) == 1; ++i) {
            }
            if (::chdir(dir.c_str()) == 0) {
                ::execvp(argv[0], argv.data());
            }
            ::_exit(127);
        }
        ::close(slave);
        thread_ = std::thread([this] { Relay(); });
    }
    ~LrzszLine() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (thread_.joinable()) {
            thread_.join();
        }
        ::close(program_);
    }

    // Our side, for the session to take over and close; -1 when the line could not be set up.
    int Ours() const { return thread_.joinable() ? ours_ : -1; }
    // The program's exit status; -1 when it has not ended within 10 s.
    int Wait() {
        const auto deadline = Clock::now() + 10s;
        int status = 0;
        pid_t ended = 0;
        while ((ended = ::waitpid(pid_, &status, WNOHANG)) == 0 && Clock::now() < deadline) {
            std::this_thread::sleep_for(10ms);
        }
        if (ended != pid_) {
            return -1;
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    static bool Pass(int from, int to) {
        char buffer[4096];
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        return got > 0 && ::write(to, buffer, static_cast<std::size_t>(got)) == got;
    }
    void Relay() {
        auto spoke = Clock::now();
        for (;;) {
            const bool mayPass = Clock::now() >= spoke + 30ms;
            pollfd ready[2] = {{program_, POLLIN, 0}, {relay_, POLLIN, 0}};
            ::poll(ready, mayPass ? 2 : 1, 5);
            if (ready[0].revents != 0) {
                if (!Pass(program_, relay_)) {
                    break;
                }
                spoke = Clock::now();
            }
            if (ready[1].revents != 0 && !Pass(relay_, program_)) {
                break;
            }
        }
        ::close(relay_);
    }

    int program_ = -1, relay_ = -1, ours_ = -1;
    pid_t pid_ = -1;
    std::thread thread_;
};

// Runs the transfer on the communication thread from inside its first log line and keeps every
// line.
class TransferOnThread : public ProgressSink {
public:
    TransferOnThread(CCommSession& session, std::function<bool(XModemTransfer&)> run)
        : session_(session), run_(std::move(run)) {}

    void AppendLogLine(const std::string& line) override {
        {
            const std::lock_guard lock(mutex_);
            lines_ += line + '\n';
        }
        if (line == "Communication Thread Started") {
            XModemTransfer transfer(session_);
            transferred_ = run_(transfer);
        }
    }
    void SetProgressTitle(const std::string&) override {}
    void MakeCloseButton() override {}
    void PostComplete() override {}
    void PostAborted() override {}

    // Whether the transfer succeeded; afterwards the thread has ended and the line is closed.
    bool Run() {
        session_.SetSink(this);
        const auto deadline = Clock::now() + 30s;
        // The thread clears the running flag as it ends its work.
        if (session_.StartCommThread()) {
            while (session_.IsRunning() && Clock::now() < deadline) {
                std::this_thread::sleep_for(10ms);
            }
        }
        session_.Finish();
        session_.SetSink(nullptr);
        return transferred_;
    }
    const std::string& Lines() const { return lines_; }

private:
    CCommSession& session_;
    std::function<bool(XModemTransfer&)> run_;
    bool transferred_ = false;
    std::mutex mutex_;
    std::string lines_;
};

class InteropTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v sx >/dev/null && command -v rx >/dev/null") != 0) {
            GTEST_SKIP() << "lrzsz (sx, rx) is not installed";
        }
        // Whole blocks only, so neither side pads or falls back to 128-byte blocks.
        std::mt19937 random(1206);
        data_.resize(16 * kPacketDataSize);
        std::generate(data_.begin(), data_.end(), [&] { return static_cast<uint8_t>(random()); });
        dir_.WriteBytes("module.bin", data_);
    }

    // Our upload to rx; the file rx writes must be what we sent. Returns our log.
    std::string SendToRx(std::vector<std::string> options) {
        options.insert(options.begin(), {"rx", "-c"});
        options.push_back("received.bin");
        // The CR that opens our send is a keystroke for the unit's menu; rx would take it for a
        // broken block header, so rx starts after it.
        LrzszLine rx(options, dir_.Dir(), 1);
        session_.Channel().Adopt(rx.Ours());
        ScriptedUserServices ui;
        EXPECT_TRUE(
            LoadPacketsFromFile(session_.packets, dir_.Path("module.bin"), session_.Crc(), ui));
        TransferOnThread sink(session_, [](XModemTransfer& transfer) { return transfer.Send(); });
        const bool sent = sink.Run();
        EXPECT_EQ(rx.Wait(), 0);
        // rx empties its output as it leaves, which can take its last ACK along: its file is the
        // judge, and every block must have been acknowledged to us.
        EXPECT_TRUE(sent || sink.Lines().find("Sent packet 16\n") != std::string::npos)
            << sink.Lines();
        EXPECT_EQ(TempDirectory::ReadBytes(dir_.Path("received.bin")), data_);
        return sink.Lines();
    }

    TempDirectory dir_;
    std::vector<uint8_t> data_;
    // Generous for lrzsz, which answers at its own pace and waits up to 10 s for us.
    CCommSession session_{ChannelTimeouts().ScaledDown(2)};
};

TEST_F(InteropTest, ReceivesWhatSxSends) {
    LrzszLine sx({"sx", "-k", "module.bin"}, dir_.Dir(), 0);
    session_.Channel().Adopt(sx.Ours());
    TransferOnThread sink(session_, [](XModemTransfer& transfer) { return transfer.Receive(); });
    EXPECT_TRUE(sink.Run()) << sink.Lines();
    EXPECT_EQ(sx.Wait(), 0);
    ASSERT_EQ(session_.packets.size(), 16u);
    std::vector<uint8_t> received;
    for (std::size_t i = 0; i < session_.packets.size(); ++i) {
        const XModemPacket& packet = session_.packets[i];
        EXPECT_EQ(packet[0], i + 1);
        received.insert(received.end(), packet.begin() + 2, packet.begin() + 2 + kPacketDataSize);
    }
    EXPECT_EQ(received, data_);
}

TEST_F(InteropTest, RxReceivesWhatWeSendAndWhatItSpoilsIsSentAgain) {
    std::string log = SendToRx({});
    EXPECT_EQ(log.find("Received NAK"), std::string::npos) << log;
    fs::remove(dir_.Path("received.bin"));
    // rx --errors N spoils the CRC of what it reads every N bytes: a few blocks of the sixteen.
    log = SendToRx({"--errors", "5000"});
    EXPECT_NE(log.find("Received NAK; resending packet"), std::string::npos) << log;
}

} // namespace
} // namespace tolvane
