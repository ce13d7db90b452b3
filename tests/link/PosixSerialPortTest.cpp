#include "link/PosixSerialPort.h"

#include "sim/SimulatedController.h"

#include <array>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

namespace tevra {
namespace {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kEventWait{2000};

class PosixSerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_simulator.start()) << m_simulator.error();
        // Opened before the port takes the device exclusively: afterwards only root could.
        m_observer = ::open(m_simulator.devicePath().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(m_observer, 0);
    }
    void TearDown() override {
        if (m_observer >= 0) {
            ::close(m_observer);
        }
    }

    termios lineSettings() const {
        termios settings{};
        EXPECT_EQ(::tcgetattr(m_observer, &settings), 0);
        return settings;
    }

    SimulatedController m_simulator;
    PosixSerialPort m_port;
    int m_observer = -1;
};

TEST_F(PosixSerialPortTest, RefusesDevicesThatCannotBeOpenedOrConfigured) {
    EXPECT_EQ(m_port.open(""), PortOpenStatus::CannotOpen);
    EXPECT_EQ(m_port.open("/dev/tevra-no-such-device"), PortOpenStatus::CannotOpen);
    EXPECT_FALSE(m_port.isOpen());
    EXPECT_EQ(m_port.open("/dev/null"), PortOpenStatus::CannotConfigure);
    EXPECT_FALSE(m_port.isOpen());
    // Nothing is held afterwards: the next open starts afresh.
    EXPECT_EQ(m_port.open(m_simulator.devicePath()), PortOpenStatus::Opened);
}

TEST_F(PosixSerialPortTest, SecondOpenOfAHeldPortFailsUntilItIsClosed) {
    ASSERT_EQ(m_port.open(m_simulator.devicePath()), PortOpenStatus::Opened);
    PosixSerialPort other;
    EXPECT_EQ(other.open(m_simulator.devicePath()), PortOpenStatus::CannotOpen);
    EXPECT_FALSE(other.isOpen());
    m_port.close();
    EXPECT_EQ(other.open(m_simulator.devicePath()), PortOpenStatus::Opened);
}

TEST_F(PosixSerialPortTest, SetsRaw19200EightDataBitsNoParityTwoStopBits) {
    ASSERT_EQ(m_port.open(m_simulator.devicePath()), PortOpenStatus::Opened);
    const termios settings = lineSettings();
    EXPECT_EQ(::cfgetospeed(&settings), static_cast<speed_t>(B19200));
    EXPECT_EQ(::cfgetispeed(&settings), static_cast<speed_t>(B19200));
    EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(settings.c_cflag & PARENB, 0u);
    EXPECT_NE(settings.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
    EXPECT_EQ(settings.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), 0u);
}

TEST_F(PosixSerialPortTest, KeepsFlowControlAsTheDeviceReportedIt) {
    termios before = lineSettings();
    before.c_cflag |= CRTSCTS;
    ASSERT_EQ(::tcsetattr(m_observer, TCSANOW, &before), 0);

    ASSERT_EQ(m_port.open(m_simulator.devicePath()), PortOpenStatus::Opened);
    EXPECT_NE(lineSettings().c_cflag & CRTSCTS, 0u);
}

TEST_F(PosixSerialPortTest, PassesEveryByteValueUnchanged) {
    ASSERT_EQ(m_port.open(m_simulator.devicePath()), PortOpenStatus::Opened);
    m_port.setModemLines(); // no modem lines on a pseudo-terminal: ignored
    std::array<std::uint8_t, 256> all{};
    for (std::size_t i = 0; i < all.size(); ++i) {
        all[i] = static_cast<std::uint8_t>(i);
    }
    m_port.write(all, 1000ms);
    ASSERT_TRUE(m_simulator.waitForReceivedBytes(all.size(), kEventWait));
    const auto received = m_simulator.receivedBytes();
    EXPECT_EQ(received, std::vector<std::uint8_t>(all.begin(), all.end()));
}

TEST_F(PosixSerialPortTest, ReadReturnsWhatArrivedByTheEndOfItsWait) {
    ASSERT_EQ(m_port.open(m_simulator.devicePath()), PortOpenStatus::Opened);
    std::array<std::uint8_t, 128> buffer{};
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(m_port.read(buffer, 50ms), 0u);
    EXPECT_GE(std::chrono::steady_clock::now() - started, 50ms);
}

TEST_F(PosixSerialPortTest, ClosedPortDoesNothing) {
    std::array<std::uint8_t, 4> buffer{};
    m_port.setModemLines();
    m_port.discardBuffers();
    m_port.write(buffer, 10ms);
    EXPECT_EQ(m_port.read(buffer, 10ms), 0u);
}

} // namespace
} // namespace tevra
