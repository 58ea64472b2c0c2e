// The line to the unit over a socket pair: silent reads, hang-ups, the gap that ends a longer
// read, single-character writes with their six attempts, closing twice, and a device that is not
// there; over a pseudo-terminal: exclusive use that ends with the session, and a line that never
// drains.
#include "PseudoTerminal.h"
#include "comm/CCommSession.h"
#include "comm/ProgressSink.h"
#include "comm/SerialChannel.h"
#include "support/AsOrdinaryUser.h"
#include "support/ScriptedUserServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace tolvane {
namespace {

using namespace std::chrono_literals;

const ChannelTimeouts kFast = ChannelTimeouts().ScaledDown(50);

// Keeps lines, captions and the thread's abort notice; WaitFor() waits for one of them.
class RecordingSink : public ProgressSink {
public:
    void AppendLogLine(const std::string& line) override { Record(line); }
    void SetProgressTitle(const std::string& title) override { Record("caption: " + title); }
    void MakeCloseButton() override {}
    void PostComplete() override {}
    void PostAborted() override { Record("aborted"); }
    bool WaitFor(const std::string& entry) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return std::ranges::count(log_, entry); });
    }
    std::vector<std::string> TakeLines() {
        const std::lock_guard lock(mutex_);
        return std::exchange(log_, {});
    }

private:
    void Record(const std::string& entry) {
        const std::lock_guard lock(mutex_);
        log_.push_back(entry);
        changed_.notify_all();
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> log_;
};

// Each line operation checks for a cancel first, and a session whose thread never ran counts as
// cancelled. A thread that finds no line ends aborted at once and leaves the running flag set
// (the window's abort handler clears it), so from then on this thread may drive the line itself.
void TakeOver(CCommSession& session, RecordingSink& sink) {
    session.SetSink(&sink);
    ASSERT_TRUE(session.StartCommThread());
    ASSERT_TRUE(sink.WaitFor("aborted"));
    ASSERT_TRUE(session.IsRunning());
    sink.TakeLines();
}

class SerialChannelTest : public ::testing::Test {
protected:
    void SetUp() override {
        int ends[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
        near_ = ends[0];
        peer_ = ends[1];
    }
    void TearDown() override {
        if (peer_ >= 0) {
            ::close(peer_);
        }
    }
    // The channel takes over our end and closes it.
    int Near() { return std::exchange(near_, -1); }
    void PeerWrites(const std::string& bytes) const {
        ASSERT_EQ(::write(peer_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    int near_ = -1;
    int peer_ = -1;
};

TEST_F(SerialChannelTest, SilenceReadsAsNothingAndHangUpFails) {
    SerialChannel channel(kFast);
    channel.Adopt(Near());
    uint8_t buffer[4] = {};
    SerialChannel::ReadResult read = channel.ReadBytes(buffer, 1);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.count, 0u);

    PeerWrites("ab");
    ::close(std::exchange(peer_, -1));
    read = channel.ReadBytes(buffer, 1);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.count, 1u);
    EXPECT_FALSE(channel.ReadBytes(buffer, sizeof buffer).ok);
}

TEST_F(SerialChannelTest, GapAfterTheFirstBytesEndsALongerRead) {
    ChannelTimeouts timeouts = kFast;
    timeouts.readInterval = 10ms;
    timeouts.readPerByte = 200ms; // ten bytes would be allowed two seconds in all
    timeouts.readConstant = 0ms;
    SerialChannel channel(timeouts);
    channel.Adopt(Near());
    PeerWrites("abc");
    // Bytes that come long after the gap belong to the next read.
    std::thread late([this] {
        std::this_thread::sleep_for(600ms);
        PeerWrites("def");
    });
    uint8_t buffer[10] = {};
    const SerialChannel::ReadResult read = channel.ReadBytes(buffer, sizeof buffer);
    late.join();
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(std::string(buffer, buffer + read.count), "abc");
}

TEST_F(SerialChannelTest, WriteCharFailsQuietlyWhenClosedAndLoudlyWhenStuck) {
    RecordingSink sink;
    CCommSession session(kFast);
    TakeOver(session, sink);
    EXPECT_FALSE(session.WriteChar('x'));
    EXPECT_TRUE(sink.TakeLines().empty());

    // A peer that never reads: fill our sending side until not one more byte fits.
    const int size = 4096;
    ASSERT_EQ(::setsockopt(near_, SOL_SOCKET, SO_SNDBUF, &size, sizeof size), 0);
    ASSERT_EQ(::fcntl(near_, F_SETFL, O_NONBLOCK), 0);
    const std::string chunk(512, 'f');
    while (::write(near_, chunk.data(), chunk.size()) > 0) {
    }
    while (::write(near_, chunk.data(), 1) > 0) {
    }
    ASSERT_EQ(errno, EAGAIN);
    PeerWrites("echo");
    session.Channel().Adopt(Near());

    EXPECT_FALSE(session.WriteChar('x'));
    std::vector<std::string> expected;
    for (int attempt = 1; attempt <= 6; ++attempt) {
        expected.push_back("Time out writing character; attempt: " + std::to_string(attempt));
    }
    EXPECT_EQ(sink.TakeLines(), expected);
    uint8_t byte = 0;
    const SerialChannel::ReadResult read = session.ReadBytes(&byte, 1);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.count, 0u) << "the unit's answer should have been discarded";
}

TEST_F(SerialChannelTest, ClosingTwiceLeavesOtherDescriptorsAlone) {
    SerialChannel channel(kFast);
    channel.Adopt(Near());
    channel.Close();
    EXPECT_FALSE(channel.IsOpen());
    char byte = 0;
    EXPECT_EQ(::read(peer_, &byte, 1), 0) << "the peer should see the hang-up";

    // The freed descriptor number is likely handed out again; a second close must not take it.
    int other[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, other), 0);
    channel.Close();
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_NE(::fcntl(other[0], F_GETFD), -1);
    EXPECT_NE(::fcntl(other[1], F_GETFD), -1);
    ::close(other[0]);
    ::close(other[1]);
}

