#include "sim/SimulatedController.h"

#include "link/Upload.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace tevra {

namespace {

using Clock = std::chrono::steady_clock;

// One byte on a 19200 baud 8N2 line: start bit, 8 data bits, 2 stop bits.
constexpr int kBitsPerByte = 11;
constexpr int kBaudRate = 19200;
constexpr auto kByteTime = std::chrono::duration_cast<Clock::duration>(
    std::chrono::duration<double>(static_cast<double>(kBitsPerByte) / kBaudRate));
// A command that stalls longer than this was abandoned by the host; the next byte starts anew.
constexpr std::chrono::milliseconds kFrameGap{200};
constexpr std::size_t kReadChunk = 512;

// A byte lasts 0.57 ms: waits in whole milliseconds would hold every answer up by up to one.
timespec remainingTime(Clock::time_point deadline) {
    const auto left = std::max(Clock::duration::zero(), deadline - Clock::now());
    const auto seconds = std::chrono::floor<std::chrono::seconds>(left);
    return {static_cast<time_t>(seconds.count()),
            static_cast<long>(std::chrono::nanoseconds(left - seconds).count())};
}

bool writeAll(int fd, const std::uint8_t* bytes, std::size_t size) {
    std::size_t sent = 0;
    while (sent < size) {
        const ssize_t written = ::write(fd, bytes + sent, size - sent);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == EAGAIN) {
                pollfd watch{fd, POLLOUT, 0};
                ::poll(&watch, 1, -1);
                continue;
            }
            return false;
        }
        sent += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

SimulatedController::SimulatedController(SimulatorOptions options)
    : m_options(std::move(options)), m_memory(kControllerMemorySize, 0) {}

SimulatedController::~SimulatedController() {
    stop();
}

bool SimulatedController::start() {
    if (m_thread.joinable()) {
        return true;
    }
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        m_error = "нет псевдотерминала";
        closeDescriptors();
        return false;
    }
    std::array<char, 128> name{};
    if (::ptsname_r(m_master, name.data(), name.size()) != 0) {
        m_error = "нет имени псевдотерминала";
        closeDescriptors();
        return false;
    }
    m_devicePath = name.data();
    m_slave = ::open(m_devicePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios settings{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &settings) != 0) {
        m_error = "псевдотерминал не открывается";
        closeDescriptors();
        return false;
    }
    // Raw from the start, so that the line discipline never turns data bytes into signals,
    // line ends or flow control before the host has set up the line itself.
    ::cfmakeraw(&settings);
    ::tcsetattr(m_slave, TCSANOW, &settings);
    int wake[2] = {-1, -1};
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_error = "нет канала остановки";
        closeDescriptors();
        return false;
    }
    m_wakeRead = wake[0];
    m_wakeWrite = wake[1];
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_stopping = false;
    m_thread = std::thread([this] { run(); });
    return true;
}

void SimulatedController::stop() {
    if (m_thread.joinable()) {
        m_stopping = true;
        const std::uint8_t wakeByte = 1;
        [[maybe_unused]] const auto ignored = ::write(m_wakeWrite, &wakeByte, 1);
        m_thread.join();
    }
    closeDescriptors();
}

