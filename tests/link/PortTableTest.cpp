#include "link/PortTable.h"

#include "link/SimulatorLink.h"
#include "sim/SimulatedController.h"
#include "support/SavedVariable.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace tevra {
namespace {

struct WindowsRow {
    int index;
    const char* shown;
    const char* opened;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const WindowsRow& row, std::ostream* out) {
    *out << "index " << row.index;
}

class WindowsPortTableTest : public ::testing::TestWithParam<WindowsRow> {};

TEST_P(WindowsPortTableTest, MapsListIndexToDeviceName) {
    const auto table = windowsPortTable();
    ASSERT_EQ(table.size(), static_cast<std::size_t>(kWindowsPortCount));
    const WindowsRow row = GetParam();
    EXPECT_EQ(deviceNameForIndex(table, row.index), row.opened);
    if (*row.shown != '\0') {
        EXPECT_EQ(table[static_cast<std::size_t>(row.index)].shownName, row.shown);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowsPortTableTest,
                         ::testing::Values(WindowsRow{0, "COM1", "COM1"},
                                           WindowsRow{8, "COM9", "COM9"},
                                           WindowsRow{9, "COM10", "\\\\.\\COM10"},
                                           WindowsRow{21, "COM22", "\\\\.\\COM22"},
                                           WindowsRow{-1, "", ""}, WindowsRow{22, "", ""}),
                         [](const ::testing::TestParamInfo<WindowsRow>& row) {
                             const int index = row.param.index;
                             return (index < 0 ? "IndexMinus" : "Index") +
                                    std::to_string(index < 0 ? -index : index);
                         });

TEST(PortTableTest, SortsDeviceNamesNaturally) {
    std::vector<std::string> names{"ttyUSB10", "ttyS10", "ttyACM0", "ttyS2", "ttyUSB9", "ttyS02"};
    std::sort(names.begin(), names.end(), naturalLess);
    EXPECT_EQ(names, (std::vector<std::string>{"ttyACM0", "ttyS2", "ttyS02", "ttyS10", "ttyUSB9",
                                               "ttyUSB10"}));
}

class SimulatorListingTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_directory = std::filesystem::temp_directory_path() /
                      ("tevra-port-table-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_directory);
        ::setenv("XDG_RUNTIME_DIR", m_directory.c_str(), 1);
        ASSERT_TRUE(m_simulator.start()) << m_simulator.error();
    }
    void TearDown() override {
        SimulatorLink::withdraw();
        std::filesystem::remove_all(m_directory);
    }

    static bool listed(const std::string& device) {
        const auto table = portTable();
        return std::any_of(table.begin(), table.end(), [&](const PortEntry& entry) {
            return entry.deviceName == device && entry.shownName == simulatorShownName(device);
        });
    }

    test::SavedVariable m_runtimeDir{"XDG_RUNTIME_DIR"};
    std::filesystem::path m_directory;
    SimulatedController m_simulator;
};

TEST_F(SimulatorListingTest, ListsARunningSimulatorUntilTheLinkIsWithdrawn) {
    ASSERT_TRUE(SimulatorLink::publish(m_simulator.devicePath()));
    EXPECT_EQ(SimulatorLink::path(), m_directory / "tevra-simulator");
    EXPECT_TRUE(listed(m_simulator.devicePath()));
    EXPECT_EQ(simulatorShownName("/dev/pts/3"), "Симулятор (/dev/pts/3)");

    SimulatorLink::withdraw();
    EXPECT_FALSE(std::filesystem::is_symlink(SimulatorLink::path()));
    EXPECT_FALSE(listed(m_simulator.devicePath()));
}

TEST_F(SimulatorListingTest, SkipsALinkWhoseDeviceIsGone) {
    ASSERT_TRUE(SimulatorLink::publish(m_simulator.devicePath()));
    const std::string device = m_simulator.devicePath();
    m_simulator.stop();
    EXPECT_FALSE(SimulatorLink::publishedDevice().has_value());
    EXPECT_FALSE(listed(device));
}

TEST_F(SimulatorListingTest, SkipsALinkWhoseProcessIsGone) {
    ASSERT_TRUE(SimulatorLink::publish(m_simulator.devicePath()));
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    auto pidFile = SimulatorLink::path();
    pidFile += ".pid";
    std::ofstream(pidFile, std::ios::trunc) << child << '\n';
    EXPECT_FALSE(listed(m_simulator.devicePath()));
}

} // namespace
} // namespace tevra
