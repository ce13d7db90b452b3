#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tevra {

inline constexpr int kWindowsPortCount = 22;

struct PortEntry {
    std::string shownName;  // what the port list shows
    std::string deviceName; // what is opened
};

// Windows: "COM1".."COM22", opened as "\\.\COM10".. from the tenth entry on. Elsewhere: the
// system's serial devices and any running simulated controller.
std::vector<PortEntry> portTable();

// The Windows table, available everywhere.
std::vector<PortEntry> windowsPortTable();

// The device opened for a list index; the empty name (which fails to open) outside the table.
std::string deviceNameForIndex(const std::vector<PortEntry>& table, int index);

// "Симулятор (/dev/pts/3)".
std::string simulatorShownName(const std::string& devicePath);

#ifndef _WIN32
// The serial devices under deviceRoot that sysfs (sysTtyRoot, normally /sys/class/tty) backs
// with real hardware, in natural order ("ttyS2" before "ttyS10").
std::vector<PortEntry> serialDeviceTable(const std::filesystem::path& deviceRoot,
                                         const std::filesystem::path& sysTtyRoot);
#endif

} // namespace tevra
