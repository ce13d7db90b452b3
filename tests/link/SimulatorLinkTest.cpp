#include "link/SimulatorLink.h"

#include "link/PortTable.h"
#include "sim/SimulatedController.h"
#include "support/SavedVariable.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tevra {
namespace {

namespace fs = std::filesystem;

// No runtime directory, as for root or a bare ssh session: the meeting point is a private
// folder in the temporary directory, here the test's own, where "others" plant things first.
class SimulatorLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_temp / "victim");
        std::ofstream(m_temp / "victim" / "precious") << "keep me";
        ::unsetenv("XDG_RUNTIME_DIR");
        ::setenv("TMPDIR", m_temp.c_str(), 1);
        ASSERT_TRUE(m_simulator.start()) << m_simulator.error();
    }
    void TearDown() override {
        SimulatorLink::withdraw();
        fs::remove_all(m_temp);
    }

    // Offered in the port list, under its own name.
    bool listed() const {
        const auto table = portTable();
        return std::any_of(table.begin(), table.end(), [this](const PortEntry& entry) {
            return entry.deviceName == m_simulator.devicePath() &&
                   entry.shownName == "Симулятор (" + m_simulator.devicePath() + ")";
        });
    }

    test::SavedVariable m_runtimeDir{"XDG_RUNTIME_DIR"};
    test::SavedVariable m_tmpDir{"TMPDIR"};
    const fs::path m_temp = fs::temp_directory_path() / ("tevra-link-" + std::to_string(getpid()));
    const fs::path m_private = m_temp / ("tevra-" + std::to_string(::geteuid()));
    SimulatedController m_simulator;
};

TEST_F(SimulatorLinkTest, IsOfferedFromAPrivateFolderWhileItsProcessAndDeviceLast) {
    ::setenv("XDG_RUNTIME_DIR", "/run/tevra-test", 1); // the runtime directory when there is one
    EXPECT_EQ(SimulatorLink::path(), "/run/tevra-test/tevra-simulator");
    ::unsetenv("XDG_RUNTIME_DIR");
    ASSERT_TRUE(SimulatorLink::publish(m_simulator.devicePath()));
    EXPECT_EQ(SimulatorLink::path(), m_private / "tevra-simulator");
    struct stat info {};
    ASSERT_EQ(::lstat(m_private.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & (S_IFMT | 0777), S_IFDIR | 0700u);
    EXPECT_EQ(info.st_uid, ::geteuid());
    EXPECT_TRUE(listed());
    SimulatorLink::withdraw();
    EXPECT_FALSE(fs::is_symlink(m_private / "tevra-simulator"));
    EXPECT_FALSE(listed());

    ASSERT_TRUE(SimulatorLink::publish(m_simulator.devicePath()));
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    std::ofstream(m_private / "tevra-simulator.pid") << child << '\n';
    EXPECT_FALSE(listed()) << "its process has gone";

    ASSERT_TRUE(SimulatorLink::publish(m_simulator.devicePath()));
    m_simulator.stop();
    EXPECT_FALSE(listed()) << "its device has gone";
}

TEST_F(SimulatorLinkTest, NeverWritesThroughNorTrustsWhatOthersPlanted) {
    const fs::path victim = m_temp / "victim";
    // What is planted in the private folder's place, and whether publishing still succeeds.
    const std::pair<std::function<void()>, bool> rows[] = {
        {[&] { fs::create_directory_symlink(victim, m_private); }, false},
        {[&] { fs::create_directory(m_private, victim); }, false}, // victim's mode: open to all
        {[&] {
             fs::create_directory(m_private);
             fs::permissions(m_private, fs::perms::owner_all);
             fs::create_symlink(victim / "precious", m_private / "tevra-simulator.pid");
         },
         true}};
    fs::permissions(victim, fs::perms::all);
    for (const auto& [plant, published] : rows) {
        fs::remove_all(m_private);
        plant();
        EXPECT_EQ(SimulatorLink::publish(m_simulator.devicePath()), published);
        EXPECT_EQ(SimulatorLink::publishedDevice().has_value(), published);
        std::ifstream in(victim / "precious");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep me");
        EXPECT_EQ(std::distance(fs::directory_iterator(victim), {}), 1);
        SimulatorLink::withdraw();
    }
}

TEST_F(SimulatorLinkTest, IgnoresAMeetingPointThatAnotherUserOwns) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can hand a file to another user";
    }
    for (const char* name : {"tevra-simulator", "tevra-simulator.pid"}) {
        ASSERT_TRUE(SimulatorLink::publish(m_simulator.devicePath()));
        ASSERT_EQ(::lchown((m_private / name).c_str(), 65534, 65534), 0) << name; // nobody
        EXPECT_FALSE(SimulatorLink::publishedDevice().has_value()) << name;
    }
}

} // namespace
} // namespace tevra
