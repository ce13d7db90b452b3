#pragma once

#include "link/SerialPort.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace tevra {

// A COM device through the Win32 communications API, with overlapped transfers so that every
// wait is bounded.
class Win32SerialPort : public SerialPort {
public:
    Win32SerialPort();
    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    PortOpenStatus open(const std::string& deviceName) override;
    bool isOpen() const override { return m_port != INVALID_HANDLE_VALUE; }
    void setModemLines() override;
    void discardBuffers() override;
    void write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds wait) override;
    std::size_t bytesWaiting() const override;
    std::size_t read(std::span<std::uint8_t> buffer, std::chrono::milliseconds wait) override;
    void close() override;

private:
    // Waits for the transfer on record at most wait; one still running then is cancelled and
    // waited for, so that the record and its buffer are free when this returns.
    DWORD finish(OVERLAPPED& record, std::chrono::milliseconds wait);

    HANDLE m_port = INVALID_HANDLE_VALUE;
    // Whether this port holds the 1 ms system timer period (see open()).
    bool m_finePeriod = false;
    OVERLAPPED m_writeTransfer{};
    OVERLAPPED m_readTransfer{};
};

} // namespace tevra
