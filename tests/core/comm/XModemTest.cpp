// XModem-1K with CRC-16: the checksum, cutting files into packets and writing them back, and both
// directions of a transfer against a scripted unit on the other end of a socket.
#include "comm/CCommSession.h"
#include "comm/ProgressSink.h"
#include "comm/TransferProgress.h"
#include "comm/XModemPacket.h"
#include "comm/XModemTransfer.h"
#include "support/ScriptedUserServices.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <fstream>
#include <iterator>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace tolvane {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

constexpr char kStx = 0x02, kEot = 0x04, kAck = 0x06, kNak = 0x15, kCan = 0x18;
const std::string kEotLine = "Received the EOT -- Transmission finished";

Strings Repeated(Strings lines, const std::string& line, std::size_t times) {
    lines.insert(lines.end(), times, line);
    return lines;
}

XModemPacket Packet(uint8_t number, uint8_t fill) {
    const std::vector<uint8_t> data(kPacketDataSize, fill);
    return MakePacket(Crc16(), number, data);
}

std::string Wire(const XModemPacket& packet) {
    return kStx + std::string(packet.begin(), packet.end());
}

// Runs work() on this thread while another hands each byte that reaches fd to answer().
template <class Answer, class Work> void Play(int fd, Answer answer, Work work) {
    std::atomic<bool> stop{false};
    std::thread peer([&] {
        for (char byte = 0;;) {
            const bool stopping = stop; // then all the session wrote can be read already
            pollfd ready{fd, POLLIN, 0};
            if (::poll(&ready, 1, 10) > 0 && ::read(fd, &byte, 1) == 1) {
                answer(byte);
            } else if (stopping) {
                return;
            }
        }
    });
    work();
    stop = true;
    peer.join();
}

// Keeps lines and captions; the thread's abort notice wakes WaitAborted().
class RecordingSink : public ProgressSink {
public:
    void AppendLogLine(const std::string& line) override {
        const std::lock_guard lock(mutex_);
        log_.push_back(line);
        changed_.notify_all();
    }
    void SetProgressTitle(const std::string& title) override { AppendLogLine("caption: " + title); }
    void MakeCloseButton() override {}
    void PostComplete() override {}
    void PostAborted() override { AppendLogLine("aborted"); }
    bool WaitAborted() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [this] { return std::ranges::count(log_, "aborted"); });
    }
    Strings TakeLines() {
        const std::lock_guard lock(mutex_);
        return std::exchange(log_, {});
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    Strings log_;
};

