#include "comm/CCommSession.h"

#include "comm/CommSetup.h"
#include "comm/ControlBytes.h"
#include "comm/ModemLine.h"
#include "comm/ModemList.h"
#include "comm/ProgressSink.h"
#include "comm/XModemTransfer.h"
#include "support/UserServices.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace tolvane {

namespace {

constexpr int kWriteAttempts = 6;
constexpr const char* kLineClosed = "The line to the unit stopped responding and was closed";

// Thrown by the cancel check to leave the thread's work wherever it stands; caught at the top of
// the thread and never beyond it.
struct ThreadAborted {};

} // namespace

std::string DirectPortName(int selector) {
    return "COM" + std::to_string(selector - 1);
}

CCommSession::CCommSession(const ChannelTimeouts& timeouts)
    : timeouts_(timeouts), channel_(timeouts) {}

CCommSession::~CCommSession() {
    Finish();
}

// --- log and status ----------------------------------------------------------------------------

void CCommSession::ProgressLog(const std::string& text) {
    if (sink_ != nullptr) {
        sink_->AppendLogLine(text.substr(0, kMaxLogLine));
    }
}

void CCommSession::ProgressError(const std::string& text) {
    ProgressLog("ERROR:  " + text);
}

void CCommSession::SetProgressTitle(const std::string& title) {
    if (sink_ != nullptr) {
        sink_->SetProgressTitle(title);
    }
}

void CCommSession::ReportTransferred(std::size_t packetCount) {
    progress_.Update(packetCount * kPacketDataSize, TransferProgress::Clock::now());
    if (sink_ != nullptr) {
        sink_->ShowTransferProgress(progress_);
    }
}

bool CCommSession::RunDirectSession(UserServices& ui, int selector, int sessionMode,
                                    const std::string& unitPassword, const std::string& device) {
    devicePath = device;
    return Run(ui, selector, sessionMode, unitPassword);
}

bool CCommSession::Run(UserServices& ui, int selector, int sessionMode,
                       const std::string& unitPassword) {
    portSelector = selector;
    mode = sessionMode;
    password = unitPassword;
    success_ = 0;
    ui.RunProgressDialog(*this);
    Finish();
    return Succeeded();
}

