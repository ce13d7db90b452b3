#pragma once

#include "link/SerialPort.h"

namespace tevra {

// A termios serial device, opened non-blocking; every wait is bounded by poll().
class PosixSerialPort : public SerialPort {
public:
    PosixSerialPort() = default;
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    PortOpenStatus open(const std::string& deviceName) override;
    bool isOpen() const override { return m_fd >= 0; }
    void setModemLines() override;
    void discardBuffers() override;
    void write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds wait) override;
    std::size_t bytesWaiting() const override;
    std::size_t read(std::span<std::uint8_t> buffer, std::chrono::milliseconds wait) override;
    void close() override;

private:
    bool configure();
    void drainOutput(std::chrono::steady_clock::time_point deadline);

    int m_fd = -1;
};

} // namespace tevra
