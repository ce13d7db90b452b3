#include "ToolRun.h"
#include "files/ProgramFile.h"
#include "sim/SimulatedController.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <unistd.h>

namespace tevra::test {
namespace {

namespace fs = std::filesystem;

constexpr int kExitWritten = 0;
constexpr int kExitRefused = 1;
constexpr int kExitNoAnswer = 2;
constexpr int kExitMismatch = 3;

class UploadCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        m_file = fs::temp_directory_path() /
                 ("tevra-upload-" + std::to_string(::getpid()) + "-" + name + ".tvr");
        writeFile(programFileBytes(ProgramImage::startProgram()));
    }
    void TearDown() override { fs::remove(m_file); }

    void writeFile(const std::vector<std::uint8_t>& bytes) const {
        std::ofstream out(m_file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    void startSimulator(SimulatorOptions options = {}) {
        m_simulator = std::make_unique<SimulatedController>(std::move(options));
        ASSERT_TRUE(m_simulator->start()) << m_simulator->error();
    }

    ToolResult upload(std::vector<std::string> extra = {}) const {
        std::vector<std::string> args{"upload", "--port", m_simulator->devicePath()};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(m_file.string());
        return runTool(args);
    }

    fs::path m_file;
    std::unique_ptr<SimulatedController> m_simulator;
};

TEST_F(UploadCommandTest, WritesProgramAndSettingsAndExitsZero) {
    startSimulator();
    const ToolResult result =
        upload({"--timer", "3600,60,7200", "--inversion", "--all-night", "--slave"});
    EXPECT_EQ(result.exitStatus, kExitWritten) << result.err;
    EXPECT_EQ(result.out, "Контроллер записан!\n");
    const auto file = programFileBytes(ProgramImage::startProgram());
    const auto memory = m_simulator->programArea();
    EXPECT_TRUE(std::equal(file.begin(), file.end(), memory.begin()));
    const ConfigBlock settings = m_simulator->settingsBlock();
    EXPECT_EQ(
        std::vector<std::uint8_t>(settings.begin(), settings.begin() + 10),
        (std::vector<std::uint8_t>{0x00, 0xFF, 0x10, 0x0E, 0x3C, 0x00, 0x20, 0x1C, 0x00, 0x00}));
}

TEST_F(UploadCommandTest, TimerIsOffWithoutTheOption) {
    startSimulator();
    EXPECT_EQ(upload().exitStatus, kExitWritten);
    const ConfigBlock settings = m_simulator->settingsBlock();
    EXPECT_EQ(settings[0], 0xFF);
    EXPECT_EQ(settings[1], 0xFF);
    EXPECT_EQ(settings[8], 0xFF);
}

TEST_F(UploadCommandTest, SilentControllerExitsTwo) {
    SimulatorOptions options;
    options.silentFromBlock = 0;
    startSimulator(options);
    const ToolResult result = upload();
    EXPECT_EQ(result.exitStatus, kExitNoAnswer);
    EXPECT_EQ(result.out, "Нет ответа контроллера!\n");
    EXPECT_NE(result.err.find("0x0000"), std::string::npos) << result.err;
}

TEST_F(UploadCommandTest, MismatchExitsThreeAndNamesTheBytes) {
    SimulatorOptions options;
    options.wrongByteOnAttempts = {2, 3, 4, 5};
    startSimulator(options);
    const ToolResult result = upload();
    EXPECT_EQ(result.exitStatus, kExitMismatch);
    EXPECT_EQ(result.out, "Ошибка записи!\n");
    EXPECT_NE(result.err.find("Блок 0x0080"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("ожидалось"), std::string::npos) << result.err;
}

struct RefusalRow {
    const char* name;
    const char* timer;
    const char* message;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const RefusalRow& row, std::ostream* out) {
    *out << row.name;
}

class UploadRefusalTest : public UploadCommandTest,
                          public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(UploadRefusalTest, RefusesSettingsBeforeOpeningThePort) {
    startSimulator();
    const ToolResult result = upload({"--timer", GetParam().timer});
    EXPECT_EQ(result.exitStatus, kExitRefused);
    EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
    EXPECT_TRUE(m_simulator->receivedBytes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UploadRefusalTest,
    ::testing::Values(
        RefusalRow{"DayWaitZero", "0,0,0", "Значение ожидания дня должно быть 1-65535"},
        RefusalRow{"SwitchOnDelayTooLarge", "1,65536,0",
                   "Значение задержки включения должно быть 1-65535"},
        RefusalRow{"RunningTimeZero", "65535,1,0", "Значение времени работы должно быть 1-65535"}),
    [](const ::testing::TestParamInfo<RefusalRow>& row) { return std::string(row.param.name); });

TEST_F(UploadCommandTest, RefusesABadFileBeforeSendingAnything) {
    startSimulator();
    auto bytes = programFileBytes(ProgramImage::startProgram());
    bytes.pop_back();
    writeFile(bytes);
    const ToolResult result = upload();
    EXPECT_EQ(result.exitStatus, kExitRefused);
    EXPECT_TRUE(result.out.empty());
    EXPECT_TRUE(m_simulator->receivedBytes().empty());
}

TEST_F(UploadCommandTest, MissingPortExitsOne) {
    const ToolResult result =
        runTool({"upload", "--port", "/dev/tevra-no-such-port", m_file.string()});
    EXPECT_EQ(result.exitStatus, kExitRefused);
    EXPECT_NE(result.err.find("Ошибка открытия порта !"), std::string::npos) << result.err;
}

} // namespace
} // namespace tevra::test
