#include "ToolRun.h"
#include "files/ProgramFile.h"
#include "link/Upload.h"
#include "sim/SimulatedController.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace tevra::test {
namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

constexpr int kExitDone = 0;
constexpr int kExitRefused = 1;
constexpr int kExitNoAnswer = 2;
constexpr int kExitMismatch = 3;

Bytes readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// With the times 3600, 60 and 7200 s.
ConfigBlock settingsBlock(bool timerOn, bool allNight, bool inversion, bool slave) {
    return *buildConfigBlock({timerOn, allNight, inversion, slave, "3600", "60", "7200"}).block;
}

ConfigBlock patched(ConfigBlock block, std::size_t offset, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), block.begin() + static_cast<std::ptrdiff_t>(offset));
    return block;
}

class ReadBackCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "tevra-readback-XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        m_dir = name;
        m_out = m_dir / "out.tvr";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void startSimulator(const ProgramImage& program, const ConfigBlock& settings,
                        const SimulatorOptions& options = {}) {
        m_simulator = std::make_unique<SimulatedController>(options);
        m_simulator->load(kProgramAddress, programFileBytes(program));
        m_simulator->load(kConfigBlockAddress, settings);
        ASSERT_TRUE(m_simulator->start()) << m_simulator->error();
    }

    ToolResult run(const std::string& command, const std::vector<std::string>& args) const {
        std::vector<std::string> all{command, "--port", m_simulator->devicePath()};
        all.insert(all.end(), args.begin(), args.end());
        return runTool(all);
    }

    // Each read-back's address, in order, after checking that nothing else went on the line:
    // not one write command, nor any other byte.
    std::vector<std::uint16_t> readBacksOnly() const {
        const Bytes bytes = m_simulator->receivedBytes();
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), kWriteCommand), 0);
        EXPECT_EQ(bytes.size() % 3, 0u);
        std::vector<std::uint16_t> addresses;
        for (std::size_t i = 0; i + 2 < bytes.size(); i += 3) {
            EXPECT_EQ(bytes[i], kReadBackCommand) << "byte " << i;
            addresses.push_back(static_cast<std::uint16_t>(bytes[i + 1] | bytes[i + 2] << 8));
        }
        return addresses;
    }

    fs::path m_dir;
    fs::path m_out;
    std::unique_ptr<SimulatedController> m_simulator;
};

TEST_F(ReadBackCommandTest, DownloadWritesTheProgramByteForByteReadingEachBlockTwice) {
    const struct {
        int steps;
        bool startBlock;
    } rows[] = {{0, false}, {7, false}, {8, false}, {500, false}, {20, true}};
    for (const auto& [steps, startBlock] : rows) {
        SCOPED_TRACE(steps);
        ProgramImage program = ProgramImage::startProgram();
        program.setStepCount(steps);
        program.setStartBlock(startBlock);
        for (int step = 1; step <= steps; ++step) {
            program.setStepTime(step, static_cast<std::uint16_t>(step * 5));
            for (int channel = 0; channel < kChannelCount; ++channel) {
                program.setCell(step, channel, static_cast<std::uint8_t>(step * 16 + channel));
            }
        }
        startSimulator(program, settingsBlock(false, false, false, false));

        const ToolResult result = run("download", {m_out.string()});
        ASSERT_EQ(result.exitStatus, kExitDone) << result.err;
        EXPECT_EQ(readAll(m_out), programFileBytes(program));
        EXPECT_EQ(result.out.substr(0, result.out.find("Таймер")),
                  "Шагов: " + std::to_string(steps) +
                      "\nСтарт блок: " + (startBlock ? "да" : "нет") + "\n");
        std::vector<std::uint16_t> expected;
        for (int block = 0; block < programBlockCount(program); ++block) {
            expected.insert(expected.end(), 2, static_cast<std::uint16_t>(block * 0x80));
        }
        expected.insert(expected.end(), 2, kConfigBlockAddress);
        EXPECT_EQ(readBacksOnly(), expected);
    }
}

