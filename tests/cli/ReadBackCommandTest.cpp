#include "ToolRun.h"
#include "files/ProgramFile.h"
#include "link/Upload.h"
#include "sim/SimulatedController.h"
#include "support/SavedVariable.h"
#include "support/TemporaryFolder.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace tevra::test {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

enum ExitStatus { kExitDone, kExitRefused, kExitNoAnswer, kExitMismatch };

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
        ASSERT_FALSE(m_dir.empty());
        // Where the tool's own simulator makes itself known: away from any editor of the user's.
        ::setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
    }

    std::string startProgramFile() const {
        const std::string file = (m_dir / "program.tvr").string();
        EXPECT_TRUE(writeProgramFile(file, ProgramImage::startProgram()).ok());
        return file;
    }

    // A controller that holds the program and the settings; run() then talks to it.
    void start(const ProgramImage& program, const ConfigBlock& settings,
               const SimulatorOptions& fault = {}) {
        m_simulator = std::make_unique<SimulatedController>(fault);
        m_simulator->load(kProgramAddress, program.bytes());
        m_simulator->load(kConfigBlockAddress, settings);
        ASSERT_TRUE(m_simulator->start()) << m_simulator->error();
    }
    ToolResult run(const Args& args) const {
        Args all{args.front(), "--port", m_simulator->devicePath()};
        all.insert(all.end(), args.begin() + 1, args.end());
        return runTool(all);
    }

    // How many read-backs went on the line, after checking that nothing else did: not one
    // write command, nor any other byte.
    std::size_t readBacksOnly() const {
        const Bytes bytes = m_simulator->receivedBytes();
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), kWriteCommand), 0);
        EXPECT_EQ(bytes.size() % 3, 0u);
        for (std::size_t i = 0; i < bytes.size(); i += 3) {
            EXPECT_EQ(bytes[i], kReadBackCommand) << "byte " << i;
        }
        return bytes.size() / 3;
    }

    SavedVariable m_runtimeDir{"XDG_RUNTIME_DIR"};
    const TemporaryFolder m_folder{"tevra-readback"};
    const fs::path m_dir = m_folder.path();
    const fs::path m_out = m_dir / "out.tvr";
    std::unique_ptr<SimulatedController> m_simulator;
};

