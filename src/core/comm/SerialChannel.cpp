#include "comm/SerialChannel.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace tolvane {

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Why the device would not open, and what the user can do about it.
std::string OpenFailureAdvice(const std::string& devicePath, int error) {
    std::string text = devicePath + ": " + std::strerror(error) + ".";
    if (error == EACCES || error == EPERM) {
        struct stat info {};
        std::string group = "dialout";
        if (::stat(devicePath.c_str(), &info) == 0) {
            if (const struct group* owner = ::getgrgid(info.st_gid)) {
                group = owner->gr_name;
            }
        }
        text += "\nThe port belongs to the group \"" + group +
                "\". Add your user to that group (for example: sudo usermod -aG " + group +
                " $USER), then log out and in again.";
    } else if (error == EBUSY || error == EWOULDBLOCK) {
        text += "\nAnother program holds the port: a terminal program, or ModemManager probing "
                "it. Close that program, or tell ModemManager to leave the port alone.";
    } else if (error == ENOENT || error == ENXIO || error == ENODEV) {
        text += "\nThere is no such port on this computer. Choose another port, or map this one "
                "to the right device in the [ports] section of zemrix.ini.";
    }
    return text;
}

} // namespace

SerialChannel::SerialChannel(const ChannelTimeouts& timeouts)
    : timeouts_(timeouts), cutSignal_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

SerialChannel::~SerialChannel() {
    Close();
    if (cutSignal_ >= 0) {
        ::close(cutSignal_);
    }
}

bool SerialChannel::Open(const std::string& portName, const std::string& devicePath,
                         std::string& error) {
    Close();
    // Non-blocking, so a missing carrier can never hang the open.
    const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "Error in opening " + portName + "\n" + OpenFailureAdvice(devicePath, errno);
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno;
        ::close(fd);
        error = "Error in opening " + portName + "\n" + OpenFailureAdvice(devicePath, reason);
        return false;
    }
    termios line{};
    if (::tcgetattr(fd, &line) != 0) {
        ::close(fd);
        error = "Error in getting the state for the comm-port.";
        return false;
    }
    // Every switch set by hand: raw bytes both ways, 8N1, receiver on, modem lines ignored, no
    // flow control of any kind.
    line.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                           ICRNL | IXON | IXOFF | IXANY | INPCK);
    line.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    line.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    line.c_cflag |= CS8 | CLOCAL | CREAD;
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    ::cfsetispeed(&line, B9600);
    ::cfsetospeed(&line, B9600);
    if (::tcsetattr(fd, TCSANOW, &line) != 0) {
        ::close(fd);
        error = "Error in setting the state for the comm-port.";
        return false;
    }
    // DTR and RTS low, as the unit's cable expects; a line without them (a pseudo-terminal)
    // has nothing to lower.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIC, &lines);
    // Taken last, so no failure above leaves the port locked against everyone but root.
    ::ioctl(fd, TIOCEXCL);
    Take(fd);
    return true;
}

void SerialChannel::Adopt(int fd) {
    Close();
    if (fd >= 0) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        Take(fd);
    }
}

void SerialChannel::Take(int fd) {
    uint64_t pending = 0;
    while (cutSignal_ >= 0 && ::read(cutSignal_, &pending, sizeof pending) > 0) {
    }
    cut_ = false;
    fd_ = fd;
    struct stat info {};
    socket_ = ::fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
}

int SerialChannel::Wait(short events, int timeoutMs, short& revents) const {
    pollfd waits[2] = {{fd_, events, 0}, {cutSignal_, POLLIN, 0}};
    const int polled = ::poll(waits, 2, timeoutMs);
    revents = waits[0].revents;
    return polled;
}

std::size_t SerialChannel::WriteBytes(const uint8_t* bytes, std::size_t count) {
    if (!IsOpen()) {
        return 0;
    }
    const auto deadline =
        Clock::now() + timeouts_.writePerByte * static_cast<int>(count) + timeouts_.writeConstant;
    std::size_t done = 0;
    while (done < count && !cut_) {
        const ssize_t put = socket_ ? ::send(fd_, bytes + done, count - done, MSG_NOSIGNAL)
                                    : ::write(fd_, bytes + done, count - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR) {
            break;
        }
        const int left = RemainingMs(deadline);
        short revents = 0;
        writeWaiting_ = true;
        const int polled = left == 0 ? 0 : Wait(POLLOUT, left, revents);
        writeWaiting_ = false;
        if (left == 0 || (polled <= 0 && errno != EINTR) || (revents & (POLLERR | POLLHUP)) != 0) {
            break;
        }
    }
    return done;
}

SerialChannel::ReadResult SerialChannel::ReadBytes(uint8_t* buffer, std::size_t count) {
    return ReadBytes(buffer, count,
                     timeouts_.readPerByte * static_cast<int>(count) + timeouts_.readConstant);
}

SerialChannel::ReadResult SerialChannel::ReadBytes(uint8_t* buffer, std::size_t count,
                                                   ChannelTimeouts::Duration maxWait) {
    if (!IsOpen()) {
        return {false, 0};
    }
    const auto deadline =
        Clock::now() +
        std::min(maxWait, timeouts_.readPerByte * static_cast<int>(count) + timeouts_.readConstant);
    std::size_t done = 0;
    while (done < count) {
        int wait = RemainingMs(deadline);
        if (done > 0) {
            wait = std::min(wait, static_cast<int>(timeouts_.readInterval.count()));
        }
        if (wait == 0) {
            break;
        }
        short revents = 0;
        const int polled = Wait(POLLIN, wait, revents);
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled < 0 || cut_) {
            return {false, done};
        }
        if (polled == 0) {
            break; // silence: the interval or the total time ran out
        }
        const ssize_t got = ::read(fd_, buffer + done, count - done);
        if (got > 0) {
            done += static_cast<std::size_t>(got);
        } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            return {false, done}; // the line hung up
        }
    }
    return {true, done};
}

void SerialChannel::PurgeReceive() {
    if (!IsOpen()) {
        return;
    }
    if (::tcflush(fd_, TCIFLUSH) == 0) {
        return;
    }
    // Not a terminal: read away what is waiting.
    uint8_t scrap[256];
    while (::read(fd_, scrap, sizeof scrap) > 0) {
    }
}

bool SerialChannel::SetDataTerminalReady(bool ready) {
    int lines = TIOCM_DTR;
    return IsOpen() && ::ioctl(fd_, ready ? TIOCMBIS : TIOCMBIC, &lines) == 0;
}

void SerialChannel::Cut() {
    cut_ = true;
    if (cutSignal_ >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t signalled = ::write(cutSignal_, &one, sizeof one);
    }
}

void SerialChannel::Close() {
    if (fd_ < 0) {
        return;
    }
    // Exclusive use belongs to the open device, not to this descriptor: left set, it would lock
    // out every later open but root's for as long as anything else holds the device.
    ::ioctl(fd_, TIOCNXCL);
    ::tcflush(fd_, TCIOFLUSH);
    ::close(fd_);
    fd_ = -1;
}

} // namespace tolvane
