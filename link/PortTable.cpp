#include "link/PortTable.h"

#include <algorithm>
#include <cctype>
#include <cstddef>

#ifndef _WIN32
#include "link/SimulatorLink.h"

#include <filesystem>
#include <fstream>
#include <system_error>
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
bool uartPresent(const std::string& name) {
    std::ifstream typeFile(std::filesystem::path(kSysTtyDirectory) / name / "type");
    int type = kUnknownUartType;
    return typeFile >> type && type != kUnknownUartType;
}

std::vector<std::string> serialDeviceNames() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kDeviceDirectory, error)) {
        const std::string name = entry.path().filename().string();
        const bool usb = hasPrefix(name, "ttyUSB") || hasPrefix(name, "ttyACM");
        const bool uart = hasPrefix(name, "ttyS");
        if (!usb && !uart) {
            continue;
        }
        std::error_code sysError;
        if (!std::filesystem::exists(std::filesystem::path(kSysTtyDirectory) / name / "device",
                                     sysError)) {
            continue;
        }
        if (uart && !uartPresent(name)) {
            continue;
        }
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
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

std::vector<PortEntry> portTable() {
#ifdef _WIN32
    return windowsPortTable();
#else
    std::vector<PortEntry> table;
    for (const auto& name : serialDeviceNames()) {
        const std::string path = std::string(kDeviceDirectory) + "/" + name;
        table.push_back({path, path});
    }
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

bool naturalLess(const std::string& left, const std::string& right) {
    std::size_t i = 0;
    std::size_t j = 0;
    const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    while (i < left.size() && j < right.size()) {
        if (isDigit(left[i]) && isDigit(right[j])) {
            std::size_t endLeft = i;
            std::size_t endRight = j;
            while (endLeft < left.size() && isDigit(left[endLeft])) {
                ++endLeft;
            }
            while (endRight < right.size() && isDigit(right[endRight])) {
                ++endRight;
            }
            // Leading zeros aside, the longer run of digits is the larger number.
            const auto trim = [](const std::string& text, std::size_t from, std::size_t to) {
                while (from + 1 < to && text[from] == '0') {
                    ++from;
                }
                return text.substr(from, to - from);
            };
            const std::string a = trim(left, i, endLeft);
            const std::string b = trim(right, j, endRight);
            if (a.size() != b.size()) {
                return a.size() < b.size();
            }
            if (a != b) {
                return a < b;
            }
            i = endLeft;
            j = endRight;
        } else {
            if (left[i] != right[j]) {
                return left[i] < right[j];
            }
            ++i;
            ++j;
        }
    }
    return left.size() - i < right.size() - j;
}

} // namespace tevra
