#include "link/PortTable.h"

#include "support/TemporaryFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace tevra {
namespace {

namespace fs = std::filesystem;

TEST(PortTableTest, WindowsIndexOpensItsComPortWithTheNamespacePrefixFromTheTenth) {
    const auto table = windowsPortTable();
    ASSERT_EQ(table.size(), 22U);
    const std::tuple<int, const char*, const char*> rows[] = {
        {0, "COM1", "COM1"},           {8, "COM9", "COM9"}, {9, "COM10", "\\\\.\\COM10"},
        {21, "COM22", "\\\\.\\COM22"}, {-1, "", ""},        {22, "", ""}};
    for (const auto& [index, shown, opened] : rows) {
        EXPECT_EQ(deviceNameForIndex(table, index), opened);
        if (*shown != '\0') {
            EXPECT_EQ(table[static_cast<std::size_t>(index)].shownName, shown);
        }
    }
}

TEST(PortTableTest, ListsTheSerialDevicesSysfsBacksInNaturalOrder) {
    const test::TemporaryFolder folder("tevra-ports");
    const fs::path& root = folder.path();
    ASSERT_FALSE(root.empty());
    fs::create_directories(root / "dev");
    // A device name, the UART type sysfs gives it ("": none), and whether sysfs backs it.
    const std::tuple<const char*, const char*, bool> devices[] = {
        {"ttyS0", "4", true},  {"ttyS1", "0", true},   {"ttyS10", "4", true},
        {"ttyS2", "4", true},  {"ttyS3", "4", false},  {"ttyUSB10", "", true},
        {"ttyUSB9", "", true}, {"ttyUSB1", "", false}, {"ttyACM0", "", true},
        {"console", "", true}};
    for (const auto& [device, type, backed] : devices) {
        std::ofstream{root / "dev" / device};
        fs::create_directories(root / "sys" / device);
        if (*type != '\0') {
            std::ofstream(root / "sys" / device / "type") << type << '\n';
        }
        if (backed) {
            fs::create_directory(root / "sys" / device / "device");
        }
    }
    std::vector<std::string> listed;
    for (const PortEntry& entry : serialDeviceTable(root / "dev", root / "sys")) {
        EXPECT_EQ(entry.shownName, entry.deviceName);
        listed.push_back(fs::path(entry.deviceName).lexically_relative(root).string());
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"dev/ttyACM0", "dev/ttyS0", "dev/ttyS2",
                                                "dev/ttyS10", "dev/ttyUSB9", "dev/ttyUSB10"}));
}

} // namespace
} // namespace tevra
