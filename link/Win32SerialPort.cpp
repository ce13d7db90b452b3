#include "link/Win32SerialPort.h"

#include <cstddef>
#include <cstring>
#include <timeapi.h>

namespace tevra {

namespace {

constexpr DWORD kBaudRate = CBR_19200;
constexpr BYTE kDataBits = 8;
// Read total time-out: 20 ms per byte requested plus 20 ms.
constexpr DWORD kReadTotalMultiplierMs = 20;
constexpr DWORD kReadTotalConstantMs = 20;
// The DCB's flag bits as one word: fBinary set; fOutX, fInX, fDtrControl and fRtsControl
// cleared; every other flag as the device reported it.
constexpr std::uint32_t kKeptFlags = 0xFFFFCCCF;
constexpr std::uint32_t kBinaryFlag = 0x00000001;
// The flag bit-fields follow DCBlength and BaudRate.
constexpr std::size_t kDcbFlagsOffset = 2 * sizeof(DWORD);
// Sleep() and every bounded wait end on a tick of the system timer, by default every 15.6 ms:
// the 15 ms pause could then take up to 30 ms.
constexpr UINT kTimerPeriodMs = 1;
static_assert(offsetof(DCB, wReserved) == kDcbFlagsOffset + sizeof(DWORD));

void setRawFlags(DCB& state) {
    std::uint32_t flags = 0;
    auto* raw = reinterpret_cast<unsigned char*>(&state) + kDcbFlagsOffset;
    std::memcpy(&flags, raw, sizeof flags);
    flags = (flags & kKeptFlags) | kBinaryFlag;
    std::memcpy(raw, &flags, sizeof flags);
}

void resetRecord(OVERLAPPED& record) {
    const HANDLE event = record.hEvent;
    record = OVERLAPPED{};
    record.hEvent = event;
}

DWORD waitMillis(std::chrono::milliseconds wait) {
    return wait.count() <= 0 ? 0 : static_cast<DWORD>(wait.count());
}

} // namespace

Win32SerialPort::Win32SerialPort() {
    m_writeTransfer.hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_readTransfer.hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

Win32SerialPort::~Win32SerialPort() {
    close();
    ::CloseHandle(m_writeTransfer.hEvent);
    ::CloseHandle(m_readTransfer.hEvent);
}

PortOpenStatus Win32SerialPort::open(const std::string& deviceName) {
    close();
    const HANDLE port = ::CreateFileA(deviceName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        return PortOpenStatus::CannotOpen;
    }
    COMMTIMEOUTS timeouts{};
    ::GetCommTimeouts(port, &timeouts);
    timeouts.ReadTotalTimeoutMultiplier = kReadTotalMultiplierMs;
    timeouts.ReadTotalTimeoutConstant = kReadTotalConstantMs;
    DCB state{};
    state.DCBlength = sizeof state;
    ::GetCommState(port, &state);
    state.BaudRate = kBaudRate;
    state.ByteSize = kDataBits;
    state.Parity = NOPARITY;
    state.StopBits = TWOSTOPBITS;
    setRawFlags(state);
    ::SetCommTimeouts(port, &timeouts);
    if (!::SetCommState(port, &state)) {
        ::CloseHandle(port);
        return PortOpenStatus::CannotConfigure;
    }
    m_port = port;
    // Only while a port is open: a finer system timer costs the whole machine power.
    m_finePeriod = ::timeBeginPeriod(kTimerPeriodMs) == TIMERR_NOERROR;
    return PortOpenStatus::Opened;
}

void Win32SerialPort::setModemLines() {
    if (isOpen()) {
        ::EscapeCommFunction(m_port, SETDTR);
        ::EscapeCommFunction(m_port, CLRRTS);
    }
}

void Win32SerialPort::discardBuffers() {
    if (isOpen()) {
        ::PurgeComm(m_port, PURGE_TXCLEAR | PURGE_RXCLEAR);
    }
}

DWORD Win32SerialPort::finish(OVERLAPPED& record, std::chrono::milliseconds wait) {
    // A transfer that completed at once needs no wait; each wait is a round trip to the
    // system, which under Wine costs a tenth of a millisecond.
    if (!HasOverlappedIoCompleted(&record) &&
        ::WaitForSingleObject(record.hEvent, waitMillis(wait)) != WAIT_OBJECT_0) {
        ::CancelIoEx(m_port, &record);
    }
    DWORD transferred = 0;
    ::GetOverlappedResult(m_port, &record, &transferred, TRUE);
    return transferred;
}

void Win32SerialPort::write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds wait) {
    if (!isOpen()) {
        return;
    }
    resetRecord(m_writeTransfer);
    if (!::WriteFile(m_port, bytes.data(), static_cast<DWORD>(bytes.size()), nullptr,
                     &m_writeTransfer) &&
        ::GetLastError() != ERROR_IO_PENDING) {
        return;
    }
    finish(m_writeTransfer, wait);
}

std::size_t Win32SerialPort::bytesWaiting() const {
    // One call, where a read that finds nothing must be started, cancelled and waited for.
    DWORD errors = 0;
    COMSTAT status{};
    if (!isOpen() || !::ClearCommError(m_port, &errors, &status)) {
        return 0;
    }
    return status.cbInQue;
}

std::size_t Win32SerialPort::read(std::span<std::uint8_t> buffer, std::chrono::milliseconds wait) {
    if (!isOpen()) {
        return 0;
    }
    resetRecord(m_readTransfer);
    if (!::ReadFile(m_port, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr,
                    &m_readTransfer) &&
        ::GetLastError() != ERROR_IO_PENDING) {
        return 0;
    }
    return finish(m_readTransfer, wait);
}

void Win32SerialPort::close() {
    if (isOpen()) {
        ::CloseHandle(m_port);
        m_port = INVALID_HANDLE_VALUE;
    }
    if (m_finePeriod) {
        ::timeEndPeriod(kTimerPeriodMs);
        m_finePeriod = false;
    }
}

} // namespace tevra