class XModemTest : public ::testing::Test {
protected:
    void TearDown() override {
        session_.reset();
        if (peer_ >= 0) {
            ::close(peer_);
        }
    }
    // Each line operation checks for a cancel first, and a session whose thread never ran counts
    // as cancelled. A thread that finds no line ends aborted at once and leaves the running flag
    // set (the window's abort handler clears it), so from then on this thread may drive the
    // transfer itself.
    void Open(std::chrono::milliseconds protocolWait) {
        ChannelTimeouts timeouts = ChannelTimeouts().ScaledDown(50);
        timeouts.protocolWait = protocolWait;
        session_ = std::make_unique<CCommSession>(timeouts);
        session_->SetSink(&sink_);
        ASSERT_TRUE(session_->StartCommThread());
        ASSERT_TRUE(sink_.WaitAborted());
        ASSERT_TRUE(session_->IsRunning());
        sink_.TakeLines();
        int ends[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
        session_->Channel().Adopt(ends[0]);
        peer_ = ends[1];
    }
    void PeerSends(const std::string& bytes) const {
        ASSERT_EQ(::write(peer_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // The unit sends: the first item goes out on the first 'C', each further one on the next ACK
    // or NAK. The 'C's are left out of the answers; how many come depends on timing.
    void ExpectReceive(const char* name, const Strings& items, bool ok, const std::string& answers,
                       Strings lines, const PacketArray& kept) {
        SCOPED_TRACE(name);
        session_->packets.clear();
        std::string seen;
        std::size_t next = 0;
        bool received = !ok;
        Play(
            peer_,
            [&](char byte) {
                seen += byte == 'C' ? "" : std::string(1, byte);
                if ((byte == 'C' ? next == 0 : byte == kAck || byte == kNak) &&
                    next < items.size()) {
                    PeerSends(items[next++]);
                }
            },
            [&] { received = XModemTransfer(*session_).Receive(); });
        EXPECT_EQ(received, ok);
        EXPECT_EQ(seen, answers);
        lines.insert(lines.begin(), "caption: Receiving Memory Module");
        EXPECT_EQ(sink_.TakeLines(), lines);
        EXPECT_TRUE(session_->packets == kept);
    }
    // The unit takes: the CR that starts the transfer, each packet and each EOT get the next
    // scripted byte (0 stays silent); what came is noted as events.
    void ExpectSend(const char* name, const PacketArray& packets, const std::string& script,
                    bool ok, const Strings& events, const Strings& lines) {
        SCOPED_TRACE(name);
        session_->packets = packets;
        Strings seen;
        std::size_t next = 0;
        bool sent = !ok;
        Play(
            peer_,
            [&](char byte) {
                if (byte == kStx) {
                    XModemPacket packet{};
                    ASSERT_EQ(::recv(peer_, packet.data(), packet.size(), MSG_WAITALL),
                              static_cast<ssize_t>(packet.size()));
                    EXPECT_EQ(session_->Crc().Compute(std::span(packet).subspan(2)), 0);
                    seen.push_back("packet " + std::to_string(packet[0]));
                } else {
                    seen.push_back(byte == '\r' ? "CR" : byte == kEot ? "EOT" : "CAN");
                }
                if (byte != kCan && next < script.size() && script[next++] != 0) {
                    PeerSends(std::string(1, script[next - 1]));
                }
            },
            [&] { sent = XModemTransfer(*session_).Send(); });
        EXPECT_EQ(sent, ok);
        EXPECT_EQ(seen, events);
        EXPECT_EQ(sink_.TakeLines(), lines);
    }

    RecordingSink sink_;
    std::unique_ptr<CCommSession> session_;
    int peer_ = -1;
};

TEST(CrcTest, KnownValueAndPacketsCheckToZero) {
    const Crc16 crc;
    const std::string digits = "123456789";
    EXPECT_EQ(crc.Compute(std::span(reinterpret_cast<const uint8_t*>(digits.data()), 9)), 0x31C3);
    const XModemPacket packet = Packet(7, 0xA5);
    EXPECT_EQ(packet[0], 7);
    EXPECT_EQ(packet[1], 0xF8);
    EXPECT_EQ(crc.Compute(std::span(packet).subspan(2)), 0);
}

class PacketFileTest : public ::testing::Test {
protected:
    std::string File(const std::string& bytes) const { return dir_.WriteText("image.mem", bytes); }
    std::string Read(const std::string& path) const {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    TempDirectory dir_;
    ScriptedUserServices ui_;
    Crc16 crc_;
    PacketArray packets_;
};

TEST_F(PacketFileTest, FileIsCutIntoNumberedZeroFilledPackets) {
    std::string image(2500, '\0');
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<char>(i * 7 + 3);
    }
    ASSERT_TRUE(LoadPacketsFromFile(packets_, File(image), crc_, ui_));
    ASSERT_EQ(packets_.size(), 3u);
    for (std::size_t n = 0; n < 3; ++n) {
        EXPECT_EQ(packets_[n][0], n + 1);
        EXPECT_EQ(packets_[n][1], static_cast<uint8_t>(~(n + 1)));
        EXPECT_EQ(crc_.Compute(std::span(packets_[n]).subspan(2)), 0);
    }
    const std::string last(packets_[2].begin() + 2, packets_[2].end() - 2);
    EXPECT_EQ(last, image.substr(2048) + std::string(572, '\0'));

    // Only the data bytes go back into a file, fill included.
    ASSERT_TRUE(SavePacketsToFile(packets_, dir_.Path("copy.mem"), ui_));
    EXPECT_EQ(Read(dir_.Path("copy.mem")), image + std::string(572, '\0'));
    EXPECT_TRUE(ui_.Shown().empty());
}

TEST_F(PacketFileTest, EmptyFileGivesNoPacketsAndNumbersWrapAfter255) {
    ASSERT_TRUE(LoadPacketsFromFile(packets_, File(""), crc_, ui_));
    EXPECT_TRUE(packets_.empty());
    ASSERT_TRUE(LoadPacketsFromFile(packets_, File(std::string(257 * 1024, 'x')), crc_, ui_));
    ASSERT_EQ(packets_.size(), 257u);
    EXPECT_EQ(packets_[254][0], 255);
    EXPECT_EQ(packets_[255][0], 0);
    EXPECT_EQ(packets_[255][1], 0xFF);
    EXPECT_EQ(packets_[256][0], 1);
}

TEST_F(PacketFileTest, FilesThatWillNotOpenAreReported) {
    packets_.push_back(Packet(1, 0));
    LoadPacketsFromFile(packets_, dir_.Path("missing.mem"), crc_, ui_);
    EXPECT_TRUE(packets_.empty());
    packets_.push_back(Packet(1, 0));
    const std::string nowhere = dir_.Path("no/such/dir.mem");
    EXPECT_FALSE(SavePacketsToFile(packets_, nowhere, ui_));
    // A device is no place for a module: never written to, so a full disk or a terminal cannot
    // take half of it.
    EXPECT_FALSE(SavePacketsToFile(packets_, "/dev/full", ui_));
    EXPECT_EQ(ui_.Texts(), (std::vector<std::string>{
                               "Error opening file",
                               "Error opening file\n" + nowhere + ": No such file or directory",
                               "Error opening file\n/dev/full: Invalid argument"}));
    for (const ShownMessage& shown : ui_.Shown()) {
        EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
        EXPECT_EQ(shown.buttons, MessageButtons::Ok);
    }
}

TEST_F(XModemTest, ReceiverKeepsGoodNewPacketsOnly) {
    const XModemPacket p1 = Packet(1, 0x11), p2 = Packet(2, 0x22), p3 = Packet(3, 0x33);
    XModemPacket badComplement = p1, badCrc = p1;
    badComplement[1] ^= 0x01;
    badCrc[500] ^= 0x40;
    const std::string ack(1, kAck), nak(1, kNak), can(1, kCan), eot(1, kEot);
    const std::string got1 = "Sucessfully received packet 1",
                      got2 = "Sucessfully received packet 2";
    const std::string same = "Received the same packet";
    Open(1000ms);
    ExpectReceive("good", {Wire(p1), Wire(p2), eot}, true, ack + ack + ack, {got1, got2, kEotLine},
                  {p1, p2});
    ExpectReceive("damaged", {Wire(badComplement), Wire(badCrc), Wire(p1), eot}, true,
                  nak + nak + ack + ack,
                  {"Packed sequence integrity error", "Packed CRC error; performing packet retry",
                   got1, kEotLine},
                  {p1});
    ExpectReceive("stray byte", {"x", Wire(p1), eot}, true, nak + ack + ack,
                  {"Packed receive error; performing retry", got1, kEotLine}, {p1});
    ExpectReceive("duplicate", {Wire(p1), Wire(p1), Wire(p2), eot}, true, ack + ack + ack + ack,
                  {got1, same, got2, kEotLine}, {p1, p2});
    ExpectReceive("ten duplicates", Strings(11, Wire(p1)), false, std::string(11, kAck) + can,
                  Repeated({got1}, same, 10), {p1});
    ExpectReceive("sequence jump", {Wire(p1), Wire(p3)}, false, ack + can,
                  {got1, "Fatal Packet Sequence Error"}, {p1});
    ExpectReceive("EOT at once", {eot}, false, can,
                  {"Received the EOT before any packet -- nothing was received"}, {});
    ExpectReceive("sender cancels", {Wire(p1), can}, false, ack + can,
                  {got1, "Fatal packet receive error"}, {p1});
}

TEST_F(XModemTest, SenderFollowsTheReceiversAnswers) {
    const XModemPacket p1 = Packet(1, 0x11), p2 = Packet(2, 0x22);
    const std::string one = "packet 1", nak = "Received NAK; resending packet";
    const std::string sending = "caption: Sending Memory Module";
    const std::string uploaded = "Upload Successful  --  All packets sent";
    Open(1000ms);
    ExpectSend("nothing", {}, "C", false, {}, {"No packets to send"});
    ExpectSend("acknowledged", {p1, p2}, {'C', kAck, kAck, kAck}, true,
               {"CR", one, "packet 2", "EOT"},
               {sending, "Sent packet 1", "Sent packet 2", uploaded});
    ExpectSend("resent", {p1}, {kNak, kNak, 'C', 'x', kAck, kAck}, true,
               {"CR", one, one, one, one, "EOT"},
               {sending, nak, "Received C; resending packet", "Bad response; resending packet",
                "Sent packet 1", uploaded});
    ExpectSend("cancelled", {p1}, {'C', kCan}, false, {"CR", one, "CAN"},
               {sending, "Received CAN; aborting transmission"});
    ExpectSend("ten refusals", {p1}, 'C' + std::string(10, kNak), false,
               Repeated(Repeated({"CR"}, one, 10), "CAN", 1), Repeated({sending}, nak, 10));
}

TEST_F(XModemTest, SilentReceiverEndsTheUpload) {
    Open(40ms); // each wait for an answer is short, so silence is found quickly
    const std::string sending = "caption: Sending Memory Module";
    ExpectSend("no start", {Packet(1, 0x11)}, "", false, {"CR"},
               {sending, "XModem send timed out"});
    ExpectSend("no answer", {Packet(1, 0x11)}, "C", false, {"CR", "packet 1", "CAN"},
               {sending, "No response; aborting transmission"});
}

// The progress shown while packets move: the rate is over the time since the start, the time left
// is at that rate, rounded up; without a size, or once more came than the size said, only bytes
// and rate are told.
TEST(TransferProgressTest, RateAndTimeLeftFromBytesAndTime) {
    using std::chrono::seconds;
    const TransferProgress::Clock::time_point start{};
    TransferProgress download(128 * 1024, false, start);
    download.Update(0, start);
    EXPECT_EQ(download.Text(), "Received 0 KB of 128 KB (0 %), 0.0 KB/s");
    download.Update(32 * 1024, start + seconds(10));
    EXPECT_EQ(download.Percent(), 25);
    EXPECT_EQ(download.TimeLeft(), seconds(30));
    EXPECT_EQ(download.Text(), "Received 32 KB of 128 KB (25 %), 3.2 KB/s, 30 s left");
    download.Update(33 * 1024, start + seconds(11));
    EXPECT_EQ(download.TimeLeft(), seconds(32)); // 95 KB at 3 KB/s is 31.7 s
    download.Update(129 * 1024, start + seconds(40));
    EXPECT_EQ(download.Total(), 0u);
    EXPECT_EQ(download.Text(), "Received 129 KB, 3.2 KB/s");

    TransferProgress upload(256 * 1024, true, start);
    upload.Update(1024, start + seconds(1));
    EXPECT_EQ(upload.Text(), "Sent 1 KB of 256 KB (0 %), 1.0 KB/s, 4 min 15 s left");
    upload.Update(136 * 1024, start + seconds(136));
    EXPECT_EQ(upload.Text(), "Sent 136 KB of 256 KB (53 %), 1.0 KB/s, 2 min left");
    upload.Update(256 * 1024, start + seconds(256));
    EXPECT_EQ(upload.Text(), "Sent 256 KB of 256 KB (100 %), 1.0 KB/s");
}

} // namespace
} // namespace tolvane
