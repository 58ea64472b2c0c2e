#include "SimulatedUnit.h"

#include "comm/ControlBytes.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace tolvane {

namespace {

constexpr int kTries = 10;

} // namespace

SimulatedUnit::SimulatedUnit(int fd, SimulatedUnitOptions options)
    : fd_(fd), options_(std::move(options)), image_(options_.image) {
    options_.timeScale = std::max(options_.timeScale, 1);
}

bool SimulatedUnit::ParseFault(const std::string& name, SimFault& fault) {
    if (name == "crc") {
        fault = SimFault::CrcError;
    } else if (name == "drop") {
        fault = SimFault::DroppedPacket;
    } else if (name == "duplicate") {
        fault = SimFault::DuplicatePacket;
    } else if (name == "silence") {
        fault = SimFault::Silence;
    } else if (name == "cancel") {
        fault = SimFault::Cancel;
    } else {
        return false;
    }
    return true;
}

std::vector<uint8_t> SimulatedUnit::Image() const {
    const std::lock_guard lock(mutex_);
    return image_;
}

std::vector<uint8_t> SimulatedUnit::Received() const {
    const std::lock_guard lock(mutex_);
    return received_;
}

bool SimulatedUnit::ReadByte(uint8_t& byte, int timeoutMs, const std::atomic<bool>& stop) {
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(timeoutMs / options_.timeScale);
    while (!stop) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd ready{fd_, POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(std::min<long>(left.count(), 50))) <= 0) {
            continue;
        }
        const ssize_t got = ::read(fd_, &byte, 1);
        if (got == 1) {
            const std::lock_guard lock(mutex_);
            received_.push_back(byte);
            return true;
        }
        if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            return false;
        }
    }
    return false;
}

void SimulatedUnit::Write(const std::string& bytes) {
    for (const char c : bytes) {
        WriteByte(static_cast<uint8_t>(c));
    }
}

