// One download or upload: the line to the unit, the keystroke dialogue of the unit's menu, the
// XModem transfer and the communication thread that runs them, with the flags it shares with the
// user interface thread.
#pragma once

#include "comm/ChannelTimeouts.h"
#include "comm/ModemDialer.h"
#include "comm/SerialChannel.h"
#include "comm/TransferProgress.h"
#include "comm/XModemPacket.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace tolvane {

class ModemLine;
class ProgressSink;
class UserServices;
struct LineMessage;

enum SessionMode : int { kNoSession = 0, kDownloadSession = 1, kUploadSession = 2 };

// 0 none, 1 dial by modem, 2 to 5 the direct ports COM1 to COM4.
enum PortSelector : uint8_t { kNoPort = 0, kModemPort = 1, kCom1 = 2, kCom4 = 5 };

// The name of a direct port: selector 2 is "COM1".
std::string DirectPortName(int selector);

class CCommSession {
public:
    // A formatted log line holds at most this many characters; a longer one is cut.
    static constexpr std::size_t kMaxLogLine = 255;
    // The version of the line interface the dialer offers, major in the high word: 1.4.
    static constexpr uint32_t kLineVersion = 0x00010004;

    explicit CCommSession(const ChannelTimeouts& timeouts = ChannelTimeouts());
    ~CCommSession();
    CCommSession(const CCommSession&) = delete;
    CCommSession& operator=(const CCommSession&) = delete;

    // --- what the caller sets up before the session runs ------------------------------------

    std::string password;
    int mode = kNoSession;
    PacketArray packets;
    // How many bytes a download is expected to bring (the size of the file it replaces), for the
    // progress shown; 0 when not known. An upload's is the size of its packets.
    std::size_t expectedBytes = 0;
    int portSelector = kNoPort;
    std::string devicePath; // the device a direct port stands for
    // How messages name the port; empty: the COM name of the selector.
    std::string portName;

    // The call on the modem path: the unit's number as the installation has it, and the modem
    // and numbers the communication setup chose.
    std::string countryCode;
    std::string areaCode;
    std::string phoneNumber;
    std::string deviceName;  // the modem's name, for the log
    std::string modemDevice; // the device its line is opened on
    uint32_t telephonyVersion = kLineVersion;
    std::string dialableNumber;    // what the modem dials
    std::string displayableNumber; // the same for the user's eyes
    DialMethod dialMethod = DialMethod::Tone;

    void SetSink(ProgressSink* sink) { sink_ = sink; }
    bool Succeeded() const { return success_ != 0; }
    bool IsRunning() const { return running_ != 0; }
    bool IsInTransfer() const { return inTransfer_ != 0; }
    // The thread has done all its work (or never started); its end notice may still be on its
    // way.
    bool ThreadEnded() const;
    // A thread was started and its end notice has not been handled yet.
    bool AwaitingNotice() const { return awaitingNotice_; }
    SerialChannel& Channel() { return channel_; }
    const Crc16& Crc() const { return crc_; }

    // The session on a direct port: the progress window runs it modally; afterwards the thread
    // has ended and the line is closed. Returns whether the transfer succeeded.
    bool RunDirectSession(UserServices& ui, int selector, int sessionMode,
                          const std::string& unitPassword, const std::string& device);

    // The session by modem: finds the modems, lets the user choose modem, location and number
    // in "Communication Setup", then dials and transfers in the progress window. false when
    // there is no modem, the setup was cancelled or the transfer did not succeed.
    bool RunModemSession(UserServices& ui, int sessionMode, const std::string& country,
                         const std::string& area, const std::string& phone,
                         const std::string& configDirectory, const std::string& unitPassword);
    // The call and transfer alone, once modem and number are known (the fields above).
    bool RunModemCall(UserServices& ui, int sessionMode, const std::string& unitPassword);

    // --- the progress window's handlers, on the user interface thread -----------------------

