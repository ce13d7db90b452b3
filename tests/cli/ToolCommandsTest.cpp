#include "ToolRun.h"
#include "files/ProgramFile.h"
#include "link/ControllerSettings.h"
#include "link/SerialPort.h"
#include "link/Upload.h"
#include "support/SavedVariable.h"
#include "support/TemporaryFolder.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tevra::test {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

// The tool as a user runs it, in a folder of its own; uploads go to the tool's own simulator,
// which shows at its end what it was sent.
class ToolCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_dir.empty());
        // Where the simulator makes itself known: here, away from any editor of the user's.
        ::setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
        ASSERT_TRUE(writeProgramFile(path("start.tvr"), ProgramImage::startProgram()).ok());
    }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    std::string contentOf(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The upload's result; what the simulator showed after its device path is in m_shown.
    ToolResult upload(const Args& simulateOptions, const Args& uploadOptions,
                      const std::string& port = {}, const std::string& file = {}) {
        Args simulate{"simulate"};
        simulate.insert(simulate.end(), simulateOptions.begin(), simulateOptions.end());
        ToolRun simulator(simulate);
        const std::string device = simulator.firstLine();
        Args args{"upload", "--port", port.empty() ? device : port};
        args.insert(args.end(), uploadOptions.begin(), uploadOptions.end());
        args.push_back(file.empty() ? path("start.tvr") : file);
        const auto started = std::chrono::steady_clock::now();
        const ToolResult result = runTool(args);
        m_took = std::chrono::steady_clock::now() - started;
        simulator.signal(SIGTERM);
        const ToolResult simulated = simulator.finish();
        EXPECT_EQ(simulated.exitStatus, 0);
        EXPECT_EQ(simulated.err, "") << "the simulator is offered in the port lists";
        EXPECT_EQ(simulated.out.rfind(device + "\n", 0), 0U) << simulated.out;
        m_shown = simulated.out.substr(device.size() + 1);
        return result;
    }

    SavedVariable m_runtimeDir{"XDG_RUNTIME_DIR"};
    const TemporaryFolder m_folder{"tevra-cli"};
    const fs::path m_dir = m_folder.path();
    std::string m_shown;
    std::chrono::steady_clock::duration m_took{};
};

TEST_F(ToolCommandsTest, NewCheckShowExportImport) {
    ASSERT_EQ(runTool({"new", path("new.tvr")}).exitStatus, 0);
    const auto start = programFileBytes(ProgramImage::startProgram());
    EXPECT_EQ(contentOf("new.tvr"), std::string(start.begin(), start.end()));
    EXPECT_EQ(runTool({"check", path("new.tvr")}).out, "Файл в порядке: шагов 20\n");

    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(3);
    image.setStartBlock(true);
    image.setStepTime(2, 65535);
    image.setCell(1, 0, 0x7B);  // Level 16
    image.setCell(1, 1, 0xFE);  // DimmerLit, 2560 ms
    image.setCell(1, 2, 0x01);  // On
    image.setCell(3, 15, 0x84); // mode 4, which only files bring
    ASSERT_TRUE(writeProgramFile(path("modes.tvr"), image).ok());
    const std::string shown = runTool({"show", path("modes.tvr")}).out;
    EXPECT_TRUE(shown.starts_with("Шагов: 3\nСтарт блок: да\nШаг 1: 1000 мс | 1: уровень 16; 2: "
                                  "диммер светлый, 2560 mS; 3: включен; 4: выключен; 5:"))
        << shown;
    EXPECT_NE(shown.find("\nШаг 2: 655350 мс | 1: выключен;"), std::string::npos);
    EXPECT_TRUE(shown.ends_with("; 16: диммер (режим 4), 40960 mS\n"));

    // Standard input works as the JSON source too.
    const ToolResult exported = runTool({"export", path("modes.tvr")});
    EXPECT_EQ(runTool({"import", "-", path("copy.tvr")}, exported.out).exitStatus, 0);
    EXPECT_EQ(contentOf("copy.tvr"), contentOf("modes.tvr"));
}

