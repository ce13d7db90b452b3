#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace tevra {

inline constexpr const char* kPortErrorCaption = "Ошибка!!";
inline constexpr const char* kPortOpenErrorText = "Ошибка открытия порта !";
inline constexpr const char* kPortInitErrorText = "Ошибка инициализации порта !";
// Shown after either message above, with the application's name as caption.
inline constexpr const char* kPortFailedText = "Ошибка открытия порта!";

enum class PortOpenStatus {
    Opened,
    CannotOpen,      // absent, held by another program, or the empty name
    CannotConfigure, // refused the line settings; the device has been closed again
};

// The operations an upload needs from a serial line: 19200 baud, 8 data bits, no parity,
// 2 stop bits, raw bytes, no flow control by the driver.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Exclusive open with the line settings applied; closes any device held before.
    virtual PortOpenStatus open(const std::string& deviceName) = 0;
    virtual bool isOpen() const = 0;
    // Raises DTR, then lowers RTS. Failures are ignored (a pseudo-terminal has no modem lines).
    virtual void setModemLines() = 0;
    // Discards both the output and the input buffer.
    virtual void discardBuffers() = 0;
    // Returns when the bytes have left the port or after at most `wait`; nothing stays pending.
    virtual void write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds wait) = 0;
    // Bytes that have arrived and wait to be read, looked at without waiting.
    virtual std::size_t bytesWaiting() const = 0;
    // Reads up to buffer.size() bytes within `wait`; returns how many arrived. Nothing stays
    // pending afterwards, so a late byte can never land in the buffer of a later read.
    virtual std::size_t read(std::span<std::uint8_t> buffer, std::chrono::milliseconds wait) = 0;
    virtual void close() = 0;
};

// The platform's implementation: termios on POSIX systems, the Win32 communications API on
// Windows.
std::unique_ptr<SerialPort> createSystemSerialPort();

} // namespace tevra