TEST_F(ReadBackCommandTest, DownloadSavesTheProgramOnlyFromTwoAgreeingReadsOfEachBlock) {
    // The header word (the step count, and 0x8000 for the start block), the fault, the exit
    // status, words found in standard error and the reads on the line.
    const std::tuple<std::uint16_t, SimulatorOptions, int, const char*, std::size_t> rows[] = {
        {0, {}, kExitDone, "Ok... 2/2", 4},
        {7, {}, kExitDone, "Ok... 2/2", 4},
        {8, {}, kExitDone, "Ok... 3/3", 6},
        {500, {}, kExitDone, "Ok... 72/72", 144},
        {0x8000 | 20, {.wrongByteOnAttempts = {1}}, kExitDone, "Ok... 4/4", 10},
        // The end of an answer that an interrupted download left comes before the first: that
        // answer runs too long, and the line must fall silent before the next command.
        {0x8000 | 20, {.leftoverBytes = 40}, kExitDone, "Ok... 4/4", 1 + 8},
        // The line goes with the first read of the second block.
        {20, {.hangUpAfterBlock = 0}, kExitNoAnswer, "Нет ответа контроллера! Блок 0x0080", 3},
        // Four attempts of two reads, the second answer of each differing from the first.
        {20, {.wrongByteOnAttempts = {2, 4, 6, 8}}, kExitRefused, "Блок 0x0000", 8},
        {0xFFFF, {}, kExitMismatch, "0xFFFF даёт шагов 32767", 2},
        {501, {}, kExitMismatch, "0x01F5 даёт шагов 501", 2},
    };
    for (const auto& [headerWord, fault, exitStatus, err, reads] : rows) {
        SCOPED_TRACE(err);
        const std::string kept = "keep me";
        std::ofstream(m_out) << kept;
        ProgramImage program = ProgramImage::startProgram();
        for (std::size_t i = kHeaderSize; i < kImageSize; ++i) {
            program.bytes()[i] = static_cast<std::uint8_t>(i * 7 + 1);
        }
        program.setHeaderWord(headerWord);
        // The settings in words, two of them from bytes that no setting gives.
        start(program,
              patched(patched(settingsBlock(true, false, true, false), 6, {0, 0}), 8, {0, 0xFF}),
              fault);
        const ToolResult result = run({"download", m_out.string()});
        EXPECT_EQ(result.exitStatus, exitStatus);
        EXPECT_NE(result.err.find(err), std::string::npos) << result.err;
        const bool saved = exitStatus == kExitDone;
        std::ifstream saveFile(m_out, std::ios::binary);
        EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(saveFile), {}),
                  saved ? programFileBytes(program) : Bytes(kept.begin(), kept.end()));
        EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
        std::string said = "Шагов: " + std::to_string(headerWord & 0x7FFF);
        said.append(headerWord & 0x8000 ? "\nСтарт блок: да\n" : "\nСтарт блок: нет\n")
            .append("Таймер включен: да\nНа всю ночь: нет\nИнверсия освещения: да\n"
                    "Задержка ожидания дня: 3600 с\nЗадержка включения: 60 с\n"
                    "Время работы: байты 0x00 0x00 не даёт ни одна настройка\n"
                    "SLAVE: байты 0x00 0xFF не даёт ни одна настройка\n");
        EXPECT_EQ(result.out, saved ? said : "");
        EXPECT_EQ(readBacksOnly(), reads);
    }
}

TEST_F(ReadBackCommandTest, DownloadDecodesEveryTimerWordAndNamesBytesNoSettingGives) {
    const std::string times = R"("dayWait":3600,"switchOnDelay":60,"workingTime":7200,)";
    const std::string noTimes = R"("dayWait":null,"switchOnDelay":null,"workingTime":null,)";
    const std::string neither = R"("allNight":false,"inversion":false,)";
    // The times with the timer off and bytes 10..127 are set by no setting: anything goes.
    const ConfigBlock timerOff =
        patched(patched(settingsBlock(false, true, true, false), 2, {1, 2, 3, 4}), 100, {0x55});
    const ConfigBlock timed = settingsBlock(true, false, false, false);
    const std::pair<ConfigBlock, std::string> rows[] = {
        {timerOff, "false," + noTimes + neither + R"("slave":false,"undecodable":[])"},
        {timed, "true," + times + neither + R"("slave":false,"undecodable":[])"},
        {settingsBlock(true, false, true, true),
         "true," + times + R"("allNight":false,"inversion":true,"slave":true,"undecodable":[])"},
        {settingsBlock(true, true, false, false),
         "true," + times + R"("allNight":true,"inversion":false,"slave":false,"undecodable":[])"},
        {settingsBlock(true, true, true, false),
         "true," + times + R"("allNight":true,"inversion":true,"slave":false,"undecodable":[])"},
        {patched(timed, 0, {0x34, 0x12}),
         "null," + noTimes + R"("allNight":null,"inversion":null,"slave":false,)" +
             R"("undecodable":[{"field":"timer","bytes":[52,18]}])"},
        {patched(timerOff, 8, {0x00, 0xFF}),
         "false," + noTimes + neither +
             R"("slave":null,"undecodable":[{"field":"slave","bytes":[0,255]}])"},
        {ConfigBlock{},
         "true," + noTimes + R"("allNight":true,"inversion":false,"slave":true,"undecodable":[)" +
             R"({"field":"dayWait","bytes":[0,0]},{"field":"switchOnDelay","bytes":[0,0]},)" +
             R"({"field":"workingTime","bytes":[0,0]}])"},
    };
    for (const auto& [block, json] : rows) {
        start(ProgramImage::startProgram(), block);
        const ToolResult result = run({"download", "--json", m_out.string()});
        EXPECT_EQ(result.exitStatus, kExitDone) << result.err;
        EXPECT_EQ(result.out,
                  R"({"steps":20,"startBlock":false,"settings":{"timer":)" + json + "}}\n");
    }
}