// Whether an ordinary user could open the device now: with exclusive use taken, only root can.
bool OthersCanOpen(const std::string& path) {
    const AsOrdinaryUser ordinary({path});
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
    }
    return fd >= 0;
}

// A closed port is free again, for the next session and for every other program, even while
// something else (here the simulated line itself) keeps the device open.
TEST(PseudoTerminalLineTest, ClosingGivesUpExclusiveUse) {
    PseudoTerminal line;
    std::string error;
    ASSERT_TRUE(line.Open(error)) << error;
    for (int session = 1; session <= 2; ++session) {
        SerialChannel channel(kFast);
        ASSERT_TRUE(channel.Open("COM1", line.SlavePath(), error)) << error;
        EXPECT_FALSE(OthersCanOpen(line.SlavePath())) << session;
        channel.Close();
        EXPECT_TRUE(OthersCanOpen(line.SlavePath())) << session;
    }
}

// A line that never drains holds each write for its whole time-out, a second per byte. The window
// must not hang on it: once a cancel has given the thread its wait to end, the line is cut under
// the write, the thread ends at once and the log says what happened before the window's OK; the
// last resort, when the window closes with the thread still stuck, does the same.
TEST(StuckLineTest, ALineThatNeverDrainsIsCutUnderTheStuckWrite) {
    ChannelTimeouts timeouts = kFast;
    timeouts.writePerByte = ChannelTimeouts().writePerByte; // the unit's own
    timeouts.writeConstant = ChannelTimeouts().writeConstant;
    for (const bool cancelled : {true, false}) {
        SCOPED_TRACE(cancelled);
        // A line of its own each time: closing a session empties the one before.
        PseudoTerminal line;
        std::string error;
        ASSERT_TRUE(line.Open(error)) << error;
        const int other = ::open(line.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(other, 0);
        // What is written moves on to the far end's buffer in the background, which makes room
        // again: fill until no more room comes.
        const std::string chunk(512, 'f');
        for (pollfd room{other, POLLOUT, 0}; ::poll(&room, 1, 200) > 0;) {
            while (::write(other, chunk.data(), chunk.size()) > 0) {
            }
            while (::write(other, chunk.data(), 1) > 0) {
            }
        }
        CCommSession session(timeouts);
        ScriptedUserServices ui;
        RecordingSink sink;
        session.SetSink(&sink);
        session.mode = kDownloadSession;
        session.password = "1234";
        session.portSelector = kCom1;
        session.devicePath = line.SlavePath();
        ASSERT_TRUE(session.OnInitialise(ui));
        // Even so a byte may find room now and then: stop once a write has waited in vain.
        ASSERT_TRUE(sink.WaitFor("Time out writing character; attempt: 1"));
        if (cancelled) {
            session.OnCancel();
            ASSERT_TRUE(sink.WaitFor("aborted"));
            session.OnAborted();
        }
        session.Finish();
        ::close(other);

        const std::vector<std::string> log = sink.TakeLines();
        EXPECT_NE(std::ranges::find(
                      log, "ERROR:  The line to the unit stopped responding and was closed"),
                  log.end());
        EXPECT_EQ(log.back(), cancelled ? "caption: Aborted" : "caption: Failed");
    }
}

TEST(SerialChannelOpenTest, MissingDeviceNamesPortPathAndReason) {
    SerialChannel channel(kFast);
    const std::string path = "/nonexistent/tolvane-ttyS9";
    std::string error;
    EXPECT_FALSE(channel.Open("COM1", path, error));
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_EQ(error.rfind("Error in opening COM1\n", 0), 0u) << error;
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find(std::strerror(ENOENT)), std::string::npos) << error;
    EXPECT_EQ(DirectPortName(2), "COM1");
    EXPECT_EQ(DirectPortName(5), "COM4");
}

} // namespace
} // namespace tolvane