TEST_F(ReadBackCommandTest, DownloadNamesWhatWentWrongAndLeavesAnExistingOutAlone) {
    const struct {
        std::uint16_t headerWord;
        SimulatorOptions fault;
        int exitStatus;
        std::string message;
        std::size_t reads;
    } rows[] = {
        // The line goes with the first read of the second block.
        {20, {.hangUpAfterBlock = 0}, kExitNoAnswer, "Нет ответа контроллера! Блок 0x0080", 3},
        // Four attempts of two reads, the second answer of each differing from the first.
        {20, {.wrongByteOnAttempts = {2, 4, 6, 8}}, kExitRefused, "Блок 0x0000", 8},
        {0xFFFF, {}, kExitMismatch, "0xFFFF даёт шагов 32767", 2},
        {501, {}, kExitMismatch, "0x01F5 даёт шагов 501", 2},
    };
    const std::string kept = "keep me";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message);
        startSimulator(ProgramImage::startProgram(), settingsBlock(false, false, false, false),
                       row.fault);
        m_simulator->load(kProgramAddress, Bytes{static_cast<std::uint8_t>(row.headerWord & 0xFF),
                                                 static_cast<std::uint8_t>(row.headerWord >> 8)});
        std::ofstream(m_out) << kept;

        const ToolResult result = run("download", {"--json", m_out.string()});
        EXPECT_EQ(result.exitStatus, row.exitStatus);
        EXPECT_NE(result.err.find(row.message), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(readAll(m_out), Bytes(kept.begin(), kept.end()));
        EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
        EXPECT_EQ(readBacksOnly().size(), row.reads);
    }
}

// The settings object of the JSON report, from the values of its fields in order.
std::string settingsJson(const char* timer, const char* times, const char* flags, const char* slave,
                         const char* undecodable = "") {
    return std::string(R"({"timer":)") + timer + times + flags + R"(,"slave":)" + slave +
           R"(,"undecodable":[)" + undecodable + "]}";
}