bool CCommSession::RunModemSession(UserServices& ui, int sessionMode, const std::string& country,
                                   const std::string& area, const std::string& phone,
                                   const std::string& configDirectory,
                                   const std::string& unitPassword) {
    countryCode = country;
    areaCode = area;
    phoneNumber = phone;
    password = unitPassword;
    mode = sessionMode;
    if (mode != kDownloadSession && mode != kUploadSession) {
        return false;
    }
    ModemList modems;
    ModemList::Status status = ModemList::Status::Ok;
    {
        // Looking for modems asks each device that might be one, which takes a moment.
        const BusyCursor busy(ui);
        status = modems.Find(configDirectory, timeouts_);
    }
    if (status != ModemList::Status::Ok) {
        ui.ShowMessage(status == ModemList::Status::NoDevices
                           ? "You have no telephony devices (modems) configured"
                           : "Error initializing telephony resources",
                       MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    CommSetup setup(ui, modems, configDirectory, areaCode, phoneNumber);
    if (!ui.RunCommSetupDialog(setup)) {
        return false;
    }
    // With no modem to choose the call still starts, and opening its line says what is wrong.
    const ModemInfo* modem = setup.ChosenModem();
    deviceName = modem != nullptr ? modem->name : "";
    modemDevice = modem != nullptr ? modem->device : "";
    telephonyVersion = kLineVersion;
    dialableNumber = setup.DialableNumber();
    displayableNumber = setup.DisplayableNumber();
    dialMethod = setup.Method();
    return RunModemCall(ui, mode, password);
}

bool CCommSession::RunModemCall(UserServices& ui, int sessionMode,
                                const std::string& unitPassword) {
    return Run(ui, kModemPort, sessionMode, unitPassword);
}

// --- the progress window's handlers ------------------------------------------------------------

bool CCommSession::OnInitialise(UserServices& ui) {
    if (portSelector == kNoPort) {
        return false;
    }
    const bool started = portSelector == kModemPort ? OpenLineAndCall() : OpenDirectAndStart(ui);
    if (!started) {
        ProgressLog("Error in starting communication");
    }
    return started;
}

void CCommSession::OnCancel() {
    StopSession();
    // Once the module has gone across, a cancel only cuts the closing keystrokes short.
    SetProgressTitle(Succeeded() ? "Complete" : "Canceled by User");
}

void CCommSession::OnComplete() {
    awaitingNotice_ = false;
    StopSession();
    ShowOutcome("Transfer failed -- the memory module was not transferred", "Failed");
}

void CCommSession::OnAborted() {
    awaitingNotice_ = false;
    StopSession();
    ShowOutcome("Communication aborted", "Aborted");
}

void CCommSession::OnLineEvent() {
    while (line_ != nullptr) {
        const std::deque<LineMessage> messages = line_->TakeMessages();
        if (messages.empty()) {
            return;
        }
        for (const LineMessage& message : messages) {
            LineCallback(message);
        }
    }
}

void CCommSession::ShowOutcome(const std::string& error, const std::string& caption) {
    if (Succeeded()) {
        ProgressLog("Communication sucessfully complete");
        SetProgressTitle("Complete");
    } else {
        ProgressError(error);
        SetProgressTitle(caption);
    }
}

void CCommSession::Finish() {
    running_ = 0;
    if (thread_.joinable()) {
        // A write to a line that never drains waits out its time-out of a second per byte: a
        // quarter of an hour for one packet. The window has closed by now and must not hang.
        const bool ended = AwaitThreadEnd(timeouts_.cancelWait);
        if (!ended) {
            channel_.Cut();
        }
        // The thread ends at its next cancel check; until it has, its descriptor stays open.
        thread_.join();
        if (!ended) {
            ShowOutcome(kLineClosed, "Failed");
        }
    }
    if (line_ != nullptr) {
        // A call still up is dropped before the line closes, and what the line said last is
        // still told.
        line_->Join();
        OnLineEvent();
        line_.reset();
    }
    channel_.Close();
}

// --- session control ---------------------------------------------------------------------------

bool CCommSession::OpenDirectAndStart(UserServices& ui) {
    std::string error;
    if (!channel_.Open(portName.empty() ? DirectPortName(portSelector) : portName, devicePath,
                       error)) {
        ui.ShowMessage(error, MessageIcon::None, MessageButtons::Ok);
        channel_.Close();
        return false;
    }
    return StartCommThread();
}

bool CCommSession::OpenLineAndCall() {
    SetProgressTitle("Connecting ...");
    std::string error;
    if (modemDevice.empty() || !channel_.Open(deviceName, modemDevice, error)) {
        ProgressError("Could not open the line device:  " + deviceName);
        // The system's reason and what to do about it, a line each.
        std::istringstream reason(error);
        for (std::string line; std::getline(reason, line);) {
            ProgressLog(line);
        }
        channel_.Close();
        if (sink_ != nullptr) {
            sink_->MakeCloseButton();
        }
        return false;
    }
    char opened[kMaxLogLine + 1];
    std::snprintf(opened, sizeof opened, "Opened line device %s using TAPI version %u.%u",
                  deviceName.c_str(), telephonyVersion >> 16, telephonyVersion & 0xFFFFu);
    ProgressLog(opened);
    // The line was opened at 9600 baud, 8 data bits, no parity, one stop bit: the modem is
    // configured as the unit expects.
    line_ = std::make_unique<ModemLine>(channel_, [this] {
        if (sink_ != nullptr) {
            sink_->PostLineEvent();
        }
    });
    if (!line_->MakeCall(kMakeCallRequest, dialableNumber, dialMethod)) {
        ProgressError("Unable to make call");
        CloseLine();
        if (sink_ != nullptr) {
            sink_->MakeCloseButton();
        }
    }
    return true;
}

void CCommSession::LineCallback(const LineMessage& message) {
    if (message.kind == LineMessage::Kind::Reply) {
        if (message.request != kMakeCallRequest && message.request != kDropRequest) {
            return;
        }
        if (message.request == kMakeCallRequest && message.result == 0) {
            ProgressLog("Dialing " + displayableNumber);
            return;
        }
        if (!message.detail.empty()) {
            ProgressError(message.detail);
        }
        const bool made = message.request == kMakeCallRequest;
        if (made) {
            ProgressError("Call could not connect");
        } else {
            ProgressLog("Call has been dropped");
        }
        CloseLine();
        ProgressLog(made ? "The line has been closed" : "Line has been closed");
        if (sink_ != nullptr) {
            sink_->MakeCloseButton();
        }
        return;
    }
    if (!message.detail.empty()) {
        ProgressError(message.detail);
    }
    if (message.state == CallState::Connected) {
        OnConnected();
        return;
    }
    ProgressLog(CallEvents::LogLine(message.state, message.reason));
    if (message.state == CallState::Disconnected) {
        StopSession();
    }
}

void CCommSession::OnConnected() {
    ProgressLog("Call connected!");
    SetProgressTitle("Connected");
    // A cancel that came while the far end answered has asked for the call to be dropped: the
    // hang-up has the line, and no session may start on it.
    if (line_ == nullptr || line_->Dropping()) {
        return;
    }
    if (GetCommHandle() < 0) {
        ProgressError("Unable to open the communication port");
        StopSession();
        return;
    }
    StartCommThread();
}

int CCommSession::GetCommHandle() const {
    return channel_.IsOpen() ? channel_.Descriptor() : -1;
}

void CCommSession::CloseLine() {
    line_.reset();
    channel_.Close();
}

bool CCommSession::StartCommThread() {
    ProgressLog("Opened communications port");
    running_ = 1;
    inTransfer_ = 0;
    {
        const std::lock_guard lock(finishedMutex_);
        finished_ = false;
    }
    try {
        thread_ = std::thread(&CCommSession::ThreadEntry, this);
        awaitingNotice_ = true;
    } catch (const std::system_error&) {
        {
            const std::lock_guard lock(finishedMutex_);
            finished_ = true;
        }
        ProgressError("Unable to start communication thread");
        StopSession();
        return false;
    }
    ProgressLog("Created communication thread");
    return true;
}

void CCommSession::StopSession() {
    running_ = 0;
    // Only a thread still at work has anything to cancel; after its end notice there is none.
    if (!ThreadEnded()) {
        SetProgressTitle("Canceling...");
        // Time for the thread to notice, send its closing bytes and end. A thread that is still
        // in a write then will not come out of it for many minutes: the line is closed under
        // it, and it ends at once, which the window shows before its OK.
        if (!AwaitThreadEnd(timeouts_.cancelWait) && channel_.IsWriteWaiting()) {
            channel_.Cut();
            ProgressError(kLineClosed);
        }
    }
    if (line_ != nullptr) {
        // The call is dropped once the thread has left the line, so that the hang-up never
        // shares it; the thread's end notice stops the session again. The reply to the drop
        // closes the line and brings the OK.
        if (ThreadEnded()) {
            line_->Drop(kDropRequest);
        }
        return;
    }
    if (sink_ != nullptr) {
        sink_->MakeCloseButton();
    }
}

bool CCommSession::ThreadEnded() const {
    const std::lock_guard lock(finishedMutex_);
    return finished_;
}

bool CCommSession::AwaitThreadEnd(ChannelTimeouts::Duration wait) {
    std::unique_lock lock(finishedMutex_);
    return finishedSignal_.wait_for(lock, wait, [this] { return finished_; });
}

// --- the thread --------------------------------------------------------------------------------

void CCommSession::ThreadEntry() {
    bool aborted = false;
    try {
        CommThreadMain();
    } catch (const ThreadAborted&) {
        aborted = true;
    }
    // Ended before the notice goes out, so the handler of the notice finds nothing to stop.
    {
        const std::lock_guard lock(finishedMutex_);
        finished_ = true;
        finishedSignal_.notify_all();
    }
    if (sink_ != nullptr) {
        if (aborted) {
            sink_->PostAborted();
        } else {
            sink_->PostComplete();
        }
    }
}

int CCommSession::CommThreadMain() {
    ProgressLog("Communication Thread Started");
    if (!channel_.IsOpen()) {
        ProgressError("Could not set communication timeouts");
        EndThreadAborted();
    }
    ProgressLog("Communication timeouts set");
    RunTransfer();
    SendCtrlZ();
    running_ = 0;
    return 0;
}

void CCommSession::EndThreadAborted() {
    throw ThreadAborted{};
}

void CCommSession::CheckCancel() {
    if (cancelGuard_) {
        return;
    }
    cancelGuard_ = true;
    if (running_ != 0) {
        cancelGuard_ = false;
        return;
    }
    if (inTransfer_ != 0) {
        for (const uint8_t byte :
             {control::kCan, control::kCan, control::kEsc, control::kCr, control::kEsc}) {
            WriteChar(byte);
        }
    }
    SendCtrlZ();
    ProgressLog("Thread canceled");
    cancelGuard_ = false;
    EndThreadAborted();
}

// --- the line ----------------------------------------------------------------------------------

bool CCommSession::WriteChar(uint8_t byte) {
    CheckCancel();
    if (!channel_.IsOpen()) {
        return false;
    }
    for (int attempt = 1; attempt <= kWriteAttempts; ++attempt) {
        if (channel_.WriteBytes(&byte, 1) == 1) {
            return true;
        }
        if (!channel_.IsOpen()) {
            return false; // cut under us: nothing left to try
        }
        channel_.PurgeReceive();
        ProgressLog("Time out writing character; attempt: " + std::to_string(attempt));
    }
    return false;
}

bool CCommSession::WriteBlock(const uint8_t* bytes, std::size_t count) {
    CheckCancel();
    return channel_.WriteBytes(bytes, count) == count;
}

SerialChannel::ReadResult CCommSession::ReadBytes(uint8_t* buffer, std::size_t count) {
    CheckCancel();
    return channel_.ReadBytes(buffer, count);
}

// --- the unit's menu ---------------------------------------------------------------------------

void CCommSession::AppendScreenLine(std::string& buffer) {
    buffer.erase(buffer.find_last_not_of(' ') + 1);
    // The unit's Yes/No choices are drawn apart from the question; alone they say nothing.
    if (buffer.empty() || buffer == "Yes" || buffer == "No" || buffer == "Yes No") {
        return;
    }
    ProgressLog(buffer);
    buffer.clear();
}

bool CCommSession::ReadScreen() {
    std::string buffer;
    bool collecting = true;
    for (;;) {
        uint8_t byte = 0;
        const SerialChannel::ReadResult read = ReadBytes(&byte, 1);
        if (!read.ok || read.count == 0) {
            break;
        }
        if (byte == 0x00) {
            collecting = true;
        } else if (byte == control::kEsc) {
            if (collecting) {
                AppendScreenLine(buffer);
            }
            collecting = false;
        } else if (collecting) {
            buffer += static_cast<char>(byte);
        }
    }
    AppendScreenLine(buffer);
    return true;
}

void CCommSession::SkipEcho() {
    for (;;) {
        uint8_t byte = 0;
        const SerialChannel::ReadResult read = ReadBytes(&byte, 1);
        if (!read.ok || read.count == 0) {
            return;
        }
    }
}

bool CCommSession::TypeText(const std::string& text) {
    for (const char c : text) {
        WriteChar(static_cast<uint8_t>(c));
        SkipEcho();
    }
    WriteChar(control::kCr);
    return true;
}

void CCommSession::SendCursorUp() {
    const uint8_t keys[] = {control::kEsc, '[', 'A'};
    WriteBlock(keys, sizeof keys);
}

void CCommSession::EnterArea29() {
    PurgeReceive();
    WriteChar(control::kEsc);
    ReadScreen();
    ProgressLog("Giving the password...");
    TypeText(password);
    ProgressLog("Gave the password");
    ReadScreen();
    ProgressLog("Going to area 29");
    TypeText("29");
    ReadScreen();
}

bool CCommSession::LoginForDownload() {
    EnterArea29();
    ProgressLog("Getting Data");
    WriteChar(control::kCr);
    ReadScreen();
    return true;
}

bool CCommSession::LoginForUpload() {
    EnterArea29();
    SendCursorUp();
    ReadScreen();
    WriteChar(control::kCr);
    ProgressLog("Sending Data");
    ReadScreen();
    return true;
}

void CCommSession::SendCtrlZ() {
    ProgressLog("Sending the Ctrl+Z");
    WriteChar(control::kCtrlZ);
    ReadScreen();
}

void CCommSession::RunTransfer() {
    if (mode != kDownloadSession && mode != kUploadSession) {
        return;
    }
    if (mode == kDownloadSession) {
        LoginForDownload();
    } else {
        LoginForUpload();
    }
    XModemTransfer transfer(*this);
    const bool sending = mode == kUploadSession;
    progress_ = TransferProgress(sending ? packets.size() * kPacketDataSize : expectedBytes,
                                 sending, TransferProgress::Clock::now());
    inTransfer_ = 1;
    const bool transferred = mode == kDownloadSession ? transfer.Receive() : transfer.Send();
    inTransfer_ = 0;
    if (transferred) {
        success_ = 1;
        ReadScreen();
        WriteChar(control::kCr);
        ReadScreen();
    } else {
        for (int i = 0; i < 4; ++i) {
            WriteChar(control::kEsc);
        }
    }
}

} // namespace tolvane
