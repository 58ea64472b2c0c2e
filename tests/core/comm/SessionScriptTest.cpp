// The keystrokes a session types into the unit's menu, write by write: both logins, the closing
// bytes after a failed transfer, the two kinds of cancel, a cancel that comes after the module
// has arrived, and how the unit's screen output becomes log lines.
#include "ImageBuilder.h"
#include "comm/CCommSession.h"
#include "comm/ProgressSink.h"
#include "support/UnitOnLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <sys/socket.h>
#include <unistd.h>

namespace tolvane {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using Strings = std::vector<std::string>;

const std::string kEsc = "\x1b", kCr = "\r", kCtrlZ = "\x1a", kCan = "\x18";
// Up to the CR after the area number; each key is a write of its own.
const Strings kLogin = {kEsc, "1", "2", "3", "4", kCr, "2", "9", kCr};

Strings Then(Strings first, const Strings& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// Lines, captions and the two end notices in the order they came. The thread waits at the gate
// entry until Release(), as it does while the window is busy elsewhere.
class RecordingSink : public ProgressSink {
public:
    std::string gate;

    void AppendLogLine(const std::string& line) override { Record(line); }
    void SetProgressTitle(const std::string& title) override { Record("caption: " + title); }
    void MakeCloseButton() override {}
    void PostComplete() override { Record("complete"); }
    void PostAborted() override { Record("aborted"); }

    bool WaitFor(const Strings& entries) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(
            lock, 10s, [&] { return std::ranges::find_first_of(log_, entries) != log_.end(); });
    }
    void Release() {
        const std::lock_guard lock(mutex_);
        gate.clear();
        changed_.notify_all();
    }
    Strings Log() {
        const std::lock_guard lock(mutex_);
        return log_;
    }
    void Clear() {
        const std::lock_guard lock(mutex_);
        log_.clear();
    }

private:
    void Record(const std::string& entry) {
        std::unique_lock lock(mutex_);
        log_.push_back(entry);
        changed_.notify_all();
        changed_.wait(lock, [&] { return entry != gate; });
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    Strings log_;
};

class SessionScriptTest : public ::testing::Test {
protected:
    void TearDown() override {
        session_.Finish();
        if (peer_ >= 0) {
            ::close(peer_);
        }
    }
    // A packet socket keeps the boundaries of the session's writes, so each keystroke shows as a
    // record of its own.
    void Connect(int type) {
        int ends[2];
        ASSERT_EQ(::socketpair(AF_UNIX, type, 0, ends), 0);
        session_.Channel().Adopt(ends[0]);
        peer_ = ends[1];
    }
    // The unit stays silent while the thread runs its script to the end; the user cancels when
    // the thread reaches the gate.
    void RunSilent(int mode, const std::string& gate = {}) {
        session_.mode = mode;
        session_.password = "1234";
        session_.SetSink(&sink_);
        sink_.gate = gate;
        Connect(SOCK_SEQPACKET);
        ASSERT_TRUE(session_.StartCommThread());
        if (!gate.empty()) {
            ASSERT_TRUE(sink_.WaitFor({gate}));
            session_.OnCancel();
            sink_.Release();
        }
        ASSERT_TRUE(sink_.WaitFor({"complete", "aborted"}));
        session_.Finish();
    }
    Strings Writes() const {
        Strings writes;
        char record[64];
        for (ssize_t got = 0; (got = ::recv(peer_, record, sizeof record, MSG_DONTWAIT)) > 0;) {
            writes.emplace_back(record, static_cast<std::size_t>(got));
        }
        return writes;
    }
    // The log from the given entry on; the starting thread's own line may fall anywhere.
    Strings LogFrom(const std::string& first) {
        Strings log = sink_.Log();
        std::erase(log, "Created communication thread");
        return {std::find(log.begin(), log.end(), first), log.end()};
    }
    // The lines of a screen the unit has already sent, read on this thread.
    Strings Screen(const std::string& bytes) {
        sink_.Clear();
        EXPECT_EQ(::write(peer_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        session_.ReadScreen();
        return sink_.Log();
    }

    RecordingSink sink_;
    // Short protocol waits: a unit that never answers fails the transfer quickly.
    CCommSession session_{[] {
        ChannelTimeouts timeouts = ChannelTimeouts().ScaledDown(50);
        timeouts.protocolWait = 40ms;
        return timeouts;
    }()};
    int peer_ = -1;
};

TEST_F(SessionScriptTest, FailedDownloadTypesTheLoginThenLeavesTheArea) {
    RunSilent(kDownloadSession);
    const Strings writes = Writes();
    const long login = static_cast<long>(kLogin.size()) + 1;
    ASSERT_GT(writes.size(), kLogin.size() + 1 + 10 + 6);
    EXPECT_EQ(Strings(writes.begin(), writes.begin() + login), Then(kLogin, {kCr}));
    // The receiver asks for the first packet again and again, then gives up.
    const auto asks = std::find_if(writes.begin() + login, writes.end(),
                                   [](const std::string& write) { return write != "C"; });
    EXPECT_GE(asks - writes.begin() - login, 10);
    EXPECT_EQ(Strings(asks, writes.end()), (Strings{kCan, kEsc, kEsc, kEsc, kEsc, kCtrlZ}));
    EXPECT_EQ(LogFrom("Giving the password..."),
              (Strings{"Giving the password...", "Gave the password", "Going to area 29",
                       "Getting Data", "caption: Receiving Memory Module",
                       "Error getting first packet", "Sending the Ctrl+Z", "complete"}));
    EXPECT_FALSE(session_.Succeeded());

    // The thread posts its notice whatever the outcome; the window says the transfer failed.
    session_.OnComplete();
    const std::string failed = "ERROR:  Transfer failed -- the memory module was not transferred";
    EXPECT_EQ(LogFrom("complete"), (Strings{"complete", failed, "caption: Failed"}));
}

TEST_F(SessionScriptTest, UploadLoginMovesTheCursorUpBeforeItsCr) {
    RunSilent(kUploadSession); // no packets, so the transfer fails at once
    EXPECT_EQ(Writes(), Then(kLogin, {"\x1b[A", kCr, kEsc, kEsc, kEsc, kEsc, kCtrlZ}));
    EXPECT_EQ(LogFrom("Giving the password..."),
              (Strings{"Giving the password...", "Gave the password", "Going to area 29",
                       "Sending Data", "No packets to send", "Sending the Ctrl+Z", "complete"}));
    EXPECT_FALSE(session_.Succeeded());
}

TEST_F(SessionScriptTest, CancelDuringLoginSendsOnlyCtrlZ) {
    RunSilent(kDownloadSession, "Giving the password...");
    EXPECT_EQ(Writes(), (Strings{kEsc, kCtrlZ}));
    EXPECT_EQ(
        LogFrom("Giving the password..."),
        (Strings{"Giving the password...", "caption: Canceling...", "caption: Canceled by User",
                 "Sending the Ctrl+Z", "Thread canceled", "aborted"}));
    // The thread has ended by now: nothing is left to cancel.
    session_.OnAborted();
    EXPECT_EQ(LogFrom("aborted"),
              (Strings{"aborted", "ERROR:  Communication aborted", "caption: Aborted"}));
}

TEST_F(SessionScriptTest, CancelDuringTransferCancelsTheProtocolFirst) {
    RunSilent(kDownloadSession, "caption: Receiving Memory Module");
    EXPECT_EQ(Writes(), Then(kLogin, {kCr, kCan, kCan, kEsc, kCr, kEsc, kCtrlZ}));
    EXPECT_EQ(
        LogFrom("Getting Data"),
        (Strings{"Getting Data", "caption: Receiving Memory Module", "caption: Canceling...",
                 "caption: Canceled by User", "Sending the Ctrl+Z", "Thread canceled", "aborted"}));
}

// Once the module has arrived, a cancel cuts only the closing keystrokes short: the session
// succeeded, and the window says so rather than "Canceled by User" and "Aborted" while the caller
// keeps the module.
TEST(SessionOutcomeTest, ACancelAfterTheModuleArrivedKeepsTheTransfer) {
    UnitOnLine unit(ImageBuilder(0x70).Bytes());
    CCommSession session(ChannelTimeouts().ScaledDown(UnitOnLine::kTimeScale));
    RecordingSink sink;
    std::string error;
    ASSERT_TRUE(session.Channel().Open("COM1", unit.Device(), error)) << error;
    session.mode = kDownloadSession;
    session.password = UnitOnLine::kPassword;
    session.SetSink(&sink);
    sink.gate = "Transfer complete"; // the unit's screen after it has its EOT acknowledged
    ASSERT_TRUE(session.StartCommThread());
    ASSERT_TRUE(sink.WaitFor({sink.gate, "complete"}));
    session.OnCancel();
    sink.Release();
    ASSERT_TRUE(sink.WaitFor({"aborted"}));
    session.OnAborted();
    session.Finish();

    EXPECT_TRUE(session.Succeeded());
    EXPECT_EQ(PacketData(session.packets), unit.Unit().Image());
    const Strings log = sink.Log();
    EXPECT_EQ(
        Strings(std::find(log.begin(), log.end(), "Transfer complete"), log.end()),
        (Strings{"Transfer complete", "caption: Canceling...", "caption: Complete",
                 "Sending the Ctrl+Z", "Remote programming ended.  Goodbye.", "Thread canceled",
                 "aborted", "Communication sucessfully complete", "caption: Complete"}));
    // The EOT's ACK, then straight to Ctrl+Z: the CR that steps back to the menu was cut.
    const std::vector<uint8_t> received = unit.Unit().Received();
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(std::vector<uint8_t>(received.end() - 2, received.end()),
              (std::vector<uint8_t>{0x06, 0x1A}));
}

// A session whose thread never ran counts as cancelled. A thread that finds no line ends aborted
// at once and leaves the running flag set (the window's abort handler clears it), so from then on
// this thread may read the screen itself.
class SessionScreenTest : public SessionScriptTest {
protected:
    void SetUp() override {
        session_.SetSink(&sink_);
        ASSERT_TRUE(session_.StartCommThread());
        ASSERT_TRUE(sink_.WaitFor({"aborted"}));
        ASSERT_TRUE(session_.IsRunning());
        Connect(SOCK_STREAM);
    }
};

TEST_F(SessionScreenTest, TextBetweenNulAndEscapeBecomesLines) {
    EXPECT_EQ(Screen("\x1b[2J\0Password:   \x1b[5;1H"s), Strings{"Password:"});
    EXPECT_EQ(Screen("Area 29: memory module  "), Strings{"Area 29: memory module"});
    EXPECT_EQ(Screen("\0Door 1\x1b[1mheld\0Door 2\x1b[0m"s), (Strings{"Door 1", "Door 2"}));
}

TEST_F(SessionScreenTest, YesNoAloneIsKeptForTheNextText) {
    EXPECT_EQ(Screen("\0Yes No\x1b[7m"s), Strings{});
    EXPECT_EQ(Screen("\0Yes No\x1b[7m\0 Clear?\x1b[0m"s), Strings{"Yes No Clear?"});
    EXPECT_EQ(Screen("\0yes no\x1b[0m"s), Strings{"yes no"});
}

TEST_F(SessionScreenTest, LongLinesAreCutTo255) {
    const std::string longest(255, 'B');
    EXPECT_EQ(Screen(std::string(300, 'A') + "\x1b[K\0"s + longest),
              (Strings{std::string(255, 'A'), longest}));
}

} // namespace
} // namespace tolvane