    // Opens the line and starts the thread; false (with the reason logged or shown) when it
    // could not start.
    bool OnInitialise(UserServices& ui);
    // Cancel or Escape while a session is attached: stops it; the window stays open.
    void OnCancel();
    // The thread's end notices. Whichever way the thread ended, the window's last word follows
    // the success flag that the caller acts on: a transfer that succeeded is shown complete, even
    // when a cancel cut the closing keystrokes short.
    void OnComplete();
    void OnAborted();
    // The modem line has queued messages (ProgressSink::PostLineEvent): each is handled now.
    void OnLineEvent();
    // After the window closed: waits for the thread as long as a cancel would, then cuts the
    // line under a thread still stuck in it, so the thread ends at once; the thread is joined
    // before the line is closed.
    void Finish();

    // --- session control ---------------------------------------------------------------------

    bool OpenDirectAndStart(UserServices& ui);
    // The modem path's start: opens the modem's line and places the call; false when the line
    // cannot be opened.
    bool OpenLineAndCall();
    // What the modem line reports, on the user interface thread.
    void LineCallback(const LineMessage& message);
    // The connected call's descriptor, or -1 when the line is gone.
    int GetCommHandle() const;
    bool StartCommThread();
    void StopSession();

    // --- log and status ----------------------------------------------------------------------

    void ProgressLog(const std::string& text);
    void ProgressError(const std::string& text);
    void SetProgressTitle(const std::string& title);
    // The transfer has moved this many packets of the module, on the communication thread.
    void ReportTransferred(std::size_t packetCount);

    // --- the line, with a cancel check before every read and write --------------------------

    bool WriteChar(uint8_t byte);
    bool WriteBlock(const uint8_t* bytes, std::size_t count);
    SerialChannel::ReadResult ReadBytes(uint8_t* buffer, std::size_t count);
    void PurgeReceive() { channel_.PurgeReceive(); }
    // Ends the thread, through CAN and Ctrl+Z to the unit, when the user has cancelled.
    void CheckCancel();

    // --- the unit's menu ---------------------------------------------------------------------

    bool ReadScreen();
    void SkipEcho();
    bool TypeText(const std::string& text);
    void SendCursorUp();
    bool LoginForDownload();
    bool LoginForUpload();
    void SendCtrlZ();
    void RunTransfer();
    // The thread's work from start to end; returns 0.
    int CommThreadMain();

private:
    // Runs the progress window on the port the selector says; whether the transfer succeeded.
    bool Run(UserServices& ui, int selector, int sessionMode, const std::string& unitPassword);
    // The common start of both logins: wake the unit, the password, area 29.
    void EnterArea29();
    void ThreadEntry();
    void EndThreadAborted();
    // Waits at most wait for the thread to end its work; whether it has.
    bool AwaitThreadEnd(ChannelTimeouts::Duration wait);
    // The closing line and caption: the success line and "Complete" when the transfer
    // succeeded, else the error and the given caption.
    void ShowOutcome(const std::string& error, const std::string& caption);
    void AppendScreenLine(std::string& buffer);
    void OnConnected();
    void CloseLine();

    // The request identifiers of the call's two asynchronous steps.
    static constexpr int kMakeCallRequest = 1;
    static constexpr int kDropRequest = 2;

    ChannelTimeouts timeouts_;
    SerialChannel channel_;
    Crc16 crc_;
    ProgressSink* sink_ = nullptr;
    std::unique_ptr<ModemLine> line_; // the call on the modem path, while its line is open
    TransferProgress progress_;       // only the communication thread touches it

    std::atomic<int> running_{0};
    std::atomic<int> inTransfer_{0};
    std::atomic<int> success_{0};
    bool cancelGuard_ = false;    // only the communication thread touches it
    bool awaitingNotice_ = false; // only the user interface thread touches it

    std::thread thread_;
    mutable std::mutex finishedMutex_;
    std::condition_variable finishedSignal_;
    bool finished_ = true;
};

} // namespace tolvane
