#include "ToolRun.h"
#include "files/ProgramFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace tevra::test {
namespace {

namespace fs = std::filesystem;

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "tevra-cli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        m_dir = name;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    std::string contentOf(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path m_dir;
};

TEST_F(FileCommandsTest, NewCheckShowExportImport) {
    ASSERT_EQ(runTool({"new", path("start.tvr")}).exitStatus, 0);
    const auto start = programFileBytes(ProgramImage::startProgram());
    EXPECT_EQ(contentOf("start.tvr"), std::string(start.begin(), start.end()));
    EXPECT_EQ(runTool({"check", path("start.tvr")}).out, "Файл в порядке: шагов 20\n");

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
    EXPECT_TRUE(shown.starts_with("Шагов: 3\nСтарт блок: да\nШаг 1: 1000 мс | 1: яркость 16; 2: "
                                  "диммер светлый 2560 мс; 3: вкл; 4: выкл; 5:"))
        << shown;
    EXPECT_NE(shown.find("\nШаг 2: 655350 мс | 1: выкл;"), std::string::npos);
    EXPECT_TRUE(shown.ends_with("; 16: режим 4, диммер 40960 мс\n"));

    // Standard input works as the JSON source too.
    const ToolResult exported = runTool({"export", path("modes.tvr")});
    EXPECT_EQ(runTool({"import", "-", path("copy.tvr")}, exported.out).exitStatus, 0);
    EXPECT_EQ(contentOf("copy.tvr"), contentOf("modes.tvr"));
}

TEST_F(FileCommandsTest, FailuresExitOneWithTheirReasonAndWriteNothing) {
    std::ofstream(path("wrong.tvr")) << std::string(361, '\0');
    std::ofstream(path("cells.json"))
        << R"({"startBlock": false, "steps": [{"time": 5, "cells": [0,0,0,300]}]})";
    ASSERT_EQ(runTool({"new", path("kept.tvr")}).exitStatus, 0);
    const std::string kept = contentOf("kept.tvr");
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"check", path("wrong.tvr")}, "Ошибка файла\n"},
        {{"show", path("wrong.tvr")}, "Ошибка файла\n"},
        {{"export", path("missing.tvr")}, "Не удалось открыть файл " + path("missing.tvr") + ": "},
        {{"new", path("missing/new.tvr")}, "Не удалось открыть файл " + path("missing/new.tvr")},
        {{"import", path("missing.json"), path("new.tvr")},
         "Не удалось открыть файл " + path("missing.json") + ": "},
        {{"import", path("cells.json"), path("kept.tvr")},
         path("cells.json") + ": steps[0].cells:"}};
    for (const auto& [args, reason] : rows) {
        const ToolResult result = runTool(args);
        EXPECT_EQ(result.exitStatus, 1) << args[0];
        EXPECT_EQ(result.err.rfind(reason, 0), 0U) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(contentOf("kept.tvr"), kept);
    EXPECT_FALSE(fs::exists(path("new.tvr")));
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"check"}}) {
        EXPECT_GT(runTool(args).exitStatus, 0);
    }
}

} // namespace
} // namespace tevra::test