TEST_F(ReadBackCommandTest, DownloadDecodesEveryTimerWordAndNamesBytesNoSettingGives) {
    const char* kTimes = R"(,"dayWait":3600,"switchOnDelay":60,"workingTime":7200)";
    const char* kNoTimes = R"(,"dayWait":null,"switchOnDelay":null,"workingTime":null)";
    const char* kNeither = R"(,"allNight":false,"inversion":false)";
    // The times with the timer off and bytes 10..127 are set by no setting: anything goes.
    const ConfigBlock timerOff =
        patched(patched(settingsBlock(false, true, true, false), 2, {1, 2, 3, 4}), 100, {0x55});
    const ConfigBlock timed = settingsBlock(true, false, false, false);
    const struct {
        const char* name;
        ConfigBlock block;
        std::string json;
    } rows[] = {
        {"timer off", timerOff, settingsJson("false", kNoTimes, kNeither, "false")},
        {"timed", timed, settingsJson("true", kTimes, kNeither, "false")},
        {"timed, inverted, slave", settingsBlock(true, false, true, true),
         settingsJson("true", kTimes, R"(,"allNight":false,"inversion":true)", "true")},
        {"all night", settingsBlock(true, true, false, false),
         settingsJson("true", kTimes, R"(,"allNight":true,"inversion":false)", "false")},
        {"all night, inverted", settingsBlock(true, true, true, false),
         settingsJson("true", kTimes, R"(,"allNight":true,"inversion":true)", "false")},
        {"unknown timer word", patched(timed, 0, {0x34, 0x12}),
         settingsJson("null", kNoTimes, R"(,"allNight":null,"inversion":null)", "false",
                      R"({"field":"timer","bytes":[52,18]})")},
        {"mixed role bytes", patched(timerOff, 8, {0x00, 0xFF}),
         settingsJson("false", kNoTimes, kNeither, "null", R"({"field":"slave","bytes":[0,255]})")},
        {"zeroes", ConfigBlock{},
         settingsJson(
             "true", kNoTimes, R"(,"allNight":true,"inversion":false)", "true",
             R"({"field":"dayWait","bytes":[0,0]},{"field":"switchOnDelay","bytes":[0,0]},)"
             R"({"field":"workingTime","bytes":[0,0]})")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        startSimulator(ProgramImage::startProgram(), row.block);
        const ToolResult result = run("download", {"--json", m_out.string()});
        EXPECT_EQ(result.exitStatus, kExitDone) << result.err;
        EXPECT_EQ(result.out, R"({"steps":20,"startBlock":false,"settings":)" + row.json + "}\n");
    }

    startSimulator(
        ProgramImage::startProgram(),
        patched(patched(settingsBlock(true, false, true, false), 6, {0, 0}), 8, {0, 0xFF}));
    const ToolResult words = run("download", {m_out.string()});
    EXPECT_EQ(words.exitStatus, kExitDone) << words.err;
    EXPECT_EQ(words.out, "Шагов: 20\nСтарт блок: нет\nТаймер включен: да\nНа всю ночь: нет\n"
                         "Инверсия освещения: да\nЗадержка ожидания дня: 3600 с\n"
                         "Задержка включения: 60 с\n"
                         "Время работы: байты 0x00 0x00 не даёт ни одна настройка\n"
                         "SLAVE: байты 0x00 0xFF не даёт ни одна настройка\n");
}

TEST_F(ReadBackCommandTest, VerifyComparesWhatTheUploadWouldWriteAndNamesTheFirstDifference) {
    const fs::path file = m_dir / "program.tvr";
    ASSERT_TRUE(writeProgramFile(file, ProgramImage::startProgram()).ok());
    const char* kSameTimes = "3600,60,7200";
    const struct {
        // Bytes that the controller holds other than the file and the same settings put there.
        std::vector<std::pair<std::uint16_t, std::uint8_t>> changes;
        const char* timer;
        int exitStatus;
        std::string said;
        SimulatorOptions fault{};
    } rows[] = {
        {{}, kSameTimes, kExitDone, "Контроллер совпадает с файлом\n"},
        {{{0x0116, 0x99}},
         kSameTimes,
         kExitMismatch,
         "Контроллер отличается от файла: 0x0116, шаг 16, канал 5: ожидалось 0x00, найдено 0x99"},
        {{{0x0014, 0x65}},
         kSameTimes,
         kExitMismatch,
         "0x0014, шаг 2, время шага: ожидалось 0x64, найдено 0x65"},
        {{{0x0000, 0x15}},
         kSameTimes,
         kExitMismatch,
         "0x0000, заголовок (шагов, старт блок): ожидалось 0x14, найдено 0x15"},
        {{},
         "3600,60,7201",
         kExitMismatch,
         "0x3706, настройки, Время работы: ожидалось 0x21, найдено 0x20"},
        // Bytes beyond the program's last step and bytes no setting sets are not compared.
        {{{0x016A, 0x99}, {0x3764, 0x55}}, kSameTimes, kExitDone, "совпадает"},
        {{}, kSameTimes, kExitNoAnswer, "Блок 0x0080", {.hangUpAfterBlock = 0}},
        {{}, "0,60,7200", kExitRefused, "Значение ожидания дня должно быть 1-65535"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.said);
        startSimulator(ProgramImage::startProgram(), settingsBlock(true, false, true, false),
                       row.fault);
        for (const auto& [address, byte] : row.changes) {
            m_simulator->load(address, Bytes{byte});
        }
        const ToolResult result =
            run("verify", {"--timer", row.timer, "--inversion", file.string()});
        EXPECT_EQ(result.exitStatus, row.exitStatus);
        EXPECT_NE((result.out + result.err).find(row.said), std::string::npos) << result.out;
        readBacksOnly();
    }
}

TEST_F(ReadBackCommandTest, SimulatorRefusesABadFileOrSettingsBeforeStarting) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"simulate", "--load", (m_dir / "missing.tvr").string()},
             {"simulate", "--timer", "1,2"},
             {"simulate", "--timer", "1,2,0"}}) {
        const ToolResult result = runTool(args);
        EXPECT_EQ(result.exitStatus, kExitRefused) << args.back();
        EXPECT_FALSE(result.err.empty());
    }
}

} // namespace
} // namespace tevra::test
