#include "link/PosixSerialPort.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace tevra {

namespace {

using Clock = std::chrono::steady_clock;

// How often the output queue is looked at while the last bytes leave the port.
constexpr std::chrono::microseconds kDrainPollInterval{100};

int remainingMillis(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

} // namespace

PosixSerialPort::~PosixSerialPort() {
    close();
}

PortOpenStatus PosixSerialPort::open(const std::string& deviceName) {
    close();
    if (deviceName.empty()) {
        return PortOpenStatus::CannotOpen;
    }
    const int fd = ::open(deviceName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return PortOpenStatus::CannotOpen;
    }
    // TIOCEXCL keeps other users out, but root passes it; the lock keeps out everyone who asks.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return PortOpenStatus::CannotOpen;
    }
    ::ioctl(fd, TIOCEXCL);
    m_fd = fd;
    if (!configure()) {
        close();
        return PortOpenStatus::CannotConfigure;
    }
    return PortOpenStatus::Opened;
}

bool PosixSerialPort::configure() {
    termios settings{};
    if (::tcgetattr(m_fd, &settings) != 0) {
        return false;
    }
    // Raw bytes both ways: no translation, no echo, no software flow control, no signals.
    settings.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                               ICRNL | IXON | IXOFF | IXANY | INPCK);
    settings.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    // CREAD to receive at all; CLOCAL so that a missing carrier does not block the line.
    settings.c_cflag |= CS8 | CSTOPB | CREAD | CLOCAL;
    // Reads return at once; poll() bounds every wait.
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, B19200) != 0 || ::cfsetospeed(&settings, B19200) != 0) {
        return false;
    }
    return ::tcsetattr(m_fd, TCSANOW, &settings) == 0;
}

void PosixSerialPort::setModemLines() {
    if (m_fd < 0) {
        return;
    }
    int dtr = TIOCM_DTR;
    int rts = TIOCM_RTS;
    ::ioctl(m_fd, TIOCMBIS, &dtr);
    ::ioctl(m_fd, TIOCMBIC, &rts);
}

void PosixSerialPort::discardBuffers() {
    if (m_fd >= 0) {
        ::tcflush(m_fd, TCIOFLUSH);
    }
}

void PosixSerialPort::write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds wait) {
    if (m_fd < 0) {
        return;
    }
    const auto deadline = Clock::now() + wait;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        pollfd watch{m_fd, POLLOUT, 0};
        const int ready = ::poll(&watch, 1, remainingMillis(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0 || (watch.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return;
        }
        const ssize_t written = ::write(m_fd, bytes.data() + sent, bytes.size() - sent);
        if (written < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                continue;
            }
            return;
        }
        sent += static_cast<std::size_t>(written);
    }
    drainOutput(deadline);
}

void PosixSerialPort::drainOutput(Clock::time_point deadline) {
    // tcdrain() cannot be bounded, so the output queue is watched until it is empty.
    while (Clock::now() < deadline) {
        int queued = 0;
        if (::ioctl(m_fd, TIOCOUTQ, &queued) != 0 || queued <= 0) {
            return;
        }
        std::this_thread::sleep_for(kDrainPollInterval);
    }
}

std::size_t PosixSerialPort::bytesWaiting() const {
    int waiting = 0;
    if (m_fd < 0 || ::ioctl(m_fd, FIONREAD, &waiting) != 0) {
        return 0;
    }
    return static_cast<std::size_t>(std::max(waiting, 0));
}

std::size_t PosixSerialPort::read(std::span<std::uint8_t> buffer, std::chrono::milliseconds wait) {
    if (m_fd < 0) {
        return 0;
    }
    const auto deadline = Clock::now() + wait;
    std::size_t received = 0;
    while (received < buffer.size()) {
        pollfd watch{m_fd, POLLIN, 0};
        const int ready = ::poll(&watch, 1, remainingMillis(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            break;
        }
        if ((watch.revents & POLLIN) == 0) {
            break; // hung up or failed: nothing more will come
        }
        const ssize_t count = ::read(m_fd, buffer.data() + received, buffer.size() - received);
        if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        received += static_cast<std::size_t>(count);
    }
    return received;
}

void PosixSerialPort::close() {
    if (m_fd < 0) {
        return;
    }
    // The exclusive mode outlives this descriptor while anybody else holds the device (the
    // simulator keeps its own), so it is lifted before leaving.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
}

} // namespace tevra