TEST_F(ToolCommandsTest, FailuresExitOneWithTheirReasonAndWriteNothing) {
    std::ofstream(path("wrong.tvr")) << std::string(361, '\0');
    std::ofstream(path("cells.json"))
        << R"({"startBlock": false, "steps": [{"time": 5, "cells": [0,0,0,300]}]})";
    const std::string kept = contentOf("start.tvr");
    const std::pair<Args, std::string> rows[] = {
        {{"check", path("wrong.tvr")}, "Ошибка файла\n"},
        {{"show", path("wrong.tvr")}, "Ошибка файла\n"},
        {{"export", path("missing.tvr")}, "Не удалось открыть файл " + path("missing.tvr") + ": "},
        {{"new", path("missing/new.tvr")}, "Не удалось открыть файл " + path("missing/new.tvr")},
        {{"import", path("missing.json"), path("absent.tvr")},
         "Не удалось открыть файл " + path("missing.json") + ": "},
        {{"import", path("cells.json"), path("start.tvr")},
         path("cells.json") + ": steps[0].cells:"}};
    for (const auto& [args, reason] : rows) {
        const ToolResult result = runTool(args);
        EXPECT_EQ(result.exitStatus, 1) << args[0];
        EXPECT_EQ(result.err.rfind(reason, 0), 0U) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(contentOf("start.tvr"), kept);
    EXPECT_FALSE(fs::exists(path("absent.tvr")));
    for (const Args& args : {Args{}, {"check"}}) {
        EXPECT_GT(runTool(args).exitStatus, 0);
    }
}

TEST_F(ToolCommandsTest, WritesTheProgramAndTheSettingsTheOptionsGive) {
    const std::pair<Args, std::string> rows[] = {
        {{"--timer", "3600,60,7200", "--inversion", "--all-night", "--slave"},
         "Настройки: TimerWord 0xFF00, ожидание дня 3600, задержка включения 60, время работы "
         "7200, роль SLAVE\n0x0000: 00 FF 10 0E 3C 00 20 1C 00 00 00 00"},
        {{"--timer", "1,2,3"},
         "TimerWord 0x0001, ожидание дня 1, задержка включения 2, время работы 3, роль MASTER\n"},
        {{},
         "TimerWord 0xFFFF, ожидание дня 0, задержка включения 0, время работы 0, роль "
         "MASTER\n0x0000: FF FF 00 00 00 00 00 00 FF FF 00 00"}};
    for (const auto& [options, shown] : rows) {
        const ToolResult result = upload({"--dump-on-exit"}, options);
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_EQ(result.out, "Контроллер записан!\n");
        EXPECT_NE(result.err.find("Ok... 3/3"), std::string::npos) << result.err;
        EXPECT_NE(m_shown.find(shown), std::string::npos) << m_shown;
        EXPECT_TRUE(
            m_shown.starts_with("Программа: шагов 20, старт блок нет\n0x0000: 14 00 64 00"));
        EXPECT_NE(m_shown.find("\nШаг 20: 1000 мс | 1: выключен; 2: выключен;"), std::string::npos);
    }
}

// As download reads them, role bytes that no setting gives are shown as they are.
TEST_F(ToolCommandsTest, TheDumpShowsUndecodableRoleBytesAsTheyAre) {
    ToolRun simulator({"simulate", "--dump-on-exit"});
    const std::string device = simulator.firstLine();
    const std::unique_ptr<SerialPort> port = createSystemSerialPort();
    ASSERT_EQ(port->open(device), PortOpenStatus::Opened);
    port->setModemLines();
    std::array<std::uint8_t, kTransferBlockSize> block{};
    block[8] = 0x12;
    block[9] = 0x34;
    EXPECT_EQ(writeBlock(*port, kConfigBlockAddress, block).outcome, UploadOutcome::Written);
    simulator.signal(SIGTERM);
    EXPECT_NE(simulator.finish().out.find(", роль ?? (байты 12 34)\n"), std::string::npos);
}

TEST_F(ToolCommandsTest, ControllerFaultsExitTwoOrThreeAndNameTheBlock) {
    const std::tuple<Args, int, std::string> rows[] = {
        {{"--hang-up-after-block", "0"}, 2, "Блок 0x0080: получено 0 байт из 128\n"},
        {{"--pace", "--hang-up-after-block", "0"}, 2, "Блок 0x0080: получено 0 байт из 128\n"},
        {{"--silent-from-block", "0"}, 2, "Блок 0x0000: получено 0 байт из 128\n"},
        {{"--wrong-byte-on-attempts", "2,3,4,5"},
         3,
         "Блок 0x0080: байт 0: ожидалось 0x64, получено 0x65\n"}};
    for (const auto& [options, exitStatus, err] : rows) {
        const ToolResult result = upload(options, {});
        EXPECT_EQ(result.exitStatus, exitStatus);
        EXPECT_EQ(result.out, exitStatus == 2 ? "Нет ответа контроллера!\n" : "Ошибка записи!\n");
        EXPECT_TRUE(result.err.ends_with(err)) << result.err;
        EXPECT_EQ(m_shown, "") << "shown without --dump-on-exit";
        // A line that is gone must not use up the waits of 1 s a read.
        const bool hangsUp =
            std::find(options.begin(), options.end(), "--hang-up-after-block") != options.end();
        EXPECT_TRUE(!hangsUp || m_took < std::chrono::seconds(2));
    }
}

TEST_F(ToolCommandsTest, RefusalsExitOneBeforeSendingAnything) {
    const std::string refused = path("refused.tvr");
    std::ofstream(refused) << "no program";
    const std::tuple<Args, std::string, std::string, std::string> rows[] = {
        {{"--timer", "0,1,1"}, "", "", "Значение ожидания дня должно быть 1-65535\n"},
        {{"--timer", "1,2"}, "", "", "--timer: ожидается ДЕНЬ,ЗАДЕРЖКА,РАБОТА\n"},
        {{},
         "/dev/tevra-no-such-port",
         "",
         "Ошибка!! Ошибка открытия порта !\nОшибка открытия порта!\n"},
        {{}, "/dev/null", "", "Ошибка!! Ошибка инициализации порта !\nОшибка открытия порта!\n"},
        {{}, "", refused, "Файле не может быть загружен! " + refused + ": Ошибка файла\n"}};
    for (const auto& [options, port, file, err] : rows) {
        const ToolResult result = upload({"--dump-on-exit"}, options, port, file);
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, err);
        EXPECT_EQ(m_shown.rfind("Программа: шагов 0, старт блок нет\n0x0000: 00 00\n", 0), 0U);
    }
}

} // namespace
} // namespace tevra::test
