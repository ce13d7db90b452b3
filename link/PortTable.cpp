#include "link/PortTable.h"

#include <algorithm>
#include <cstddef>

#ifndef _WIN32
#include "link/SimulatorLink.h"

#include <fstream>
#include <system_error>
#include <tuple>
#endif

namespace tevra {

namespace {

// From the tenth port on, Windows opens COM devices only through the device namespace.
constexpr int kFirstPrefixedPort = 10;
constexpr const char* kDeviceNamespacePrefix = "\\\\.\\";

#ifndef _WIN32
constexpr const char* kDeviceDirectory = "/dev";
constexpr const char* kSysTtyDirectory = "/sys/class/tty";
// The kernel's PORT_UNKNOWN: a UART slot with no chip behind it.
constexpr int kUnknownUartType = 0;

bool hasPrefix(const std::string& name, const std::string& prefix) {
    return name.compare(0, prefix.size(), prefix) == 0;
}

// A ttyS entry exists for every possible UART; only one with a known type is real hardware.
// The type is read from sysfs: opening the device to ask would toggle its modem lines.
bool uartPresent(const std::filesystem::path& sysTtyEntry) {
    std::ifstream typeFile(sysTtyEntry / "type");
    int type = kUnknownUartType;
    return typeFile >> type && type != kUnknownUartType;
}

// "ttyS2" before "ttyS10": by what precedes the closing digits, then by the number they make.
// Device names carry no leading zeros, so the longer number is the larger.
bool naturalLess(const std::string& left, const std::string& right) {
    const auto key = [](const std::string& name) {
        const std::size_t split = name.find_last_not_of("0123456789") + 1;
        const std::string number = name.substr(split);
        return std::tuple(name.substr(0, split), number.size(), number);
    };
    return key(left) < key(right);
}
#endif

} // namespace

std::vector<PortEntry> windowsPortTable() {
    std::vector<PortEntry> table;
    for (int number = 1; number <= kWindowsPortCount; ++number) {
        const std::string shown = "COM" + std::to_string(number);
        table.push_back(
            {shown, number < kFirstPrefixedPort ? shown : kDeviceNamespacePrefix + shown});
    }
    return table;
}

#ifndef _WIN32
std::vector<PortEntry> serialDeviceTable(const std::filesystem::path& deviceRoot,
                                         const std::filesystem::path& sysTtyRoot) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(deviceRoot, error)) {
        const std::string name = entry.path().filename().string();
        const bool usb = hasPrefix(name, "ttyUSB") || hasPrefix(name, "ttyACM");
        const bool uart = hasPrefix(name, "ttyS");
        if (!usb && !uart) {
            continue;
        }
        std::error_code sysError;
        if (!std::filesystem::exists(sysTtyRoot / name / "device", sysError)) {
            continue;
        }
        if (uart && !uartPresent(sysTtyRoot / name)) {
            continue;
        }
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), naturalLess);
    std::vector<PortEntry> table;
    for (const auto& name : names) {
        const std::string path = (deviceRoot / name).string();
        table.push_back({path, path});
    }
    return table;
}
#endif

std::vector<PortEntry> portTable() {
#ifdef _WIN32
    return windowsPortTable();
#else
    std::vector<PortEntry> table = serialDeviceTable(kDeviceDirectory, kSysTtyDirectory);
    if (const auto simulator = SimulatorLink::publishedDevice()) {
        table.push_back({simulatorShownName(*simulator), *simulator});
    }
    return table;
#endif
}

std::string deviceNameForIndex(const std::vector<PortEntry>& table, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= table.size()) {
        return {};
    }
    return table[static_cast<std::size_t>(index)].deviceName;
}

std::string simulatorShownName(const std::string& devicePath) {
    return "Симулятор (" + devicePath + ")";
}

} // namespace tevra
