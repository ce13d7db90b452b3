#pragma once

#include <string>
#include <vector>

namespace tevra {

struct PortEntry {
    std::string shownName;  // what the port list shows
    std::string deviceName; // what is opened
};

// Windows: "COM1".."COM22", opened as "\\.\COM10".. from the tenth entry on. Elsewhere: the
// system's serial devices and any running simulated controller.
std::vector<PortEntry> portTable();

// The device opened for a list index; the empty name (which fails to open) outside the table.
std::string deviceNameForIndex(const std::vector<PortEntry>& table, int index);

} // namespace tevra
