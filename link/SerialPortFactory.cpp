#include "link/SerialPort.h"

#ifdef _WIN32
#include "link/Win32SerialPort.h"
#else
#include "link/PosixSerialPort.h"
#endif

namespace tevra {

std::unique_ptr<SerialPort> createSystemSerialPort() {
#ifdef _WIN32
    return std::make_unique<Win32SerialPort>();
#else
    return std::make_unique<PosixSerialPort>();
#endif
}

} // namespace tevra
