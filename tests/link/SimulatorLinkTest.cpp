#include "link/SimulatorLink.h"

#include "sim/SimulatedController.h"
#include "support/SavedVariable.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tevra {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// No runtime directory, as for root, cron or a bare ssh session; the temporary directory is
// a folder of the test's own, where "another user" plants things before the simulator starts.
class SimulatorLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_temp = fs::temp_directory_path() / ("tevra-link-test-" + std::to_string(::getpid()));
        fs::create_directories(m_temp);
        ::unsetenv("XDG_RUNTIME_DIR");
        ::setenv("TMPDIR", m_temp.c_str(), 1);
        m_private = m_temp / ("tevra-" + std::to_string(::geteuid()));
        m_victim = m_temp / "victim";
        fs::create_directories(m_victim);
        std::ofstream(m_victim / "precious") << "keep me";
        ASSERT_TRUE(m_simulator.start()) << m_simulator.error();
    }
    void TearDown() override {
        SimulatorLink::withdraw();
        fs::remove_all(m_temp);
    }

    test::SavedVariable m_runtimeDir{"XDG_RUNTIME_DIR"};
    test::SavedVariable m_tmpDir{"TMPDIR"};
    fs::path m_temp;
    fs::path m_private;
    fs::path m_victim;
    SimulatedController m_simulator;
};

TEST_F(SimulatorLinkTest, MeetsInAPrivateFolderOfItsOwn) {
    ASSERT_TRUE(SimulatorLink::publish(m_simulator.devicePath()));
    EXPECT_EQ(SimulatorLink::path(), m_private / "tevra-simulator");
    struct stat info {};
    ASSERT_EQ(::lstat(m_private.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, ::geteuid());
    EXPECT_EQ(SimulatorLink::publishedDevice(), m_simulator.devicePath());

    SimulatorLink::withdraw();
    EXPECT_FALSE(SimulatorLink::publishedDevice().has_value());
}

TEST_F(SimulatorLinkTest, NeverWritesThroughNorTrustsWhatOthersPlanted) {
    struct Row {
        const char* name;
        // Plants into the private folder's place, given it and a victim folder.
        std::function<void(const fs::path&, const fs::path&)> plant;
        bool published;
    };
    const std::vector<Row> rows = {
        {"folder name is a link to another folder",
         [](const fs::path& folder, const fs::path& victim) {
             fs::create_directory_symlink(victim, folder);
         },
         false},
        {"folder open to everybody",
         [](const fs::path& folder, const fs::path&) {
             fs::create_directory(folder);
             fs::permissions(folder, fs::perms::all);
         },
         false},
        {"process file is a link to a file",
         [](const fs::path& folder, const fs::path& victim) {
             fs::create_directory(folder);
             fs::permissions(folder, fs::perms::owner_all);
             fs::create_symlink(victim / "precious", folder / "tevra-simulator.pid");
         },
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(m_private);
        row.plant(m_private, m_victim);

        EXPECT_EQ(SimulatorLink::publish(m_simulator.devicePath()), row.published);
        EXPECT_EQ(contents(m_victim / "precious"), "keep me");
        EXPECT_EQ(std::distance(fs::directory_iterator(m_victim), fs::directory_iterator()), 1);
        EXPECT_EQ(SimulatorLink::publishedDevice().has_value(), row.published);
        SimulatorLink::withdraw();
    }
}

TEST_F(SimulatorLinkTest, IgnoresAMeetingPointThatAnotherUserOwns) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can hand a file to another user";
    }
    constexpr uid_t kNobody = 65534;
    for (const char* name : {"tevra-simulator", "tevra-simulator.pid"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(SimulatorLink::publish(m_simulator.devicePath()));
        ASSERT_EQ(::lchown((m_private / name).c_str(), kNobody, kNobody), 0);
        EXPECT_FALSE(SimulatorLink::publishedDevice().has_value());
    }
}

} // namespace
} // namespace tevra
