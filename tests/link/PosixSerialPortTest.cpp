#include "link/PosixSerialPort.h"

#include "link/Upload.h"
#include "sim/SimulatedController.h"

#include <array>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <numeric>
#include <termios.h>
#include <unistd.h>

namespace tevra {
namespace {

using namespace std::chrono_literals;

SimulatorOptions silentFromBlockOne() {
    SimulatorOptions options;
    options.silentFromBlock = 1;
    return options;
}

class PosixSerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_simulator.start()) << m_simulator.error();
        // Opened before the port takes the device exclusively: afterwards only root could.
        m_observer = ::open(m_simulator.devicePath().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(m_observer, 0);
    }
    void TearDown() override { ::close(m_observer); }
    termios lineSettings() const {
        termios settings{};
        EXPECT_EQ(::tcgetattr(m_observer, &settings), 0);
        return settings;
    }

    SimulatedController m_simulator{silentFromBlockOne()};
    PosixSerialPort m_port;
    int m_observer = -1;
};

TEST_F(PosixSerialPortTest, OpensOnlyAFreeSerialDeviceAndHoldsNothingAfterAFailure) {
    EXPECT_EQ(m_port.open(""), PortOpenStatus::CannotOpen);
    EXPECT_EQ(m_port.open("/dev/tevra-no-such-device"), PortOpenStatus::CannotOpen);
    EXPECT_EQ(m_port.open("/dev/null"), PortOpenStatus::CannotConfigure);
    EXPECT_FALSE(m_port.isOpen());
    ASSERT_EQ(m_port.open(m_simulator.devicePath()), PortOpenStatus::Opened);
    PosixSerialPort other;
    EXPECT_EQ(other.open(m_simulator.devicePath()), PortOpenStatus::CannotOpen);
    EXPECT_FALSE(other.isOpen());
    m_port.close();
    EXPECT_EQ(other.open(m_simulator.devicePath()), PortOpenStatus::Opened);
}

TEST_F(PosixSerialPortTest, SetsARaw19200Baud8N2LineThatKeepsFlowControlAndCarriesEveryByte) {
    termios before = lineSettings();
    before.c_cflag |= CRTSCTS;
    ASSERT_EQ(::tcsetattr(m_observer, TCSANOW, &before), 0);
    ASSERT_EQ(m_port.open(m_simulator.devicePath()), PortOpenStatus::Opened);
    const termios settings = lineSettings();
    EXPECT_EQ(::cfgetospeed(&settings), static_cast<speed_t>(B19200));
    EXPECT_EQ(::cfgetispeed(&settings), static_cast<speed_t>(B19200));
    EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), CS8 | CSTOPB | CRTSCTS);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
    EXPECT_EQ(settings.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), 0u);

    m_port.setModemLines(); // no modem lines on a pseudo-terminal: ignored
    std::vector<std::uint8_t> all(256);
    std::iota(all.begin(), all.end(), 0);
    m_port.write(all, 1000ms);
    ASSERT_TRUE(m_simulator.waitForReceivedBytes(all.size(), 2000ms));
    EXPECT_EQ(m_simulator.receivedBytes(), all);
}

TEST_F(PosixSerialPortTest, ReadReturnsOnceTheBufferIsFullOrElseAtTheEndOfItsWait) {
    ASSERT_EQ(m_port.open(m_simulator.devicePath()), PortOpenStatus::Opened);
    // A block of read-back command bytes at 0x0100, read back twice; then a read-back of an
    // address never written, which counts as a new block and so goes unanswered.
    std::vector<std::uint8_t> block(3 + kTransferBlockSize, kReadBackCommand);
    block[0] = kWriteCommand;
    block[1] = 0;
    block[2] = 1;
    m_port.write(block, 1000ms);
    ASSERT_TRUE(m_simulator.waitForReceivedBytes(block.size(), 2000ms));
    std::array<std::uint8_t, kTransferBlockSize> buffer{};
    for (const int high : {1, 1, 2}) {
        m_port.write(std::array<std::uint8_t, 3>{kReadBackCommand, 0, std::uint8_t(high)}, 1000ms);
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(m_port.read(buffer, high == 1 ? 5000ms : 250ms), high == 1 ? buffer.size() : 0);
        const auto took = std::chrono::steady_clock::now() - started;
        EXPECT_TRUE(high == 1 ? took < 5000ms : took >= 250ms);
    }
    EXPECT_EQ(buffer[0], kReadBackCommand);
    EXPECT_EQ(m_simulator.commandCount(), 4U) << "a write and three read-backs, nothing more";
}

} // namespace
} // namespace tevra