TEST_F(ReadBackCommandTest, VerifyComparesWhatTheUploadWouldWriteAndNamesTheFirstDifference) {
    const std::string file = startProgramFile();
    using Changes = std::vector<std::pair<std::uint16_t, std::uint8_t>>;
    // Bytes that the controller holds other than the file and the same settings put there.
    const std::tuple<Changes, int, const char*, SimulatorOptions> rows[] = {
        {{}, kExitDone, "Контроллер совпадает с файлом\n", {}},
        {{{0x0116, 0x99}},
         kExitMismatch,
         "Контроллер отличается от файла: 0x0116, шаг 16, канал 5: ожидалось 0x00, найдено 0x99",
         {}},
        {{{0x0014, 0x65}}, kExitMismatch, "0x0014, шаг 2, время шага:", {}},
        {{{0x0000, 0x15}}, kExitMismatch, "0x0000, заголовок (шагов, старт блок):", {}},
        {{{0x3706, 0x1D}}, kExitMismatch, "0x3706, настройки, Время работы:", {}},
        // Bytes beyond the program's last step and bytes no setting sets are not compared.
        {{{0x016A, 0x99}, {0x3764, 0x55}}, kExitDone, "совпадает", {}},
        {{}, kExitNoAnswer, "Блок 0x0080", {.hangUpAfterBlock = 0}},
        // Still arriving after the purge, as on a real line: two reads shifted alike agree.
        {{}, kExitDone, "совпадает", {.paced = true, .leftoverBytes = 40}},
    };
    for (const auto& [changes, exitStatus, said, fault] : rows) {
        SCOPED_TRACE(said);
        start(ProgramImage::startProgram(), settingsBlock(true, false, true, false), fault);
        for (const auto& [address, byte] : changes) {
            m_simulator->load(address, Bytes{byte});
        }
        const ToolResult result = run({"verify", "--timer", "3600,60,7200", "--inversion", file});
        EXPECT_EQ(result.exitStatus, exitStatus);
        EXPECT_NE((result.out + result.err).find(said), std::string::npos) << result.out;
        readBacksOnly();
    }
}

TEST_F(ReadBackCommandTest, SimulatorHoldsTheLoadedFileAndSettingsOrRefusesToStart) {
    const std::string file = startProgramFile();
    ToolRun simulator(
        {"simulate", "--load", file, "--timer", "3600,60,7200", "--inversion", "--slave"});
    EXPECT_EQ(runTool({"verify", "--port", simulator.firstLine(), file, "--timer", "3600,60,7200",
                       "--inversion", "--slave"})
                  .exitStatus,
              kExitDone);
    simulator.signal(SIGTERM);
    EXPECT_EQ(simulator.finish().exitStatus, 0);

    const std::pair<Args, const char*> refusals[] = {
        {{"simulate", "--load", (m_dir / "missing.tvr").string()}, "не может быть загружен"},
        {{"simulate", "--timer", "1,2,0"}, "времени работы должно быть 1-65535"},
        {{"verify", "--port", file, "--timer", "0,60,7200", file}, "ожидания дня должно быть"}};
    for (const auto& [refused, said] : refusals) {
        const ToolResult result = runTool(refused);
        EXPECT_EQ(result.exitStatus, kExitRefused) << said;
        EXPECT_NE(result.err.find(said), std::string::npos) << result.err;
    }
}

} // namespace
} // namespace tevra::test