void SimulatedUnit::WriteByte(uint8_t byte) {
    if (options_.byteDelayMicroseconds > 0) {
        // Each byte leaves at its slot on the line's schedule; sleeping a byte time per byte
        // would add every sleep's overshoot to the transfer.
        const auto byteTime = std::chrono::microseconds(options_.byteDelayMicroseconds);
        const auto now = std::chrono::steady_clock::now();
        if (nextSlot_ + byteTime < now) {
            nextSlot_ = now; // the line was idle: the schedule starts again
        }
        nextSlot_ += byteTime;
        std::this_thread::sleep_until(nextSlot_);
    }
    while (::write(fd_, &byte, 1) < 0 && (errno == EAGAIN || errno == EINTR)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void SimulatedUnit::Screen(const std::string& text) {
    // The unit clears the screen, places the cursor, then a NUL and the text.
    Write("\x1b[2J\x1b[1;1H");
    Write(std::string(1, '\0') + text);
}

void SimulatedUnit::Run(const std::atomic<bool>& stop) {
    while (!stop && !left_) {
        uint8_t byte = 0;
        if (!ReadByte(byte, 200, stop)) {
            pollfd ready{fd_, POLLIN, 0};
            if (::poll(&ready, 1, 0) > 0 && (ready.revents & (POLLHUP | POLLERR)) != 0 &&
                (ready.revents & POLLIN) == 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            continue;
        }
        OnByte(byte, stop);
    }
}

void SimulatedUnit::OnByte(uint8_t byte, const std::atomic<bool>& stop) {
    if (byte == control::kCtrlZ) {
        if (state_ != State::Idle) {
            Screen("Remote programming ended.  Goodbye.");
            left_ = options_.hangUpOnLeave;
        }
        state_ = State::Idle;
        typed_.clear();
        return;
    }
    if (state_ != State::Idle && options_.faults.count(SimFault::Silence) != 0 &&
        state_ != State::Password) {
        return; // a unit that has gone quiet answers nothing until it is left
    }
    switch (state_) {
    case State::Idle:
        if (byte == control::kEsc) {
            Screen("VARKO ACCESS CONTROL   Remote Programming");
            Write("\x1b[5;1H");
            Write(std::string(1, '\0') + "Password:   ");
            state_ = State::Password;
            typed_.clear();
        }
        return;
    case State::Password:
        if (byte == control::kCr) {
            if (typed_ == options_.password) {
                Screen("Main Menu   Enter area number:   ");
                state_ = State::Menu;
            } else {
                Screen("Invalid password");
                state_ = State::Idle;
            }
            typed_.clear();
        } else if (byte != control::kEsc) {
            typed_ += static_cast<char>(byte);
            WriteByte('*');
        }
        return;
    case State::Menu:
        if (byte == control::kCr && typed_.empty()) {
            Screen("Main Menu   Enter area number:   ");
        } else if (byte == control::kCr) {
            if (typed_ == "29") {
                Screen("Area 29   Memory Module Transfer");
                Write("\x1b[7;1H");
                Write(std::string(1, '\0') + "Send module to PC?");
                Write("\x1b[7;30H");
                Write(std::string(1, '\0') + "Yes No");
                state_ = State::Area29;
                uploadChosen_ = false;
            } else {
                Screen("Unknown area " + typed_);
            }
            typed_.clear();
        } else if (byte == control::kEsc) {
            typed_.clear();
        } else {
            typed_ += static_cast<char>(byte);
            WriteByte(byte);
        }
        return;
    case State::Area29:
        if (byte == control::kEsc) {
            escapeState_ = 1;
            return;
        }
        if (escapeState_ == 1 && byte == '[') {
            escapeState_ = 2;
            return;
        }
        if (escapeState_ == 2 && byte == 'A') {
            escapeState_ = 0;
            uploadChosen_ = true;
            Write("\x1b[7;1H");
            Write(std::string(1, '\0') + "Receive module from PC?");
            return;
        }
        if (escapeState_ == 1) { // a lone ESC leaves the area
            escapeState_ = 0;
            Screen("Main Menu   Enter area number:   ");
            state_ = State::Menu;
        }
        escapeState_ = 0;
        if (byte == control::kCr) {
            if (uploadChosen_) {
                ReceiveImage(stop);
            } else {
                SendImage(stop);
            }
            // Done or failed, the transfer leaves the area; the next CR shows the menu.
            uploadChosen_ = false;
            state_ = State::Menu;
        }
        return;
    }
}

void SimulatedUnit::SendImage(const std::atomic<bool>& stop) {
    // The receiver asks first: 'C' for CRC mode.
    uint8_t byte = 0;
    bool ready = false;
    for (int i = 0; i < 6 && !ready; ++i) {
        ready = ReadByte(byte, 10000, stop) && (byte == control::kC || byte == control::kNak);
    }
    if (!ready) {
        return;
    }
    const std::vector<uint8_t> image = Image();
    const std::size_t count = (image.size() + kPacketDataSize - 1) / kPacketDataSize;
    bool crcFault = options_.faults.count(SimFault::CrcError) != 0;
    bool dropFault = options_.faults.count(SimFault::DroppedPacket) != 0;
    bool duplicateFault = options_.faults.count(SimFault::DuplicatePacket) != 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t offset = i * kPacketDataSize;
        const std::size_t length = std::min(kPacketDataSize, image.size() - offset);
        XModemPacket packet = MakePacket(crc_, static_cast<uint8_t>(i + 1),
                                         std::span<const uint8_t>(image).subspan(offset, length));
        bool acknowledged = false;
        for (int attempt = 0; attempt < kTries && !acknowledged && !stop; ++attempt) {
            XModemPacket wire = packet;
            std::size_t size = kPacketSize;
            if (i == 1 && crcFault) {
                wire[kPacketSize - 1] ^= 0xFF;
                crcFault = false;
            } else if (i == 1 && dropFault) {
                size = kPacketSize / 2;
                dropFault = false;
            }
            WriteByte(control::kStx);
            for (std::size_t b = 0; b < size; ++b) {
                WriteByte(wire[b]);
            }
            // After a cut packet the unit waits longer than the receiver's packet time-out, so
            // the receiver's NAK, not the unit's impatience, starts the resend.
            acknowledged =
                ReadByte(byte, size < kPacketSize ? 15000 : 10000, stop) && byte == control::kAck;
            if (byte == control::kCan) {
                return;
            }
        }
        if (!acknowledged) {
            WriteByte(control::kCan);
            return;
        }
        if (i == 0 && duplicateFault) {
            duplicateFault = false;
            WriteByte(control::kStx);
            for (const uint8_t b : packet) {
                WriteByte(b);
            }
            ReadByte(byte, 10000, stop);
        }
        if (i == 0 && options_.faults.count(SimFault::Cancel) != 0) {
            WriteByte(control::kCan);
            WriteByte(control::kCan);
            return;
        }
    }
    for (int attempt = 0; attempt < kTries; ++attempt) {
        WriteByte(control::kEot);
        if (ReadByte(byte, 10000, stop) && byte == control::kAck) {
            Write(std::string(1, '\0') + "Transfer complete");
            return;
        }
    }
}

void SimulatedUnit::ReceiveImage(const std::atomic<bool>& stop) {
    std::vector<uint8_t> data;
    uint8_t expected = 1;
    uint8_t byte = 0;
    int quiet = 0;
    for (;;) {
        if (!ReadByte(byte, 3000, stop)) {
            if (stop || ++quiet > kTries) {
                return;
            }
            WriteByte(expected == 1 && data.empty() ? control::kC : control::kNak);
            continue;
        }
        quiet = 0;
        if (byte == control::kEot) {
            WriteByte(control::kAck);
            const std::lock_guard lock(mutex_);
            image_ = data;
            return;
        }
        if (byte == control::kCan) {
            return;
        }
        if (byte != control::kStx) {
            continue; // the sender's CR before it starts, or line noise
        }
        XModemPacket packet{};
        std::size_t got = 0;
        while (got < kPacketSize && ReadByte(packet[got], 1000, stop)) {
            ++got;
        }
        const bool whole = got == kPacketSize && packet[1] == static_cast<uint8_t>(~packet[0]) &&
                           crc_.Compute(std::span<const uint8_t>(packet).subspan(2)) == 0;
        if (!whole) {
            WriteByte(control::kNak);
        } else if (packet[0] == expected) {
            data.insert(data.end(), packet.begin() + 2, packet.begin() + 2 + kPacketDataSize);
            ++expected;
            WriteByte(control::kAck);
            if (options_.faults.count(SimFault::Cancel) != 0) {
                WriteByte(control::kCan);
                WriteByte(control::kCan);
                return;
            }
        } else {
            WriteByte(control::kAck); // a repeat of what it already has
        }
    }
}

} // namespace tolvane