void SimulatedController::closeDescriptors() {
    for (int* fd : {&m_master, &m_slave, &m_wakeRead, &m_wakeWrite}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
}

bool SimulatedController::pauseUntil(Clock::time_point until) {
    while (!m_stopping) {
        const timespec left = remainingTime(until);
        if (Clock::now() >= until) {
            return true;
        }
        pollfd watch{m_wakeRead, POLLIN, 0};
        ::ppoll(&watch, 1, &left, nullptr);
    }
    return false;
}

void SimulatedController::run() {
    std::array<std::uint8_t, kReadChunk> chunk{};
    auto lineFreeAt = Clock::now();
    while (!m_stopping && m_master >= 0) {
        std::array<pollfd, 2> watch{{{m_master, POLLIN, 0}, {m_wakeRead, POLLIN, 0}}};
        if (::poll(watch.data(), watch.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if ((watch[1].revents & POLLIN) != 0 || (watch[0].revents & POLLIN) == 0) {
            continue;
        }
        const ssize_t count = ::read(m_master, chunk.data(), chunk.size());
        if (count <= 0) {
            continue;
        }
        const auto size = static_cast<std::size_t>(count);
        auto arrivedAt = Clock::now();
        if (m_options.paced) {
            // The bytes come off the line one byte time after another.
            lineFreeAt = std::max(lineFreeAt, arrivedAt) + kByteTime * static_cast<int>(size);
            if (!pauseUntil(lineFreeAt)) {
                return;
            }
            arrivedAt = lineFreeAt;
        }
        {
            std::lock_guard lock(m_mutex);
            m_received.insert(m_received.end(), chunk.begin(),
                              chunk.begin() + static_cast<std::ptrdiff_t>(size));
        }
        m_changed.notify_all();
        for (std::size_t i = 0; i < size && m_master >= 0; ++i) {
            consume(chunk[i], arrivedAt);
        }
    }
}

void SimulatedController::consume(std::uint8_t byte, Clock::time_point arrivedAt) {
    if (m_parseState != ParseState::Command && arrivedAt - m_lastByteAt > kFrameGap) {
        m_parseState = ParseState::Command;
    }
    m_lastByteAt = arrivedAt;
    switch (m_parseState) {
    case ParseState::Command:
        if (byte == kWriteCommand || byte == kReadBackCommand) {
            m_pending = Command{};
            m_pending.code = byte;
            m_parseState = ParseState::AddressLow;
        }
        break;
    case ParseState::AddressLow:
        m_pending.address = byte;
        m_parseState = ParseState::AddressHigh;
        break;
    case ParseState::AddressHigh:
        m_pending.address = static_cast<std::uint16_t>(m_pending.address | (byte << 8));
        if (m_hangUpPending && blockIndex(m_pending.address) != *m_options.hangUpAfterBlock) {
            hangUp();
            return;
        }
        if (m_pending.code == kWriteCommand) {
            m_parseState = ParseState::Data;
        } else {
            finishCommand();
        }
        break;
    case ParseState::Data:
        m_pending.data.push_back(byte);
        if (m_pending.data.size() == kTransferBlockSize) {
            finishCommand();
        }
        break;
    }
}

void SimulatedController::finishCommand() {
    m_parseState = ParseState::Command;
    const std::uint16_t address = m_pending.address;
    const bool readBack = m_pending.code == kReadBackCommand;
    {
        std::lock_guard lock(m_mutex);
        if (!readBack) {
            store(address, m_pending.data);
        }
        ++m_commandCount;
    }
    if (readBack) {
        answerReadBack(address);
    } else {
        blockIndex(address);
    }
}

int SimulatedController::blockIndex(std::uint16_t address) {
    const auto found = std::find(m_blockAddresses.begin(), m_blockAddresses.end(), address);
    if (found != m_blockAddresses.end()) {
        return static_cast<int>(found - m_blockAddresses.begin());
    }
    m_blockAddresses.push_back(address);
    return static_cast<int>(m_blockAddresses.size()) - 1;
}

void SimulatedController::answerReadBack(std::uint16_t address) {
    ++m_readBackCount;
    const int block = blockIndex(address);
    if (m_options.silentFromBlock && block >= *m_options.silentFromBlock) {
        return;
    }
    std::vector<std::uint8_t> answer(kTransferBlockSize);
    {
        std::lock_guard lock(m_mutex);
        for (std::size_t i = 0; i < answer.size(); ++i) {
            answer[i] = m_memory[(address + i) % kControllerMemorySize];
        }
    }
    if (m_options.wrongByteOnAttempts.contains(m_readBackCount)) {
        answer.front() ^= 0x01;
    }
    if (m_options.shortAnswers) {
        answer.pop_back();
    }
    if (m_readBackCount == 1) {
        const std::size_t leftover = std::min(m_options.leftoverBytes, answer.size());
        std::vector<std::uint8_t> late(answer.end() - static_cast<std::ptrdiff_t>(leftover),
                                       answer.end());
        late.insert(late.end(), answer.begin(), answer.end());
        answer = std::move(late);
    }
    if (!sendPaced(answer)) {
        return;
    }
    // The line goes when the host turns to another block: closing the master at once would drop
    // the answer before the host has read it.
    if (m_options.hangUpAfterBlock && block == *m_options.hangUpAfterBlock) {
        m_hangUpPending = true;
    }
}

bool SimulatedController::sendPaced(const std::vector<std::uint8_t>& answer) {
    if (!m_options.paced) {
        return writeAll(m_master, answer.data(), answer.size());
    }
    auto sendAt = Clock::now();
    for (const std::uint8_t byte : answer) {
        sendAt += kByteTime;
        if (!pauseUntil(sendAt) || !writeAll(m_master, &byte, 1)) {
            return false;
        }
    }
    return true;
}

void SimulatedController::hangUp() {
    ::close(m_master);
    ::close(m_slave);
    m_master = -1;
    m_slave = -1;
}

void SimulatedController::load(std::uint16_t address, std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(m_mutex);
    store(address, bytes);
}

void SimulatedController::store(std::uint16_t address, std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        m_memory[(address + i) % kControllerMemorySize] = bytes[i];
    }
}

std::vector<std::uint8_t> SimulatedController::memory() const {
    std::lock_guard lock(m_mutex);
    return m_memory;
}

std::vector<std::uint8_t> SimulatedController::programArea() const {
    std::lock_guard lock(m_mutex);
    return {m_memory.begin(), m_memory.begin() + static_cast<std::ptrdiff_t>(kProgramAreaSize)};
}

ConfigBlock SimulatedController::settingsBlock() const {
    std::lock_guard lock(m_mutex);
    ConfigBlock block{};
    std::copy_n(m_memory.begin() + kConfigBlockAddress, block.size(), block.begin());
    return block;
}

std::size_t SimulatedController::commandCount() const {
    std::lock_guard lock(m_mutex);
    return m_commandCount;
}

std::vector<std::uint8_t> SimulatedController::receivedBytes() const {
    std::lock_guard lock(m_mutex);
    return m_received;
}

bool SimulatedController::waitForReceivedBytes(std::size_t count,
                                               std::chrono::milliseconds wait) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, wait, [&] { return m_received.size() >= count; });
}

} // namespace tevra
